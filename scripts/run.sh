#!/usr/bin/env bash
# The main job: sets the machine up, builds the native tree and shows what
# Orva reads from the bundled demo files (or from the files named), then
# plays the demo.
set -euo pipefail
repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo_root"
bash scripts/install-deps.sh >/dev/null
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
    exec build/cli/orva-cli play --device null samples/orva-theme.mp3
fi
