#!/usr/bin/env bash
# Makes the test prefix once (about 15 s) and checks that Wine runs under
# ANSI code page 932, which the program relies on. Needs a display (run
# under xvfb-run).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

if [ ! -f "$WINEPREFIX/.orva-ready" ]; then
    echo "making the Wine prefix in $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$ORVA_WINE" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    fonts_dir="$(dpkg -L fonts-wine 2>/dev/null | grep -m1 '/wine/fonts$' || true)"
    if [ -n "$fonts_dir" ]; then
        cp "$fonts_dir"/* "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    reg_file="$(mktemp --suffix=.reg)"
    python3 - "$reg_file" <<'PY'
import sys
text = "\r\n".join([
    "Windows Registry Editor Version 5.00",
    "",
    "[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]",
    '"Managed"="N"',
    "",
    "[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]",
    '"ＭＳ Ｐゴシック"="IPAPGothic"',
    '"MS PGothic"="IPAPGothic"',
    '"MS UI Gothic"="IPAPGothic"',
    '"ＭＳ ゴシック"="IPAGothic"',
    '"MS Gothic"="IPAGothic"',
    "",
]) + "\r\n"
with open(sys.argv[1], "wb") as f:
    f.write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
    "$ORVA_WINE" regedit /S "$reg_file" >/dev/null 2>&1
    rm -f "$reg_file"
    wineserver -w
    touch "$WINEPREFIX/.orva-ready"
fi

# The Windows suite's test Layer-3 codec, when the cross build made it: the
# ACM finds installed drivers through their msacm.* values here.
acm_codec="${ORVA_BUILD_WIN:-$repo_root/build-win}/tests/acm_codec/orva_layer3_test.acm"
if [ -f "$acm_codec" ]; then
    "$ORVA_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Drivers32' \
        /v msacm.orvatl3 /d "Z:${acm_codec//\//\\}" /f >/dev/null 2>&1
    echo "test ACM codec registered"
fi

acp="$("$ORVA_WINE" reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP 2>/dev/null | tr -d '\r' | awk '/ACP/ {print $NF}')"
if [ "$acp" != "932" ]; then
    echo "FATAL: Wine's ANSI code page is '$acp', not 932; is the ja_JP.UTF-8 locale generated?" >&2
    exit 1
fi
echo "Wine prefix ready (ANSI code page 932)"
