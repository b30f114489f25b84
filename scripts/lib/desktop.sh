# Driving the game's windows with xdotool, shared by the checks that run it under a window
# manager. Source it after scripts/lib/scratch.sh; the caller defines `game` (the program),
# `fail` (report and exit) and uses `main` and `game_pid` as these functions set them.

# find_window PATTERN [EXCEPT]: the first visible window whose name matches, other than EXCEPT,
# waiting up to 20 s; nothing when none came. A search can fail outright when a window vanishes
# while it looks (How To Play closing, say), so it is asked again rather than trusted to wait.
find_window() {
  local found="" id
  for _ in $(seq 100); do
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      if [ "$id" != "${2:-}" ]; then
        found=$id
        break
      fi
    done
    [ -n "$found" ] && break
    sleep 0.2
  done
  echo "$found"
}

# wait_gone ID: true once the window is no longer mapped, waiting up to 10 s.
wait_gone() {
  for _ in $(seq 50); do
    xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable' || return 0
    sleep 0.2
  done
  return 1
}

# start_game_program: the game started, its main window found (as `main`) and activated.
start_game_program() {
  "$game" >"$work/stdout" 2>>"$work/stderr" &
  game_pid=$!
  pids+=("$game_pid")
  main=$(find_window '^Pellinoraxis')
  [ -n "$main" ] || fail "the main window did not appear"
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  sleep 0.5
}

# close_game_program: Alt+F4 on the main window between games must end the game, without error.
close_game_program() {
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  xdotool key alt+F4
  for _ in $(seq 50); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 "$game_pid" 2>/dev/null; then
    fail "the game did not end when its window was closed between games"
  fi
  wait "$game_pid" || fail "the game ended with an error"
}
