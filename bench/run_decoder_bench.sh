#!/usr/bin/env bash
# Decoder speed against mpg123 in the same run, on three 5-minute clips made
# here (Layer III 128 kbit/s joint stereo and 320 kbit/s, Layer II 192
# kbit/s stereo, 44.1 kHz; not kept). Each decoder path this processor runs
# is measured, and its CPU per audio second is divided by that of mpg123's
# best core (the lower of its default and its generic core).
#   bench/run_decoder_bench.sh BUILD_DIR [RUNS] [--busy]
# --busy keeps one CPU-bound process per core running during the whole
# measurement, as on a machine doing other work.
set -euo pipefail
build=${1:?build dir}
runs=${2:-5}
busy=${3:-}
bench="$build/bench/orva-bench-decoder"
work=$(mktemp -d)
load=()
cleanup() {
  if ((${#load[@]})); then kill "${load[@]}" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
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

if [[ "$busy" == --busy ]]; then
  for ((i = 0; i < $(nproc); i++)); do
    (while :; do :; done) &
    load+=($!)
  done
  echo "busy run: ${#load[@]} CPU-bound processes beside the decoders"
else
  echo "quiet run"
fi

cpu_seconds() {  # CPU seconds of one command: perf's task clock, else time's 10 ms ticks
  if command -v perf >/dev/null && perf stat -x, -e task-clock true >/dev/null 2>&1; then
    perf stat -x, -e task-clock "$@" 2>&1 >/dev/null | awk -F, '/task-clock/ {print $1 / 1000}'
  else
    { /usr/bin/time -f '%U %S' "$@" >/dev/null; } 2>&1 | awk '{print $1 + $2}'
  fi
}

mpg123_ms() {  # CPU ms per audio second of mpg123 -t, median of the runs
  local t=() i
  for ((i = 0; i < runs; i++)); do
    t+=("$(cpu_seconds mpg123 -q -t "$@")")
  done
  printf '%s\n' "${t[@]}" | sort -g | awk '{a[NR]=$1} END {printf "%.3f", a[int((NR+1)/2)] * 1000 / 300}'
}

summary=()
for name in long128.mp3 long320.mp3 long192.mp2; do
  clip="$work/$name"
  echo "== $name, 300 s"
  fast=$(mpg123_ms "$clip")
  generic=$(mpg123_ms --cpu generic "$clip")
  best=$(awk -v a="$fast" -v b="$generic" 'BEGIN {print (a < b) ? a : b}')
  echo "mpg123 -t: default core $fast ms, generic core $generic ms per audio second"
  for path in plain sse2 avx2; do
    out=$("$bench" "$clip" --runs "$runs" --path "$path" 2>&1) || { echo "$path: not available here"; continue; }
    ms=$(awk '/cpu per audio second/ {print $5}' <<<"$out")
    ratio=$(awk -v o="$ms" -v m="$best" 'BEGIN {printf "%.2f", o / m}')
    echo "orva $path: $ms ms per audio second, $ratio x mpg123's best"
    summary+=("$(printf '%-12s %-6s %6s ms  mpg123 best %6s ms  ratio %s' "$name" "$path" "$ms" "$best" "$ratio")")
  done
done
echo "== summary (CPU per audio second, medians of $runs runs)"
printf '%s\n' "${summary[@]}"
