#!/usr/bin/env python3
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
