#!/usr/bin/env bash
# Grows the committed fuzz corpus: runs the dictionary fuzzer from the corpus and the seed
# dictionaries for a while, then keeps the smallest set of inputs that reaches everything they
# reached together (-merge=1) as the new fuzz/corpus/dictionary. Commit the result.
# Usage: scripts/fuzz-corpus.sh [SECONDS] (default 600); JOBS=N runs N fuzzers at once.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
jobs=${JOBS:-1}
corpus=fuzz/corpus/dictionary

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_dictionary fuzz_seeds

work=fuzz/corpus-work
rm -rf "$work"
mkdir -p "$work/seeds" "$work/grown" "$work/merged" "$corpus"
build/fuzz/bin/fuzz_seeds "$work/seeds"
cp "$corpus"/* "$work/grown/" 2>/dev/null || true

fuzzer=build/fuzz/bin/fuzz_dictionary
options=(-max_len=32768 -timeout=10 -rss_limit_mb=2048 -dict=fuzz/tsd.dict
  -artifact_prefix="$work/")
parallel=()
[ "$jobs" -gt 1 ] && parallel=(-fork="$jobs")
if ! "$fuzzer" "${options[@]}" "${parallel[@]}" -max_total_time="$seconds" -print_final_stats=1 \
  "$work/grown" "$work/seeds" >"$work/fuzz.log" 2>&1; then
  tail -n 60 "$work/fuzz.log"
  echo "The dictionary fuzzer found a failing input: see $work/" >&2
  exit 1
fi
"$fuzzer" "${options[@]}" -merge=1 "$work/merged" "$work/grown" "$work/seeds" \
  >"$work/merge.log" 2>&1
rm -rf "$corpus"
mv "$work/merged" "$corpus"
echo "$corpus: $(find "$corpus" -type f | wc -l) inputs, $(du -sh "$corpus" | cut -f1)"
