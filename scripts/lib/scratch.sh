# A scratch folder `work` and a `pids` array for the background processes a script starts;
# both are cleaned up however the script ends.
work=$(mktemp -d)
pids=()
cleanup_scratch() {
  local pid
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup_scratch EXIT
