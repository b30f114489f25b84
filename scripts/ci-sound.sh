#!/usr/bin/env bash
# The six sound events as a player hears them, on a real sound server: a PulseAudio of our own
# with a null sink, whose monitor parec records while bench_sound_events plays each event
# through the game's own sound player and output (the module it loads). Fails when a recorded
# sound is missing or shorter than its wave file by more than 10 ms, when a sound that a new
# one should cut off goes on under it, or when the game's output without any sound server
# does anything but return at once. Prints the lengths heard and how soon each sound began.
#
#   scripts/ci-sound.sh [BUILD_DIR]
#
# Without BUILD_DIR it builds what it needs in the release preset's folder. The sound server
# runs for a throw-away user (nobody) when started as root, with its own runtime folder and
# socket, and is stopped, together with the recorder, however the script ends.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/lib/packages.sh
need_packages pulseaudio pulseaudio-utils
build="${1:-}"
if [ -z "$build" ]; then
  bash scripts/install-deps.sh
  cmake --preset release >/dev/null
  cmake --build --preset release --target bench_sound_events pellinoraxis-sound gamedata
  build=build/release
fi
player="$build/bin/bench_sound_events"
[ -x "$player" ] || {
  echo "ci-sound: $player is missing" >&2
  exit 1
}

source scripts/lib/scratch.sh
# Stops and waits for what this script started, so nothing of it outlives the script.
stop_started() {
  local pid _
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${pids[@]}"; do
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
  done
  pids=()
}
trap 'stop_started; cleanup_scratch' EXIT

# --- The sound server ---------------------------------------------------------------------------
server="$work/pulse"
mkdir -p "$server/home" "$server/runtime"
chmod 700 "$server/runtime"
as_server_user=()
if [ "$(id -u)" -eq 0 ]; then
  # PulseAudio is not meant to run as root; a user with nothing of its own does as well.
  chmod 711 "$work"
  chown -R nobody:nogroup "$server"
  as_server_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
socket="$server/native"
# No display and no session bus: the server must not start helpers that would outlive it.
env -i PATH=/usr/bin:/bin HOME="$server/home" XDG_RUNTIME_DIR="$server/runtime" \
  "${as_server_user[@]}" pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
  --log-target=stderr --log-level=error \
  -L "module-null-sink sink_name=pellinoraxis_test" \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$socket" \
  >"$work/pulseaudio.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  [ -S "$socket" ] && break
  sleep 0.1
done
if [ ! -S "$socket" ]; then
  cat "$work/pulseaudio.log" >&2
  echo "ci-sound: the sound server did not start" >&2
  exit 1
fi
export PULSE_SERVER="unix:$socket"
export QT_LOGGING_RULES="qt.multimedia*=false"
unset QT_QPA_PLATFORM

# --- Recording -----------------------------------------------------------------------------------
rate=44100
# record_play_measure LATENCY_MS NAME [lengths]: records the monitor while the events play, then
# measures.
record_play_measure() {
  local latency=$1 name=$2 what=${3:-} recorder status=0
  parec -d pellinoraxis_test.monitor --raw --format=s16le --rate=$rate --channels=1 \
    --latency-msec="$latency" >"$work/$name.raw" 2>"$work/$name.parec.log" &
  recorder=$!
  pids+=("$recorder")
  # The sink settles on the recorder's latency in its first moments.
  sleep 2.5
  if ! timeout 120 "$player" play "$work/$name.raw" "$build/bin" >"$work/$name.play.log" 2>&1; then
    cat "$work/$name.play.log" >&2
    echo "ci-sound: the player failed" >&2
    return 1
  fi
  sleep 0.5
  kill "$recorder"
  wait "$recorder" 2>/dev/null || true
  "$player" measure "$work/$name.raw" $rate "$work/$name.play.log" $what || status=$?
  return $status
}

failures=0
echo "== Recorded at parec --latency-msec=20: the lengths heard against the files"
record_play_measure 20 lengths lengths || failures=$((failures + 1))
# A recorder taking 2 ms pieces ties the recording to the clock closely enough to tell how soon
# after it was asked for each sound began. Figures only: the time is not judged.
echo "== Recorded at parec --latency-msec=2: how soon each sound began (ms after it was asked for)"
record_play_measure 2 starts >"$work/starts.txt" 2>&1 || true
grep -v -E '^ *(FAIL|[0-9]+ passed)' "$work/starts.txt" || true

# --- No sound server ----------------------------------------------------------------------------
echo "== Without a sound server"
: >"$work/none.raw"
if ! PULSE_SERVER="unix:$work/no-server" timeout 60 "$player" play "$work/none.raw" "$build/bin" \
  >"$work/none.play.log" 2>&1; then
  cat "$work/none.play.log" >&2
  echo "FAIL: without a sound server the sounds did not play as silence at once" >&2
  failures=$((failures + 1))
else
  # A generous bound: what it catches is a call that waits for a server that is not there.
  longest=$(awk '$1 == "play" && $4 > max { max = $4 } END { printf "%.2f", max }' "$work/none.play.log")
  echo "every sound silent; the longest call took $longest ms"
  if awk -v l="$longest" 'BEGIN { exit !(l > 1000) }'; then
    echo "FAIL: a sound held the game up for $longest ms without a sound server" >&2
    failures=$((failures + 1))
  fi
fi

stop_started
if [ "$failures" -ne 0 ]; then
  echo "ci-sound: $failures check(s) failed" >&2
  exit 1
fi
echo "ci-sound: every sound played whole, cut off when it should be, and silence without a server"
