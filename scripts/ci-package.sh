#!/usr/bin/env bash
# Builds the Debian package from the release build and checks it: what it holds, what it says
# about itself, that its desktop entry and software-centre description validate, and that the
# installed game, unpacked into a scratch root, starts on a virtual display, shows its main
# window, finds its data files through the command's link, and closes cleanly.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

rm -f build/release/pellinoraxis_*.deb
if ! (cd build/release && cpack -G DEB) >build/release/cpack.log 2>&1; then
  cat build/release/cpack.log >&2
  exit 1
fi
debs=(build/release/pellinoraxis_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || {
  echo "cpack made no single pellinoraxis package" >&2
  exit 1
}
deb=${debs[0]}

source scripts/lib/scratch.sh

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# --- Metadata ---------------------------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = pellinoraxis ] || fail "package name is '$(field Package)'"
[ "$(field Version)" = 1.0.6 ] || fail "version is '$(field Version)'"
[ "$(field Section)" = games ] || fail "section is '$(field Section)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture is '$(field Architecture)'"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
[ "$(field Description | wc -l)" -gt 2 ] || fail "no long description"
depends=$(field Depends)
tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//' >"$work/depends"
for needed in libqt6widgets6 libqt6multimedia6 qt6-qpa-plugins fonts-liberation libstdc++6; do
  grep -qxF "$needed" "$work/depends" || fail "Depends lacks $needed: $depends"
done

# --- Contents ---------------------------------------------------------------------------------
dpkg-deb -c "$deb" | awk '{ print $6 ($7 ? " " $7 " " $8 : "") }' >"$work/contents"
expect() { grep -qxF -- "$1" "$work/contents" || fail "package lacks $1"; }
id=example.corvane.Pellinoraxis
expect "./usr/bin/pellinoraxis -> ../lib/pellinoraxis/pellinoraxis"
expect ./usr/lib/pellinoraxis/pellinoraxis
expect ./usr/lib/pellinoraxis/pellinoraxis-sound.so
expect ./usr/bin/tsdmake
expect ./usr/bin/tsddump
for f in data/*.tsd data/*.letters data/*.wav data/*.hlp; do
  expect "./usr/lib/pellinoraxis/$(basename "$f")"
done
expect "./usr/share/applications/$id.desktop"
expect "./usr/share/metainfo/$id.metainfo.xml"
expect "./usr/share/icons/hicolor/scalable/apps/$id.svg"
for size in 16 24 32 48 64 128 256; do
  expect "./usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
done
expect ./usr/share/doc/pellinoraxis/copyright
# Nothing of the tests, benchmarks or build tree may ride along, nor anything outside /usr.
grep -Ev '^\./usr/(bin/(pellinoraxis|tsdmake|tsddump)( .*)?|lib/pellinoraxis/.*|share/(applications|metainfo|icons|doc)/.*|(bin|lib|share|share/doc|share/icons)?/?)$' \
  "$work/contents" >"$work/stray" || true
[ ! -s "$work/stray" ] || fail "unexpected files in the package: $(tr '\n' ' ' <"$work/stray")"

# --- Unpacked tree ----------------------------------------------------------------------------
root=$work/root
dpkg -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop entry does not validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  {
    cat "$work/appstream.log"
    fail "metainfo does not validate"
  }
for exe in usr/lib/pellinoraxis/pellinoraxis usr/lib/pellinoraxis/pellinoraxis-sound.so \
  usr/bin/tsdmake usr/bin/tsddump; do
  kind=$(file -b "$root/$exe")
  case $kind in
    ELF*"not stripped"*) fail "$exe is not stripped" ;;
    ELF*) ;;
    *) fail "$exe is not an ELF file: $kind" ;;
  esac
  if readelf -d "$root/$exe" | grep -Eq 'RPATH|RUNPATH'; then
    fail "$exe carries a library search path"
  fi
done

# The program starts without the audio libraries: only its sound module links them.
if readelf -d "$root/usr/lib/pellinoraxis/pellinoraxis" | grep -q 'NEEDED.*libQt6Multimedia'; then
  fail "the program links Qt Multimedia itself"
fi
readelf -d "$root/usr/lib/pellinoraxis/pellinoraxis-sound.so" | grep -q 'NEEDED.*libQt6Multimedia' ||
  fail "the sound module does not link Qt Multimedia"

# The tools work from the installed path: a round trip through a small dictionary.
printf 'cat\ndog\nquiz\n' >"$work/words.txt"
"$root/usr/bin/tsdmake" "$work/words.txt" "$work/words.tsd" >/dev/null 2>&1 || fail "installed tsdmake failed"
"$root/usr/bin/tsddump" "$work/words.tsd" 2>/dev/null | grep -q 'QUIZ' || fail "installed tsddump did not list the words"

# --- The installed game on a virtual display --------------------------------------------------
source scripts/lib/virtual-screen.sh
start_virtual_screen 1280x1024 || exit 1
use_fresh_home
home=$HOME
unset QT_QPA_PLATFORM LD_LIBRARY_PATH

"$root/usr/bin/pellinoraxis" >"$work/game.log" 2>&1 &
game=$!
pids+=("$game")
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pellinoraxis' 2>/dev/null | head -n1) || true
if [ -z "$window" ]; then
  fail "the installed game showed no main window"
else
  echo "main window: $(xdotool getwindowname "$window")"
  # The first key press makes the sound output ready: the module must be found in the
  # program's folder, through the command's link.
  xdotool windowactivate --sync "$window" key --clearmodifiers shift || true
  loaded=""
  for _ in $(seq 50); do
    if grep -q '/usr/lib/pellinoraxis/pellinoraxis-sound.so' "/proc/$game/maps" 2>/dev/null; then
      loaded=yes
      break
    fi
    sleep 0.1
  done
  [ -n "$loaded" ] || fail "the installed game did not load its sound module at the first key press"
  # Between games the close button ends the program; the window manager's Alt+F4 asks it to.
  xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4 || true
fi
status=timeout
for _ in $(seq 100); do
  if ! kill -0 "$game" 2>/dev/null; then
    status=0
    wait "$game" || status=$?
    break
  fi
  sleep 0.1
done
if [ "$status" != 0 ]; then
  cat "$work/game.log" >&2
  fail "the installed game did not close cleanly (exit: $status)"
fi

# The sound scheme registered on the first run names the wave files in the program's folder:
# proof that the game found its folder through the command's link.
scheme=$(cat "$home/config/AppEvents/Schemes.conf" 2>/dev/null || true)
grep -qF "$root/usr/lib/pellinoraxis/select.wav" <<<"$scheme" ||
  fail "the game did not take its folder from the resolved executable"

size=$(stat -c %s "$deb")
if [ "$failures" -ne 0 ]; then
  echo "$deb: $failures check(s) failed" >&2
  exit 1
fi
echo "$deb: $((size / 1024)) KiB, contents, metadata, desktop entry, metainfo and a start of the installed game checked"
