#!/usr/bin/env bash
# How much of the dictionary readers the committed fuzz corpus reaches. Builds the dictionary
# fuzzer for clang's source-based coverage (no sanitizers, whose checks would add branches of
# their own), runs every input of the corpus once, and reports per file, for the header loader
# and cache (tsdictionary.cpp), the word reader (inputengine.cpp) and the word index (words.cpp):
#   regions, branches and lines  from llvm-cov (source-based coverage),
#   edges                        from libFuzzer's own count (-print_coverage=1) of the same run.
# Usage: scripts/fuzz-coverage.sh [CORPUS_FOLDER] [--min PERCENT]
# With --min, exits 1 when the branches or edges of any of the three files fall below PERCENT.
set -euo pipefail
cd "$(dirname "$0")/.."

corpus=fuzz/corpus/dictionary
min=
while [ $# -gt 0 ]; do
  case "$1" in
    --min) min=$2; shift 2 ;;
    *) corpus=$1; shift ;;
  esac
done

source scripts/lib/packages.sh
need_packages clang libclang-rt-14-dev llvm-14

build=build/fuzz-coverage
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DPELLIN_BUILD_FUZZ=ON -DPELLIN_FUZZ_COVERAGE=ON -DPELLIN_BUILD_GUI=OFF \
  -DPELLIN_BUILD_TESTS=OFF -DPELLIN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_dictionary >/dev/null

out="$build/coverage"
rm -rf "$out"
mkdir -p "$out"
files=(dictionary/tsdictionary.cpp dictionary/inputengine.cpp model/words.cpp)

# -runs=0 runs each input of the corpus once and mutates nothing.
LLVM_PROFILE_FILE="$out/run.profraw" "$build/bin/fuzz_dictionary" -runs=0 -print_coverage=1 \
  -max_len=1048576 "$corpus" >"$out/run.log" 2>&1
llvm-profdata-14 merge -sparse "$out/run.profraw" -o "$out/run.profdata"
llvm-cov-14 report "$build/bin/fuzz_dictionary" -instr-profile="$out/run.profdata" \
  "${files[@]/#/$PWD/}" >"$out/report.txt"

inputs=$(find "$corpus" -type f | wc -l)
bytes=$(du -sb "$corpus" | cut -f1)
echo "Corpus $corpus: $inputs inputs, $bytes bytes"
printf '%-30s %9s %9s %9s %16s\n' file regions branches lines "edges (libFuzzer)"
status=0
for file in "${files[@]}"; do
  # llvm-cov's columns: regions, missed, cover, functions, missed, executed, lines, missed,
  # cover, branches, missed, cover.
  read -r regions branches lines < <(awk -v f="$file" -v p="$PWD/$file" \
    '$1 == f || $1 == p { print $4, $13, $10 }' "$out/report.txt")
  # libFuzzer's per-function lines: "COVERED_FUNC: hits: H edges: X/Y name file:line".
  edges=$(awk -v f="$PWD/$file:" '
    /^(UN)?COVERED_FUNC:/ && index($NF, f) == 1 { split($5, e, "/"); x += e[1]; y += e[2] }
    END { if (y > 0) printf "%d/%d %.2f%%", x, y, 100 * x / y; else print "none" }' "$out/run.log")
  printf '%-30s %9s %9s %9s %16s\n' "$file" "$regions" "$branches" "$lines" "$edges"
  if [ -n "$min" ]; then
    for figure in "${branches%\%}" "$(echo "$edges" | awk '{ sub("%", "", $2); print $2 }')"; do
      if awk -v a="$figure" -v b="$min" 'BEGIN { exit !(a + 0 < b + 0) }'; then
        status=1
      fi
    done
  fi
done
echo "Full report: $out/report.txt; llvm-cov-14 show $build/bin/fuzz_dictionary" \
  "-instr-profile=$out/run.profdata FILE shows the lines not reached."
if [ "$status" -ne 0 ]; then
  echo "Below $min% of branches or edges in at least one file." >&2
fi
exit "$status"
