#!/usr/bin/env bash
# Encoding speed: orva-cli encode against the lame command at the same bit
# rate (192 kbit/s joint stereo, no VBR header frame, no gain analysis) on the same 5-minute
# 44.1 kHz stereo file made here (not kept), in one run. CPU time (user +
# system) per second of audio, median of the runs, and the ratio.
#   bench/run_encoder_bench.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?build dir}
runs=${2:-5}
cli="$build/cli/orva-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for tool in sox lame; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
seconds=300
sox -D -R -r 44100 -c 2 -n -b 16 "$work/long.wav" synth $seconds pinknoise synth $seconds sine mix 440 \
  synth $seconds sine mix 1250 tremolo 2 60 gain -n -8

cpu() {  # CPU seconds of one command, median of the runs
  local t=() i
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -o "$work/time" -f '%U %S' "$@" >/dev/null 2>&1
    t+=("$(awk '{print $1 + $2}' "$work/time")")
  done
  printf '%s\n' "${t[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

orva=$(cpu "$cli" encode "$work/long.wav" -o "$work/orva.mp3")
lame=$(cpu lame --quiet -b 192 -m j -t --noreplaygain "$work/long.wav" "$work/lame.mp3")
echo "== long.wav, $seconds s, 44100 Hz stereo, 192 kbit/s, median of $runs runs"
awk -v o="$orva" -v l="$lame" -v s="$seconds" 'BEGIN {
  printf "orva-cli encode: %.3f ms CPU per audio second\n", o * 1000 / s
  printf "lame:            %.3f ms CPU per audio second\n", l * 1000 / s
  printf "ratio orva/lame: %.3f\n", o / l
}'
if cmp -s "$work/orva.mp3" "$work/lame.mp3"; then
  echo "streams: identical"
else
  echo "streams: differ ($(stat -c %s "$work/orva.mp3") vs $(stat -c %s "$work/lame.mp3") bytes)"
fi
