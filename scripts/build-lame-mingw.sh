#!/usr/bin/env bash
# Builds libmp3lame for 64-bit Windows (static library and header only) from
# Debian's source package into the given folder, once: when the library is
# already there, nothing is done. The Windows suite's test codec links it.
#   usage: build-lame-mingw.sh OUTPUT_DIR [JOBS]
set -euo pipefail
out_dir="$(mkdir -p "$1" && cd "$1" && pwd)"
jobs="${2:-2}"
host=x86_64-w64-mingw32

if [ -f "$out_dir/lib/libmp3lame.a" ] && [ -f "$out_dir/include/lame/lame.h" ]; then
    exit 0
fi

work_dir="$out_dir/source"
rm -rf "$work_dir"
mkdir -p "$work_dir"
cd "$work_dir"
echo "fetching Debian's source package lame into $work_dir"
# As root apt cannot hand the download to its unprivileged user; say so
# rather than have it warn.
apt_options=()
[ "$(id -u)" -eq 0 ] && apt_options=(-o APT::Sandbox::User=root)
apt-get "${apt_options[@]}" source -qq lame >/dev/null
src_dir="$(find . -maxdepth 1 -mindepth 1 -type d -name 'lame-*' | head -n1)"
[ -n "$src_dir" ] || { echo "apt-get source gave no lame folder" >&2; exit 1; }
cd "$src_dir"

echo "building libmp3lame for $host"
./configure --host="$host" --prefix="$out_dir" --disable-shared --enable-static \
    --disable-frontend --disable-decoder --disable-gtktest --disable-analyzer-hooks \
    CC="$host-gcc-posix" CFLAGS="-O2" >"$out_dir/configure.log" 2>&1 ||
    { tail -n 30 "$out_dir/configure.log" >&2; exit 1; }
make -j"$jobs" >"$out_dir/make.log" 2>&1 || { tail -n 30 "$out_dir/make.log" >&2; exit 1; }
make install >>"$out_dir/make.log" 2>&1 || { tail -n 30 "$out_dir/make.log" >&2; exit 1; }
# Only the library and its header are used; not the sources, nor the
# manual pages and documents the install adds.
cd "$out_dir"
rm -rf "$work_dir" "$out_dir/share"
echo "libmp3lame for $host ready in $out_dir"
