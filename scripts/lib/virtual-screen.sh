# Shared by the scripts that run the game on a virtual screen: the CI smoke and package checks,
# the screenshot and the start-up benchmark. Source it after setting `work` (a scratch folder)
# and a `pids` array whose processes the caller's exit trap stops.

# start_virtual_screen [WIDTHxHEIGHT]: an Xvfb screen on a display number the server picks
# itself (so runs never collide), with openbox on it, since without a window manager no window
# ever becomes active and keys would go nowhere. Exports DISPLAY.
start_virtual_screen() {
  local size=${1:-1024x768}
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  local _
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  if [ ! -s "$work/display" ]; then
    echo "the virtual screen did not come up" >&2
    return 1
  fi
  export DISPLAY=":$(head -n1 "$work/display")"
  unset WAYLAND_DISPLAY
  openbox >"$work/openbox.log" 2>&1 &
  pids+=($!)
  sleep 1
}

# use_fresh_home: a player of our own, so no settings, high scores or sound scheme of anyone
# else's are read or written. The configuration folder is $work/home/config.
use_fresh_home() {
  mkdir -p "$work/home/config" "$work/home/runtime"
  chmod 700 "$work/home" "$work/home/runtime"
  export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_RUNTIME_DIR="$work/home/runtime"
}
