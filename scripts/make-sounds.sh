#!/usr/bin/env bash
# Makes the six sound-event wave files in data/ from sox's synthesiser alone, so they can be
# rebuilt byte for byte: `bash scripts/make-sounds.sh`. Needs sox (scripts/install-deps.sh).
# All are 16-bit mono at 22050 Hz, under a second, and normalised below full scale so that no
# event is startling next to another.
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."

out=data
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# -R: repeatable (fixed seeds), -D: no dither, so every run writes the same bytes.
sox_=(sox -R -D -V1)
format=(-r 22050 -b 16 -c 1 -e signed-integer)

# note NAME SECONDS WAVE FREQUENCY [EFFECT...]: one synthesised note into the work folder.
note() {
  local name=$1 seconds=$2 wave=$3 freq=$4
  shift 4
  "${sox_[@]}" -n "${format[@]}" "$tmp/$name.wav" synth "$seconds" "$wave" "$freq" "$@"
}

# times SECONDS FACTOR: a length scaled, as sox wants it (plain decimal).
times() { awk -v s="$1" -v f="$2" 'BEGIN { printf "%.4f", s * f }'; }

# soft NAME SECONDS WAVE FREQUENCY: a note with a quick attack and a gentle release.
soft() {
  note "$1" "$2" "$3" "$4" fade q 0.004 "$2" "$(times "$2" 0.6)"
}

# ring NAME SECONDS WAVE FREQUENCY: a struck note that dies away like a bell.
ring() {
  note "$1" "$2" "$3" "$4" fade q 0.002 "$2" "$(times "$2" 0.99)" fade l 0 "$2" "$(times "$2" 0.9)"
}

# finish FILE LEVEL INPUT-OPTIONS...: joins or mixes the parts and sets the peak level (dBFS).
finish() {
  local file=$1 level=$2
  shift 2
  "${sox_[@]}" "$@" "${format[@]}" "$out/$file" gain -n "$level"
}

# Select: a soft, short blip that slides gently down.
note select 0.07 sine 1480:1040 fade q 0.004 0.07 0.05
finish select.wav -12 "$tmp/select.wav"

# Word: a brighter two-note blip, a fourth upwards.
soft w1 0.07 triangle 988
soft w2 0.11 triangle 1319
finish word.wav -9 "$tmp/w1.wav" "$tmp/w2.wav"

# New life: a rising major arpeggio that rings out on its top note.
soft n1 0.085 triangle 523.25
soft n2 0.085 triangle 659.26
soft n3 0.085 triangle 783.99
ring n4 0.32 triangle 1046.5
finish newlife.wav -7 "$tmp/n1.wav" "$tmp/n2.wav" "$tmp/n3.wav" "$tmp/n4.wav"

# End of round: a tone that falls two octaves, wavering as it goes.
note e1 0.75 triangle 660+165 tremolo 7 35 fade q 0.01 0.75 0.3
finish endRound.wav -7 "$tmp/e1.wav"

# High word: a quick upward flourish into a bright major chord.
soft h1 0.05 triangle 783.99
soft h2 0.05 triangle 1046.5
soft h3 0.05 triangle 1318.5
ring c1 0.5 triangle 1046.5
ring c2 0.5 triangle 1318.5
ring c3 0.5 triangle 1568.0
ring c4 0.5 sine 2093.0
"${sox_[@]}" -m "$tmp/c1.wav" "$tmp/c2.wav" "$tmp/c3.wav" "$tmp/c4.wav" "$tmp/chord.wav"
finish highword.wav -6 "$tmp/h1.wav" "$tmp/h2.wav" "$tmp/h3.wav" "$tmp/chord.wav"

# Low word: a short, pleasant two-tone chime (a fifth).
ring l1 0.4 sine 1318.5
ring l2 0.4 sine 1975.5
finish lowword.wav -10 -m "$tmp/l1.wav" "$tmp/l2.wav"
