#!/usr/bin/env bash
# Made the bundled demo, samples/orva-theme.mp3, once: a short piece
# synthesized with sox, encoded with lame, and given an ID3v1 tag whose
# title is Japanese (cp932). Kept to show how it was made; running it again
# gives a file that may differ in the encoder's bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# A bar of arpeggiated chords over a bass line, with a soft hi-hat.
notes=(C4 E4 G4 C5 A3 C4 E4 A4 F3 A3 C4 F4 G3 B3 D4 G4)
parts=()
for i in "${!notes[@]}"; do
    sox -D -R -n -r 44100 -c 2 -b 16 "$tmp/n$i.wav" synth 0.25 pluck "${notes[$i]}" fade q 0.005 0.25 0.1 gain -n -8
    parts+=("$tmp/n$i.wav")
done
sox "${parts[@]}" "$tmp/arp.wav"
sox -D -R -n -r 44100 -c 2 -b 16 "$tmp/bass.wav" synth 1 sine C2 synth 1 sine A1 synth 1 sine F1 synth 1 sine G1 gain -n -14 2>/dev/null || \
    sox -D -R -n -r 44100 -c 2 -b 16 "$tmp/bass.wav" synth 4 sine 65.4 gain -n -14
sox -D -R -n -r 44100 -c 2 -b 16 "$tmp/hat.wav" synth 0.02 whitenoise highpass 7000 fade h 0 0.02 0.02 pad 0 0.105 repeat 31 gain -n -26
sox -D -R -m "$tmp/arp.wav" "$tmp/bass.wav" "$tmp/hat.wav" "$tmp/bar.wav" trim 0 4
sox -D -R "$tmp/bar.wav" "$tmp/music.wav" repeat 2 fade q 0.05 12 1.5 gain -n -1
lame --quiet -b 128 -m j "$tmp/music.wav" "$tmp/demo.mp3"

python3 - "$tmp/demo.mp3" samples/orva-theme.mp3 <<'PY'
import sys
def field(text, size):
    data = text.encode("cp932")
    assert len(data) <= size
    return data + b"\0" * (size - len(data))
tag = (b"TAG" + field("オルヴァのテーマ", 30) + field("Orva", 30) + field("デモ", 30)
       + b"2026" + field("sox + lame", 30) + bytes([52]))
assert len(tag) == 128
audio = open(sys.argv[1], "rb").read()
open(sys.argv[2], "wb").write(audio + tag)
PY
echo "wrote samples/orva-theme.mp3"
