#!/usr/bin/env bash
# The main job: sets the machine up, builds the native tree and shows what
# Orva reads from the bundled demo files (or from the files named).
set -euo pipefail
repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo_root"
bash scripts/install-deps.sh >/dev/null
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target orva-cli >/dev/null
if [ $# -gt 0 ]; then
    exec build/cli/orva-cli info "$@"
fi
exec build/cli/orva-cli info samples/*.mp3
