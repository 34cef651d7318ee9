#!/usr/bin/env bash
# Runs one Windows program under the test prefix (CTest's emulator for the
# cross build). Exit status is the program's.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec "$ORVA_WINE" "$@"
