# Sourced by the scripts that run Windows programs: one private Wine prefix
# per build tree, a Japanese locale (ANSI code page 932), no debug chatter,
# and ALSA's null device as the default so winmm finds one wave device on
# machines without sound hardware.
repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$repo_root/build-win/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$repo_root/scripts/asound-null.conf"
if [ -x /usr/lib/wine/wine64 ]; then
    wine_bin=/usr/lib/wine/wine64
else
    wine_bin=wine
fi
export ORVA_WINE="$wine_bin"
