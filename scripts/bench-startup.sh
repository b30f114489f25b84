#!/usr/bin/env bash
# Start-up figures: the time from process start to the main window being on the screen (when the
# window manager marked it shown, by the X server's clock; see bench_wait_mapped), and
# the resident memory a second after start, for the game and for a minimal Qt window, on a
# virtual screen (Xvfb with openbox). Runs each program once to warm the caches, then RUNS
# times each, interleaved, and prints the medians. Figures, not a test: nothing fails on them.
#
#   scripts/bench-startup.sh [BUILD_DIR]     (default build/release; RUNS=10 by default)
#
# BUSY=1 keeps one processor busy with a spinning loop throughout, as a machine doing other work
# would; the game's extra work before its window appears then weighs as it does for a player
# whose machine is not idle.
#
# The build folder needs the targets pellinoraxis, gamedata, bench_minimal_window and
# bench_wait_mapped. The game runs with a temporary HOME, so the player's settings, high scores
# and sound scheme are never touched.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build/release}"
runs="${RUNS:-10}"
bin="$build/bin"
game="$bin/pellinoraxis"
minimal="$bin/bench_minimal_window"
waiter="$bin/bench_wait_mapped"
for f in "$game" "$minimal" "$waiter"; do
  if [ ! -x "$f" ]; then
    echo "bench-startup: $f is missing; build pellinoraxis, gamedata, bench_minimal_window and bench_wait_mapped" >&2
    exit 1
  fi
done

source scripts/lib/scratch.sh
if [ "${BUSY:-0}" = 1 ]; then
  # A loop in a shell of its own, so that killing it at the end leaves nothing spinning.
  sh -c 'while :; do :; done' &
  pids+=($!)
fi

source scripts/lib/virtual-screen.sh
start_virtual_screen 1280x1024 || exit 1
use_fresh_home
export QT_QPA_PLATFORM=xcb

# One start: prints "milliseconds-to-mapped resident-kB".
measure() {
  local program=$1 start mapped pid rss
  start=$(date +%s%N)
  "$program" >/dev/null 2>>"$work/stderr" &
  pid=$!
  # The waiter prints when the window went on the screen by the X server's clock.
  if ! mapped=$("$waiter" "$pid"); then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "bench-startup: $program showed no window" >&2
    exit 1
  fi
  # The memory a second after start, when the program has settled.
  local left=$((1000000000 - ($(date +%s%N) - start)))
  if [ "$left" -gt 0 ]; then
    sleep "$(printf '0.%09d' "$left")"
  fi
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "$(((mapped - start) / 1000000)) $rss"
}

median() { # numbers on standard input
  sort -n | awk '{ v[NR] = $1 } END {
    if (NR % 2) print v[(NR + 1) / 2]; else printf "%g\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The first start of the game registers its sound scheme (a player's first run); both first
# starts warm the file caches and are not counted.
first=$(measure "$game")
measure "$minimal" >/dev/null

: >"$work/game" >"$work/minimal"
for i in $(seq "$runs"); do
  measure "$game" >>"$work/game"
  measure "$minimal" >>"$work/minimal"
done

game_ms=$(cut -d' ' -f1 "$work/game" | median)
game_kb=$(cut -d' ' -f2 "$work/game" | median)
min_ms=$(cut -d' ' -f1 "$work/minimal" | median)
min_kb=$(cut -d' ' -f2 "$work/minimal" | median)
echo "runs: $runs each, interleaved; medians$([ "${BUSY:-0}" = 1 ] && echo "; one processor kept busy")"
printf '%-16s %8s ms to mapped   %8s kB resident after 1 s\n' \
  "game" "$game_ms" "$game_kb" "minimal window" "$min_ms" "$min_kb"
awk -v g="$game_ms" -v m="$min_ms" 'BEGIN { printf "game / minimal: %.2f (target at most 1.20)\n", g / m }'
# Each game start is followed by a minimal start, so the two share whatever else the machine
# was doing; the median of these pairs' ratios is the steadier figure on a busy machine.
pair_ratio=$(paste -d' ' <(cut -d' ' -f1 "$work/game") <(cut -d' ' -f1 "$work/minimal") |
  awk '{ printf "%.4f\n", $1 / $2 }' | median)
printf 'median of the paired ratios: %.2f\n' "$pair_ratio"
echo "first start of the game (registers the sound scheme): ${first%% *} ms"
echo "all game starts (ms): $(cut -d' ' -f1 "$work/game" | tr '\n' ' ')"
echo "all minimal starts (ms): $(cut -d' ' -f1 "$work/minimal" | tr '\n' ' ')"
