#!/usr/bin/env bash
# Decoder speed against mpg123 in the same run, on three 5-minute clips made
# here (Layer III 128 kbit/s joint stereo and 320 kbit/s, Layer II 192
# kbit/s stereo, 44.1 kHz; not kept).
#   bench/run_decoder_bench.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?build dir}
runs=${2:-5}
bench="$build/bench/orva-bench-decoder"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for tool in sox lame twolame mpg123; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
# Noise for a dense spectrum, tones with tremolo, and clicks for short blocks.
sox -D -R -r 44100 -c 2 -n -b 16 "$work/a.wav" synth 300 pinknoise synth 300 sine mix 440 \
  synth 300 sine mix 1250 tremolo 2 60 gain -n -8
sox -D -R -r 44100 -c 2 -n -b 16 "$work/b.wav" synth 0.01 whitenoise fade h 0 0.01 0.01 \
  pad 0 0.49 repeat 599 gain -n -6
sox -D -R -m "$work/a.wav" "$work/b.wav" "$work/long.wav" trim 0 300
lame --quiet -b 128 -m j "$work/long.wav" "$work/long128.mp3"
lame --quiet -b 320 -m j "$work/long.wav" "$work/long320.mp3"
twolame --quiet -b 192 -m s "$work/long.wav" "$work/long192.mp2"

mpg123_cpu() {  # CPU seconds of one mpg123 -t decode, median of the runs
  local t=() i
  for ((i = 0; i < runs; i++)); do
    t+=("$( { /usr/bin/time -f '%U %S' mpg123 -q -t "$@" >/dev/null; } 2>&1 | awk '{print $1 + $2}')")
  done
  printf '%s\n' "${t[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

for name in long128.mp3 long320.mp3 long192.mp2; do
  clip="$work/$name"
  echo "== $name, 300 s"
  "$bench" "$clip" --runs "$runs"
  for cpu in "" generic; do
    s=$(mpg123_cpu ${cpu:+--cpu $cpu} "$clip")
    awk -v s="$s" -v c="${cpu:-default}" 'BEGIN {printf "mpg123 -t (%s core): %.3f ms per audio second\n", c, s * 1000 / 300}'
  done
done
