#!/usr/bin/env bash
# The game's windows under a real window manager (Xvfb with openbox), as a player meets them:
#  1. Alt+S starts a game; How To Play comes up in front, and stays in front of the main window
#     after a click on the (disabled) main window, and its Return still starts the game.
#  2. F1 during a game: the help window and the pause question both stand above the main
#     window, and the help can be closed while the question waits.
#  3. A dialog moved and closed comes back where it was left, also after a restart.
# The stacking order is read from the root window's _NET_CLIENT_LIST_STACKING. Every wait is
# bounded; a failure prints what went wrong and the game's standard error.
set -euo pipefail
cd "$(dirname "$0")/.."

game="${PELLIN_DESKTOP_GAME:-$PWD/build/release/bin/pellinoraxis}"
if [ ! -x "$game" ]; then
  echo "ci-desktop: $game is missing; build the release preset first" >&2
  exit 1
fi

source scripts/lib/scratch.sh

fail() {
  echo "ci-desktop: $*" >&2
  xprop -root _NET_CLIENT_LIST_STACKING >&2 || true
  if [ -s "$work/stderr" ]; then
    echo "--- the game's standard error ---" >&2
    cat "$work/stderr" >&2
  fi
  exit 1
}

source scripts/lib/virtual-screen.sh
start_virtual_screen 1280x1024 || fail "the virtual screen did not come up"
use_fresh_home
settings="$XDG_CONFIG_HOME/Corvane Limited/Pellinoraxis Evaluation 1.0.conf"

source scripts/lib/desktop.sh

# Where a window stands in the stacking order, bottom first (-1: not managed).
stack_position() {
  local ids i=0 id
  ids=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
  for id in $ids; do
    if [ $((id)) -eq $(($1)) ]; then
      echo "$i"
      return
    fi
    i=$((i + 1))
  done
  echo -1
}

expect_above() { # window, window below it, what it means
  local upper lower
  upper=$(stack_position "$1")
  lower=$(stack_position "$2")
  [ "$upper" -gt "$lower" ] || fail "$3 (stacking positions $upper and $lower)"
}

# --- 1. Alt+S, and How To Play in front of the disabled main window ---
start_game_program
xdotool key alt+s
howto=$(find_window '^How To Play$')
[ -n "$howto" ] || fail "Alt+S did not start a game (no How To Play page)"
sleep 1 # the dictionary loads behind the page
# Clicks on the board and on the score, and the window manager asked to activate the main window.
xdotool mousemove --window "$main" 300 300 click 1
xdotool mousemove --window "$main" 50 20 click 1
xdotool windowactivate "$main" 2>/dev/null || true
sleep 0.5
expect_above "$howto" "$main" "a click on the main window buried How To Play"
xdotool windowactivate --sync "$howto" 2>/dev/null || true
xdotool key Return
wait_gone "$howto" || fail "How To Play's Start Game did not start the game"
sleep 1

# --- 2. F1 during the game: the help and the question above the main window ---
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool key F1
help=$(find_window '^Pellinoraxis Help$')
[ -n "$help" ] || fail "F1 during a game showed no help"
question=""
for candidate in $(xdotool search --onlyvisible --name '^Pellinoraxis$' 2>/dev/null); do
  [ "$candidate" != "$main" ] && question=$candidate
done
[ -n "$question" ] || fail "F1 during a game did not pause it with a question"
sleep 0.5
expect_above "$help" "$main" "the help opened behind the main window"
expect_above "$question" "$main" "the pause question stands behind the main window"
# The help is usable while the question waits: it closes like any window.
xdotool windowactivate --sync "$help" 2>/dev/null || true
xdotool key alt+F4
wait_gone "$help" || fail "the help window could not be used while the question waited"
xdotool windowactivate --sync "$question" 2>/dev/null || true
xdotool key alt+n # No ends the game
wait_gone "$question" || fail "the pause question did not take its answer"
sleep 0.5
scores=$(xdotool search --onlyvisible --name '^Game Ended$' 2>/dev/null | head -n 1) || true
if [ -n "$scores" ]; then
  xdotool windowactivate --sync "$scores" 2>/dev/null || true
  xdotool key Escape
  wait_gone "$scores" || fail "the Game Ended window did not close"
fi

# --- 3. A dialog's placement kept across a close and a restart ---
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool key alt+a
about=$(find_window '^About Pellinoraxis$')
[ -n "$about" ] || fail "Alt+A did not open the About box"
xdotool windowmove --sync "$about" 200 150
sleep 0.5
moved=$(xdotool getwindowgeometry "$about" | sed -n 's/.*Position: \([0-9]*,[0-9]*\).*/\1/p')
xdotool windowactivate --sync "$about" 2>/dev/null || true
xdotool key Return
wait_gone "$about" || fail "the About box did not close"
grep -q '^AboutBoxLeft=' "$settings" || fail "the About box's place was not stored as it closed"
close_game_program

start_game_program
xdotool key alt+a
about=$(find_window '^About Pellinoraxis$')
[ -n "$about" ] || fail "Alt+A did not open the About box after a restart"
sleep 0.5
again=$(xdotool getwindowgeometry "$about" | sed -n 's/.*Position: \([0-9]*,[0-9]*\).*/\1/p')
[ "$again" = "$moved" ] || fail "the About box came back at $again, not where it was left ($moved)"
xdotool key Return
wait_gone "$about" || fail "the About box did not close"
close_game_program

echo "ci-desktop: How To Play and the help stay in front, Alt+S starts a game, a dialog's place is kept"
