#!/usr/bin/env bash
# Crash safety of the stored high scores: a program saving the table over and over is killed
# with SIGKILL at random moments, TRIALS times (400 by default). After every kill the store must
# hold one whole table, the old or the new, never a mix; and the next save must not stall on
# whatever the killed save left behind (a lock file, a temporary copy): it must take well under
# a second. Prints how often each leftover was found.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build/release}"
trials="${TRIALS:-400}"
writer="$build/bin/settings_crash_writer"
if [ ! -x "$writer" ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release --target settings_crash_writer
fi

source scripts/lib/scratch.sh
export XDG_CONFIG_HOME="$work/config" HOME="$work"
mkdir -p "$XDG_CONFIG_HOME"
store="$XDG_CONFIG_HOME/Corvane Limited/Pellinoraxis Evaluation 1.0.conf"

"$writer" once >/dev/null
locks=0 empty=0 given_up=0 slowest=0
declare -A seen_copies=()
for ((i = 1; i <= trials; i++)); do
  "$writer" write &
  pid=$!
  # Long enough for the program to start and save many times; the kill lands anywhere.
  sleep "0.$(printf '%03d' $((RANDOM % 150 + 30)))"
  kill -9 "$pid"
  wait "$pid" 2>/dev/null || true

  held=$("$writer" check)
  if [ "$held" != A ] && [ "$held" != B ]; then
    echo "trial $i: the store holds a mix of two tables" >&2
    cat "$store" >&2
    exit 1
  fi
  if [ -e "$store.lock" ]; then
    locks=$((locks + 1))
    [ -s "$store.lock" ] || empty=$((empty + 1))
  fi

  for copy in "$store".??????; do
    [ -e "$copy" ] && seen_copies["$copy"]=1
  done
  read -r ms outcome < <("$writer" once)
  [ "$ms" -gt "$slowest" ] && slowest=$ms
  # A save that finds a lock too fresh to call abandoned gives up, leaving the file alone.
  [ "$outcome" = stored ] || given_up=$((given_up + 1))
  if [ "$ms" -ge 1000 ]; then
    echo "trial $i: the save after the kill took $ms ms" >&2
    exit 1
  fi
done
echo "settings crash check: $trials kills, every time one whole table;" \
  "lock files left: $locks ($empty of them empty), temporary copies left: ${#seen_copies[@]}" \
  "(left now, older ones removed: $(compgen -G "$store.??????" | wc -l));" \
  "next saves given up: $given_up; slowest next save: $slowest ms"
