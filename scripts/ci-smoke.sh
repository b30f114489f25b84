#!/usr/bin/env bash
# Plays the built game briefly on a virtual screen: start-up, a click on the board that starts
# a game behind the How To Play page, a few seconds of play, the Quit button answered Yes, and
# closing the window between games. Fails when the program does not exit with 0 in time or
# writes anything to standard error beyond Qt's own notices. Every wait is bounded.
set -euo pipefail
cd "$(dirname "$0")/.."

game="${PELLIN_SMOKE_GAME:-$PWD/build/release/bin/pellinoraxis}"
if [ ! -x "$game" ]; then
  echo "ci-smoke: $game is missing; build the release preset first" >&2
  exit 1
fi

source scripts/lib/scratch.sh

fail() {
  echo "ci-smoke: $*" >&2
  if [ -s "$work/stderr" ]; then
    echo "--- the game's standard error ---" >&2
    cat "$work/stderr" >&2
  fi
  exit 1
}

source scripts/lib/virtual-screen.sh
start_virtual_screen 1024x768 || fail "the virtual screen did not come up"
use_fresh_home

"$game" >"$work/stdout" 2>"$work/stderr" &
game_pid=$!
pids+=("$game_pid")

find_window() { # name pattern; prints the first visible match, waiting up to 20 s
  # A search can fail outright when a window vanishes while it looks (How To Play closing,
  # say), so it is asked again rather than trusted to wait by itself.
  local found=""
  for _ in $(seq 100); do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$found" ] && break
    sleep 0.2
  done
  echo "$found"
}

main=$(find_window '^Pellinoraxis$')
[ -n "$main" ] || fail "the main window did not appear"

# A press on the board starts a game; How To Play shows first, and Return is its Start Game.
xdotool mousemove --window "$main" 200 250 click 1
howto=$(find_window '^How To Play$')
[ -n "$howto" ] || fail "How To Play did not appear"
xdotool windowactivate "$howto" 2>/dev/null || true
sleep 0.5
xdotool key Return
gone=""
for _ in $(seq 100); do
  if ! xdotool search --onlyvisible --name '^How To Play$' >/dev/null 2>&1; then
    gone=yes
    break
  fi
  sleep 0.2
done
[ -n "$gone" ] || fail "How To Play did not close for the game"
sleep 3

# Quit (client 503, 21), then Yes, the question's default button.
xdotool mousemove --window "$main" 503 21 click 1
question=$(find_window '^Pellinoraxis$')
[ -n "$question" ] || fail "the quit question did not appear"
xdotool windowactivate "$question" 2>/dev/null || true
sleep 0.5
xdotool key Return
sleep 1

# Between games the window closes and the program ends.
xdotool windowactivate "$main" 2>/dev/null || true
sleep 0.5
xdotool key alt+F4
status=""
for _ in $(seq 100); do
  if ! kill -0 "$game_pid" 2>/dev/null; then
    set +e
    wait "$game_pid"
    status=$?
    set -e
    break
  fi
  sleep 0.1
done
[ -n "$status" ] || fail "the program did not end within 10 s of closing its window"
[ "$status" -eq 0 ] || fail "the program ended with status $status"

# Qt's own notices (logging categories, missing runtime folders, no sound server) are allowed.
unexpected=$(grep -v -E '^(qt\.|QStandardPaths|PulseAudioService|This plugin does not support)' \
  "$work/stderr" || true)
[ -z "$unexpected" ] || fail "unexpected output on standard error"
echo "ci-smoke: the game started, played, quit and closed cleanly"
