#!/usr/bin/env bash
# Builds orva.exe and shows it playing the demo: on this display when there
# is one (through Wine on Linux), otherwise on a virtual one (Xvfb), where
# it takes a screenshot of the player and prints the picture's path.
set -euo pipefail
repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo_root"

cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$repo_root/cmake/mingw-w64.cmake" >/dev/null
cmake --build build-win -j"$(nproc)" --target orva >/dev/null

# The player keeps its settings beside itself: a folder of its own, with a
# window placed so that the list shows, the equalizer (on, with the "Rock"
# preset) and the lyrics window (the demo's timed lyrics beside it) docked
# below.
run_dir="$repo_root/build-win/run"
mkdir -p "$run_dir"
cp build-win/shell/orva.exe "$run_dir/"
printf '%s\r\n' '[Window]' Left=40 Top=40 Width=420 Height=150 LastHight=150 \
    '[Equalizer]' Visible=1 Enable=1 Eq1=63 Eq2=63 Eq3=32 Eq4=32 Eq5=0 Eq6=-28 Eq7=0 Eq8=44 Eq9=44 Eq10=79 \
    '[Lyrics]' Visible=1 >"$run_dir/orva.ini"
demo="Z:${repo_root//\//\\}\\samples\\orva-theme.mp3"
export ORVA_RUN_DIR="$run_dir" ORVA_DEMO="$demo"

if [ -n "${DISPLAY:-}" ]; then
    source scripts/wine-env.sh
    bash scripts/wine-prefix.sh
    cd "$run_dir"
    exec "$ORVA_WINE" orva.exe "$demo"
fi

shot="$run_dir/orva-screenshot.png"
xvfb-run -a -s "-screen 0 640x400x24" bash -c '
    set -e
    source scripts/wine-env.sh
    bash scripts/wine-prefix.sh >/dev/null
    wineserver -w
    wineserver -p >/dev/null 2>&1 </dev/null || true
    trap "wineserver -k || true" EXIT
    cd "$ORVA_RUN_DIR"
    "$ORVA_WINE" orva.exe "$ORVA_DEMO" >/dev/null 2>&1 </dev/null &
    sleep 6
    import -window root -crop 480x330+0+0 "'"$shot"'"
'
echo "the player playing the demo: $shot"
