#!/usr/bin/env bash
# The main job: sets the machine up and shows Orva playing the bundled demo.
# With a display, the Windows program orva.exe plays it there (through Wine
# on Linux). Without one: the terminal host shows what Orva reads from the
# demo (or from the files named) and plays it, and a screenshot of orva.exe
# playing the demo on a virtual display is saved; its path is printed.
set -euo pipefail
repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo_root"
bash scripts/install-deps.sh >/dev/null
if [ -n "${DISPLAY:-}" ] && [ $# -eq 0 ]; then
    exec bash scripts/show-player.sh
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target orva-cli >/dev/null
if [ $# -gt 0 ]; then
    exec build/cli/orva-cli info "$@"
fi
build/cli/orva-cli info samples/*.mp3
# Then play the demo; a machine without a sound device plays it on the
# engine's silent device instead.
if ! build/cli/orva-cli play samples/orva-theme.mp3 2>/dev/null; then
    echo "no sound device on this machine: playing on the engine's silent device"
    build/cli/orva-cli play --device null samples/orva-theme.mp3
fi
bash scripts/show-player.sh
