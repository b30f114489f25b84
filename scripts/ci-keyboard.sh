#!/usr/bin/env bash
# A whole game played from the keyboard alone under a real window manager (Xvfb with openbox):
# Alt+S starts it and Return leaves How To Play, typed letters pick tiles and Space enters the
# words they spell (Esc lets a chain go), Alt+P pauses and Alt+Y resumes, Alt+Q and Alt+Y end
# the game. The score must then stand in the stored high score table and the game in the
# player's statistics, and Alt+T in "Game Ended" must open the statistics. A second game does
# the same with the French dictionary, whose words are typed without their accents.
# The board is random, so the script types common short words until some have scored; every
# wait is bounded, and a failure prints what went wrong and the game's standard error.
set -euo pipefail
cd "$(dirname "$0")/.."

game="${PELLIN_DESKTOP_GAME:-$PWD/build/release/bin/pellinoraxis}"
if [ ! -x "$game" ]; then
  echo "ci-keyboard: $game is missing; build the release preset first" >&2
  exit 1
fi

source scripts/lib/scratch.sh

fail() {
  echo "ci-keyboard: $*" >&2
  if [ -s "${settings:-/nonexistent}" ]; then
    echo "--- the settings file ---" >&2
    cat "$settings" >&2
  fi
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

stored() { # a value of the settings file's [General] section, or nothing
  sed -n "s/^$1=//p" "$settings" 2>/dev/null | head -n 1
}

# play_game DICTIONARY ROUNDS WORD...: a game with that dictionary, from Alt+S to Alt+Q, typing
# the words ROUNDS times over (pausing and resuming by keys after the second time), then checks
# that the score is in the table and the statistics and that Alt+T shows them.
play_game() {
  local dictionary=$1 rounds=$2 round word question ended statistics row
  shift 2
  xdotool key alt+s
  local howto
  howto=$(find_window '^How To Play$')
  [ -n "$howto" ] || fail "Alt+S did not start a game (no How To Play page)"
  sleep 1
  xdotool windowactivate --sync "$howto" 2>/dev/null || true
  xdotool key Return
  wait_gone "$howto" || fail "Return on How To Play did not start the game"
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  sleep 0.5

  for round in $(seq "$rounds"); do
    for word in "$@"; do
      xdotool type --delay 30 "$word"
      xdotool key space Escape
    done
    if [ "$round" = 2 ]; then
      # The pause question: Alt+Y carries on.
      xdotool key alt+p
      question=$(find_window '^Pellinoraxis$' "$main")
      [ -n "$question" ] || fail "Alt+P did not ask the pause question"
      sleep 0.5
      xdotool key alt+y
      wait_gone "$question" || fail "Alt+Y did not answer the pause question"
      xdotool windowactivate --sync "$main" 2>/dev/null || true
    fi
  done

  # Alt+Q asks whether to quit; Alt+Y ends the game.
  xdotool key alt+q
  question=$(find_window '^Pellinoraxis$' "$main")
  [ -n "$question" ] || fail "Alt+Q did not ask the quit question"
  sleep 0.5
  xdotool key alt+y
  wait_gone "$question" || fail "Alt+Y did not answer the quit question"

  ended=$(find_window '^Game Ended$')
  [ -n "$ended" ] || fail "no Game Ended window: the words typed in $dictionary scored nothing"
  score=$(stored "Stats.$dictionary.TotalPoints")
  [ -n "$score" ] && [ "$score" -gt 0 ] || fail "the $dictionary statistics hold no points"
  [ "$(stored "Stats.$dictionary.GamesPlayed")" = 1 ] ||
    fail "the $dictionary statistics do not count the game"
  words_entered=$(stored "Stats.$dictionary.WordsEntered")
  [ -n "$words_entered" ] && [ "$words_entered" -gt 0 ] ||
    fail "the $dictionary statistics hold no words"
  row=$(stored "${dictionary}0")
  case "$row" in
    "$score\\tAnonymous\\t"*) ;;
    *) fail "the $dictionary table's first row is '$row', not the game's $score points" ;;
  esac

  xdotool windowactivate --sync "$ended" 2>/dev/null || true
  xdotool key alt+t
  statistics=$(find_window '^Statistics$')
  [ -n "$statistics" ] || fail "Alt+T in Game Ended did not show the statistics"
  sleep 0.5
  if [ -n "${PELLIN_KEYBOARD_SHOT:-}" ]; then
    import -window root "$PELLIN_KEYBOARD_SHOT-$dictionary.png"
  fi
  xdotool key Escape
  wait_gone "$statistics" || fail "Esc did not close the statistics"
  xdotool windowactivate --sync "$ended" 2>/dev/null || true
  xdotool key Escape
  wait_gone "$ended" || fail "Esc did not close Game Ended"
  echo "ci-keyboard: a game in $dictionary played by keys alone scored $score points in" \
    "$words_entered words, stored in the high score table and the statistics"
}

start_game_program
# Common short words; most boards hold several of them somewhere.
play_game Evaluation 3 at to in on it is as an he be we me no so do go or us up \
  the and tea eat ate tan ten net set sit tin rat art ear are one not ton toe sea ore \
  son nor rot tar star rate rest tone note seat east neat rent tire
close_game_program

# A dictionary of another language, chosen as the Options dialog stores it: typed letters
# without accents pick accented tiles' words (ete is été), drawn by French letter weights.
sed -i 's/^Dictionary=.*/Dictionary=French/' "$settings"
grep -q '^Dictionary=French$' "$settings" || fail "the settings hold no dictionary choice to change"
start_game_program
play_game French 3 et le la les un une de des du en il elle est ete se ses sa son sur \
  ne ni nos te tu ta toi on or os ou oui art are rat rate tes tel sel sol mer mere nez \
  ras rire lire dire sens tenir taire terre
close_game_program
