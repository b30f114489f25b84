#!/usr/bin/env bash
# Builds the dictionary fuzzer (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs it for about a minute, starting from small dictionaries made by tsdmake. Any crash,
# leak or sanitizer report fails the run and leaves its input under fuzz/corpus-work/.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_dictionary tsdmake

work=fuzz/corpus-work
rm -rf "$work"
mkdir -p "$work/seeds" "$work/run"
tsdmake=build/fuzz/bin/tsdmake

printf 'cat\ndog\nquiz\ncafe\n' >"$work/few.txt"
printf 'co-op\tshop\n\xc3\xa9t\xc3\xa9\nice cream\nab\nabcdefghijklmnopqrstuvwxyzabcde\n' >"$work/mixed.txt"
printf 'a\nzz\nyyy\nxxxx\nwwwww\n' >"$work/lengths.txt"
for list in few mixed lengths; do
  for version in 0 1; do
    "$tsdmake" -v "$version" -d "$list seed" "$work/$list.txt" "$work/seeds/$list-v$version.tsd" 2>/dev/null
  done
done

# libFuzzer reports every new input it finds; keep that in a log and show it only on failure.
log="$work/fuzz.log"
if ! build/fuzz/bin/fuzz_dictionary -max_total_time=60 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$work/" -print_final_stats=1 "$work/run" "$work/seeds" >"$log" 2>&1; then
  tail -n 60 "$log"
  echo "The dictionary fuzzer found a failing input: see $work/" >&2
  exit 1
fi
grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$log" || true
