#!/usr/bin/env bash
# Regenerates the shipped dictionaries from Debian's American English word lists:
#   data/Evaluation.tsd  from wamerican        (version 0 layout, the default dictionary)
#   data/English.tsd     from wamerican-large  (version 1 layout)
# Words of 2 to 31 letters a to z only: no capitals (proper nouns), no apostrophes, no accents,
# shown as written. The output depends only on the word lists, so running this again with the
# same package versions reproduces the files byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."

small=/usr/share/dict/american-english
large=/usr/share/dict/american-english-large

source scripts/lib/packages.sh
need_packages wamerican wamerican-large

build=build/make-dictionaries
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELLIN_BUILD_GUI=OFF \
  -DPELLIN_BUILD_TESTS=OFF -DPELLIN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target tsdmake >/dev/null
tsdmake="$build/bin/tsdmake"

version_of() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo unknown; }

make_one() { # list version description output
  local tmp
  tmp=$(mktemp)
  LC_ALL=C grep -E '^[a-z]{2,31}$' "$1" >"$tmp"
  "$tsdmake" -v "$2" -d "$3" "$tmp" "$4"
  rm -f "$tmp"
}

make_one "$small" 0 "American English, $(version_of wamerican) word list" data/Evaluation.tsd
make_one "$large" 1 "American English, large $(version_of wamerican-large) word list" data/English.tsd
ls -l data/Evaluation.tsd data/English.tsd
