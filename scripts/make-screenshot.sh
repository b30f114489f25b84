#!/usr/bin/env bash
# Makes docs/screenshot.png: the game in progress on a virtual screen. It starts the game as a
# new player with How To Play switched off, starts a game, enters two words found on the
# board, then picks out a third so that the red chain line and the word display show, and
# captures the window. The tiles are random, so each run makes a different but equivalent
# picture.
#
# The board is read from the window itself: the title board spells the game's name over and
# over, so every tile there has a known letter, and a tile of the game that looks exactly like
# one of them carries that letter. Letters the title lacks are known by their value where the
# value names one letter (V, Z, J, Qu), T and U by their shape; the rest are not used. Words
# come from the dictionary the game plays, listed with tsddump.
#
# Usage: bash scripts/make-screenshot.sh
#   PELLIN_GAME=/path/to/bin/pellinoraxis uses an existing build instead of building the
#   release preset (tsddump and the data files must be beside it).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out="$root/docs/screenshot.png"

# What the capture needs beyond the build: the same apt route as scripts/install-deps.sh.
source scripts/lib/packages.sh

if [ -n "${PELLIN_GAME:-}" ]; then
  game=$PELLIN_GAME
else
  bash scripts/install-deps.sh
  [ -f build/release/CMakeCache.txt ] || cmake --preset release >/dev/null
  cmake --build --preset release --target pellinoraxis tsddump gamedata
  game=$root/build/release/bin/pellinoraxis
fi
need_packages xvfb openbox xdotool x11-utils imagemagick python3 optipng
bin=$(dirname "$game")
[ -x "$game" ] && [ -x "$bin/tsddump" ] || { echo "make-screenshot: no game at $game" >&2; exit 1; }

source scripts/lib/scratch.sh
fail() {
  echo "make-screenshot: $*" >&2
  exit 1
}

# The board is read from window captures by scripts/screenshot-board.py.
source scripts/lib/virtual-screen.sh
start_virtual_screen 1024x768 || fail "the virtual screen did not come up"
use_fresh_home
# A new player whose settings say: the bundled dictionary, no How To Play page before a game.
config="$XDG_CONFIG_HOME"
mkdir -p "$config/Corvane Limited"
printf '[General]\nDictionary=Evaluation\nHowToPlay=0\nNickname=Anonymous\n' \
  >"$config/Corvane Limited/Pellinoraxis Evaluation 1.0.conf"
"$bin/tsddump" "$bin/Evaluation.tsd" >"$work/words.txt" 2>/dev/null ||
  fail "cannot list the words of $bin/Evaluation.tsd"

"$game" >"$work/game.log" 2>&1 &
game_pid=$!
pids+=("$game_pid")

main=""
for _ in $(seq 100); do
  main=$(xdotool search --onlyvisible --name '^Pellinoraxis$' 2>/dev/null | head -n 1) || true
  [ -n "$main" ] && break
  sleep 0.2
done
[ -n "$main" ] || fail "the game's window did not appear"

capture() { # file: the window's client area as it is now
  import -window "$main" -depth 8 "$1"
}
board() { # command arguments...: runs the board reader on a fresh capture
  capture "$work/now.ppm"
  python3 scripts/screenshot-board.py "$1" "$work/now.ppm" "$work/state" "${@:2}"
}
click_chain() { # reads "x y" lines; clicks each tile, slowly enough not to make a double-click
  local x y
  while read -r x y; do
    xdotool mousemove --window "$main" "$x" "$y" click 1
    sleep 0.45
  done
}

# The title board, once it is painted.
learned=""
for _ in $(seq 10); do
  sleep 1
  capture "$work/title.ppm"
  if python3 scripts/screenshot-board.py learn "$work/title.ppm" "$work/state" 2>"$work/learn.log"; then
    learned=yes
    break
  fi
done
[ -n "$learned" ] || fail "$(cat "$work/learn.log")"

# A press on the board between games starts one.
read -r x y < <(python3 - "$work/state" <<'PYTHON'
import pickle, sys
geo = pickle.load(open(sys.argv[1], "rb"))["geo"]
print(geo["left"] + 9 * geo["tile"] // 2, geo["bottom"] - 3 * geo["tile"])
PYTHON
)
xdotool mousemove --window "$main" "$x" "$y" click 1
sleep 4

# Two words entered make a score and a list of best words; a third is only picked out.
entered=0
for _ in $(seq 8); do
  [ "$entered" -ge 2 ] && break
  board word "$work/words.txt" 3 >"$work/word"
  if [ ! -s "$work/word" ]; then
    sleep 2
    continue
  fi
  echo "entering $(head -n 1 "$work/word")"
  tail -n +2 "$work/word" | click_chain
  xdotool key Return
  entered=$((entered + 1))
  sleep 3 # the tiles above fall into the holes
done

# A few more tiles come down meanwhile; a long word makes the better picture, so a short one
# is taken only when none longer turns up in a while.
sleep 4
picked=""
for attempt in $(seq 6); do
  shortest=5
  [ "$attempt" -eq 6 ] && shortest=3
  board word "$work/words.txt" "$shortest" >"$work/word"
  if [ -s "$work/word" ]; then
    echo "picking $(head -n 1 "$work/word")"
    tail -n +2 "$work/word" | click_chain
    picked=yes
    break
  fi
  sleep 2
done
if [ -z "$picked" ]; then
  echo "no word on the board; picking four tiles"
  board chain 4 | click_chain
fi
# The pointer out of the way, then the picture.
xdotool mousemove 1020 760
sleep 0.5
mkdir -p "$(dirname "$out")"
capture "$work/shot.png"
kill "$game_pid" 2>/dev/null || true

# Few colours suffice: flat fields, a few tile colours and anti-aliased text.
convert "$work/shot.png" -dither None -colors 64 "PNG8:$work/small.png"
optipng -quiet -o5 "$work/small.png"
cp "$work/small.png" "$out"
echo "make-screenshot: wrote $out ($(stat -c %s "$out") bytes)"
