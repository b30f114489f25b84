#!/usr/bin/env bash
# Builds the dictionary fuzzer (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs it for about a minute, starting from the committed corpus (fuzz/corpus/dictionary) and
# the seed dictionaries fuzz_seeds writes. New inputs go to a scratch folder, so the committed
# corpus stays as it is. Any crash, leak or sanitizer report fails the run and leaves its input
# under fuzz/corpus-work/.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_dictionary fuzz_seeds

work=fuzz/corpus-work
rm -rf "$work"
mkdir -p "$work/seeds" "$work/run"
build/fuzz/bin/fuzz_seeds "$work/seeds"

# libFuzzer reports every new input it finds; keep that in a log and show it only on failure.
log="$work/fuzz.log"
if ! build/fuzz/bin/fuzz_dictionary -max_total_time=60 -max_len=32768 -timeout=10 \
  -rss_limit_mb=2048 -dict=fuzz/tsd.dict -artifact_prefix="$work/" -print_final_stats=1 \
  "$work/run" fuzz/corpus/dictionary "$work/seeds" >"$log" 2>&1; then
  tail -n 60 "$log"
  echo "The dictionary fuzzer found a failing input: see $work/" >&2
  exit 1
fi
grep -E '^(#[0-9]+[[:space:]]+INITED|Done|stat::number_of_executed_units|stat::new_units_added)' "$log" ||
  true
