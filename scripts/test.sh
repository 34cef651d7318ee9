#!/usr/bin/env bash
# Sets up the machine, builds the native tree (build/) and the Windows cross
# tree (build-win/), and runs both test suites; the Windows one under Wine.
# Exits non-zero when anything fails.
set -euo pipefail
repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo_root"
jobs="${ORVA_JOBS:-$(nproc)}"

bash scripts/install-deps.sh

echo "== format (.clang-format)"
format_status=0
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror || format_status=$?

echo "== native build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"

echo "== native Release build (compiles only: the optimiser's own warnings must not break it)"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j"$jobs"

echo "== cross build"
cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$repo_root/cmake/mingw-w64.cmake" >/dev/null
cmake --build build-win -j"$jobs"

echo "== native tests"
native_status=0
(cd build && ctest --output-on-failure -j"$jobs") || native_status=$?

echo "== Windows tests (Wine)"
windows_status=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -e
    source scripts/wine-env.sh
    bash scripts/wine-prefix.sh
    # One persistent server for the whole suite. The first program also
    # starts Wine'"'"'s service processes; start them here, away from CTest,
    # or they inherit a test'"'"'s output pipe and CTest waits for them.
    wineserver -w
    wineserver -p >/dev/null 2>&1 </dev/null
    trap "wineserver -k || true" EXIT
    "$ORVA_WINE" cmd /c exit >/dev/null 2>&1 </dev/null
    cd build-win && ctest --output-on-failure -j1
' || windows_status=$?

echo "format: $([ $format_status -eq 0 ] && echo clean || echo "FILES DRIFTED (clang-format -i them)")"
echo "native tests: $([ $native_status -eq 0 ] && echo passed || echo FAILED)"
echo "Windows tests: $([ $windows_status -eq 0 ] && echo passed || echo FAILED)"
[ $format_status -eq 0 ] && [ $native_status -eq 0 ] && [ $windows_status -eq 0 ]
