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
need_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}

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

work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "make-screenshot: $*" >&2
  exit 1
}

cat >"$work/board.py" <<'PYTHON'
"""Reads the game's board from a window capture (binary PPM) and finds words on it.

  learn TITLE.ppm STATE      keep the board's geometry and a picture of each title letter
  word GAME.ppm STATE WORDS MIN
                             the best word of at least MIN letters on the resting tiles: a
                             line "WORD score", then the client point of each tile, "x y"
  chain GAME.ppm STATE N     the points of any chain of N resting tiles
"""
import pickle
import sys

ROWS, CELLS = 12, 9
TITLE = "PELLINORAXIS"
# A tile's colour deepens with its value, and these values belong to one letter each.
BY_VALUE = {5: "V", 6: "Z", 7: "J", 9: "QU"}


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit("board.py: %s is not an 8-bit binary PPM" % path)
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:pos + 1 + 3 * width * height]


class Picture:
    def __init__(self, path):
        self.w, self.h, self.px = read_ppm(path)

    def at(self, x, y):
        i = 3 * (y * self.w + x)
        return tuple(self.px[i:i + 3])

    def patch(self, x0, y0, size):
        return b"".join(self.px[3 * (y * self.w + x0):3 * (y * self.w + x0 + size)]
                        for y in range(y0, y0 + size))


def find_board(pic):
    """The board is the one large field of a strong green; its extent gives the tile size."""
    counts = {}
    for y in range(0, pic.h, 3):
        for x in range(0, pic.w, 3):
            r, g, b = pic.at(x, y)
            if g > r + 40 and g > b + 40:
                counts[(r, g, b)] = counts.get((r, g, b), 0) + 1
    if not counts:
        sys.exit("board.py: no board in the picture")
    green = max(counts, key=counts.get)
    xs, ys = [], []
    for y in range(pic.h):
        for x in range(pic.w):
            if pic.at(x, y) == green:
                xs.append(x)
                ys.append(y)
    left, right, top, bottom = min(xs), max(xs) + 1, min(ys), max(ys) + 1
    # (2 * CELLS + 1) half tiles wide; one tile plus a row pitch per further row high.
    tile = round((right - left) / (2 * CELLS + 1)) * 2
    pitch = tile * 866 // 1000
    if (2 * CELLS + 1) * tile // 2 != right - left or tile + (ROWS - 1) * pitch != bottom - top:
        sys.exit("board.py: the green field %dx%d is not a board" % (right - left, bottom - top))
    return {"green": green, "left": left, "bottom": bottom, "tile": tile, "pitch": pitch}


def cells(geo):
    """Every cell as (row, slot, centre x, centre y), row 0 at the bottom."""
    t = geo["tile"]
    for row in range(ROWS):
        for slot in range(row % 2, 2 * CELLS, 2):
            left = geo["left"] + slot * t // 2
            top = geo["bottom"] - row * geo["pitch"] - t
            yield row, slot, left + t // 2, top + t // 2


def patch_of(pic, geo, cx, cy):
    size = geo["tile"] * 3 // 5
    return pic.patch(cx - size // 2, cy - size // 2, size)


def distance(a, b):
    return sum(abs(p - q) for p, q in zip(a, b)) / len(a)


def dark(p, k):
    return p[k] + p[k + 1] + p[k + 2] < 300


def value_of(pic, geo, cx, cy):
    """The value the disc's fill colour stands for, or 0 where there is no disc."""
    r, g, b = pic.at(cx - geo["tile"] * 3 // 10, cy)
    if (r, g, b) == geo["green"] or r < 240 or g < 240:
        return 0
    return min(9, round((255 - b) / 32) + 1)


def learn(title_path, state_path):
    pic = Picture(title_path)
    geo = find_board(pic)
    # The title's letters: top row first, alternately left to right and right to left.
    letters, k = {}, 0
    for row in range(ROWS - 1, -1, -1):
        order = range(CELLS) if (ROWS - 1 - row) % 2 == 0 else range(CELLS - 1, -1, -1)
        for column in order:
            letters[(row, 2 * column + row % 2)] = TITLE[k % len(TITLE)]
            k += 1
    templates = {}
    for row, slot, cx, cy in cells(geo):
        letter = letters[(row, slot)]
        seen = patch_of(pic, geo, cx, cy)
        if letter not in templates:
            templates[letter] = seen
        elif distance(seen, templates[letter]) > 2:
            # Equal letters look alike wherever they are, or the board was not found.
            sys.exit("board.py: the title's %s tiles differ; the board was not found" % letter)
    with open(state_path, "wb") as f:
        pickle.dump({"geo": geo, "templates": templates}, f)


def t_or_u(seen, templates):
    """A 2-point letter that no title letter matches is T or U. I's stroke (less what E
    shares with it, the value among others) is where T has its stem and U has a gap."""
    i, e = templates["I"], templates["E"]
    stem = [k for k in range(0, len(i), 3) if dark(i, k) and not dark(e, k)]
    if not stem:
        return None
    share = sum(dark(seen, k) for k in stem) / len(stem)
    return "T" if share > 0.7 else "U" if share < 0.3 else None


def read_board(game_path, state):
    """The resting tiles as {(row, slot): (letter or None, value, x, y)}."""
    pic = Picture(game_path)
    geo, templates = state["geo"], state["templates"]
    found = {}
    for row, slot, cx, cy in cells(geo):
        value = value_of(pic, geo, cx, cy)
        if value == 0:
            continue
        seen = patch_of(pic, geo, cx, cy)
        best, letter = min((distance(seen, p), l) for l, p in templates.items())
        if best >= 2:
            letter = t_or_u(seen, templates) if value == 2 else BY_VALUE.get(value)
        found[(row, slot)] = (letter, value, cx, cy)
    # A tile rests when every cell diagonally below it on the board holds a resting tile; any
    # other may still fall while the pointer travels.
    resting = {}
    for row, slot, _, _ in cells(geo):
        below = [(row - 1, s) for s in (slot - 1, slot + 1) if 0 <= s < 2 * CELLS]
        if (row, slot) in found and (row == 0 or all(b in resting for b in below)):
            resting[(row, slot)] = found[(row, slot)]
    return resting


def neighbours(cell):
    row, slot = cell
    return [(row, slot - 2), (row, slot + 2), (row - 1, slot - 1), (row - 1, slot + 1),
            (row + 1, slot - 1), (row + 1, slot + 1)]


def load_words(path):
    words, prefixes = set(), set()
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            if line.startswith("# "):
                continue
            key = line.split("\t", 1)[0].strip()
            if key.isalpha():
                words.add(key)
                prefixes.update(key[:n] for n in range(1, len(key)))
    return words, prefixes


def best_word(tiles, words, prefixes, shortest):
    best = None

    def walk(path, text, score):
        nonlocal best
        if len(text) >= shortest and text in words and (best is None or (len(text), score) > best[0]):
            best = ((len(text), score), text, list(path))
        if text not in prefixes:
            return
        for n in neighbours(path[-1]):
            if n in tiles and n not in path and tiles[n][0]:
                path.append(n)
                walk(path, text + tiles[n][0], score * tiles[n][1])
                path.pop()

    for cell, (letter, value, _, _) in tiles.items():
        if letter:
            walk([cell], letter, value)
    return best


def any_chain(tiles, length):
    def walk(path):
        if len(path) == length:
            return path
        for n in neighbours(path[-1]):
            if n in tiles and n not in path:
                found = walk(path + [n])
                if found:
                    return found
        return None

    for cell in sorted(tiles):
        found = walk([cell])
        if found:
            return found
    return None


def main(argv):
    if len(argv) == 3 and argv[0] == "learn":
        learn(argv[1], argv[2])
        return
    if len(argv) in (4, 5) and argv[0] in ("word", "chain"):
        with open(argv[2], "rb") as f:
            tiles = read_board(argv[1], pickle.load(f))
        if argv[0] == "chain":
            for cell in any_chain(tiles, int(argv[3])) or []:
                print(tiles[cell][2], tiles[cell][3])
            return
        words, prefixes = load_words(argv[3])
        best = best_word(tiles, words, prefixes, int(argv[4]) if len(argv) == 5 else 3)
        if best:
            (_, score), text, path = best
            print(text, score)
            for cell in path:
                print(tiles[cell][2], tiles[cell][3])
        return
    sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
PYTHON

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
  python3 "$work/board.py" "$1" "$work/now.ppm" "$work/state" "${@:2}"
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
  if python3 "$work/board.py" learn "$work/title.ppm" "$work/state" 2>"$work/learn.log"; then
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
