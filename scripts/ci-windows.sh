#!/usr/bin/env bash
# Cross-builds the dictionary core, the model, tsdmake, tsddump and their tests for 64-bit
# Windows with mingw-w64, runs every test under Wine in a throw-away prefix, and makes and lists
# a small dictionary with the Windows tools. Any failing test or a listing that differs fails the
# run. Qt is not cross-built: the game's windows are not part of this check.
set -euo pipefail
cd "$(dirname "$0")/.."

# The cross compiler, Wine and GoogleTest's sources; asked for only when missing, because they
# are not needed for everyday work (scripts/install-deps.sh leaves them out).
source scripts/lib/packages.sh
need_packages g++-mingw-w64-x86-64-posix wine64 googletest

# Debian keeps the 64-bit loader outside PATH unless the wine package's wrapper is installed.
wine=$(command -v wine64 || true)
[ -n "$wine" ] || { [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64; } || true
[ -n "$wine" ] || wine=$(command -v wine || true)
if [ -z "$wine" ]; then
  echo "ci-windows: no Wine loader found" >&2
  exit 1
fi
wineserver=$(command -v wineserver || true)
[ -n "$wineserver" ] || wineserver=/usr/lib/wine/wineserver64

cmake --preset windows >/dev/null
cmake --build --preset windows

build=build/windows
bin=$build/bin

# A fresh prefix for every run, so no state from an earlier run (or from the user's own Wine)
# can make a test pass. No display is needed: the tests and tools are console programs.
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
rm -rf "$WINEPREFIX"
# The prefix's own server goes when the run ends, whatever the outcome.
trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT
"$wine" wineboot -i >/dev/null 2>&1

failed=0
for exe in "$bin"/*_tests.exe; do
  name=$(basename "$exe" .exe)
  log="$build/$name.log"
  # Each test runs from its own folder, as it would on Windows.
  if (cd "$bin" && timeout 300 "$wine" "./$name.exe") >"$log" 2>&1; then
    printf '%-20s %s\n' "$name" "$(tr -d '\r' <"$log" | grep -E '^\[  PASSED  \]' | tail -n 1)"
  else
    tr -d '\r' <"$log" | tail -n 60
    echo "$name FAILED under Wine (full output: $log)" >&2
    failed=1
  fi
done

# Round trip: a word list with a skipped line, an accented word and extra text, made into a
# dictionary and listed by the Windows tools. Where the native tools were built as well, the
# two dictionary files must be byte for byte the same.
work=$build/roundtrip
rm -rf "$work"
mkdir -p "$work"
printf 'cat\r\n\xc3\xa9t\xc3\xa9\nice cream\ndog\tfriend\nquiz\nz\n' >"$work/words.txt"
printf '%s\n' '# version 1' '# length classes 9' '# words of 1 letters 1' '# words of 3 letters 3' \
  '# words of 4 letters 1' '# words of 8 letters 1' '# words of 2 to 31 letters 5' \
  '# description Round trip' >"$work/expected.txt"
printf 'CAT\tcat\nETE\t\xc3\xa9t\xc3\xa9\nDOG\tdog\nQUIZ\tquiz\n' >>"$work/expected.txt"
if ! (cd "$work" && "$wine" ../bin/tsdmake.exe -v 1 -d "Round trip" words.txt words.tsd \
  >make.log 2>&1 && "$wine" ../bin/tsddump.exe words.tsd >dump.raw 2>dump.err); then
  tr -d '\r' <"$work/make.log"
  tr -d '\r' <"$work/dump.err" 2>/dev/null || true
  echo "tsdmake.exe / tsddump.exe round trip FAILED" >&2
  failed=1
else
  tr -d '\r' <"$work/dump.raw" >"$work/dump.txt"
  if diff -u "$work/expected.txt" "$work/dump.txt"; then
    printf '%-20s %s\n' "round trip" "tsdmake.exe -> tsddump.exe: $(grep -c $'\t' "$work/dump.txt") words listed"
  else
    echo "tsddump.exe listed something else than the list tsdmake.exe was given" >&2
    failed=1
  fi
  native=build/release/bin/tsdmake
  if [ -x "$native" ]; then
    "$native" -v 1 -d "Round trip" "$work/words.txt" "$work/native.tsd" 2>/dev/null
    if cmp -s "$work/words.tsd" "$work/native.tsd"; then
      printf '%-20s %s\n' "round trip" "the Windows and the native dictionary files are identical"
    else
      echo "tsdmake.exe and the native tsdmake made different files from one list" >&2
      failed=1
    fi
  fi
fi

exit "$failed"
