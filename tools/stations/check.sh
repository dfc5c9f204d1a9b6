#!/bin/sh
# Regenerates the station tables into a temporary file and compares them byte
# for byte with the committed src/astro/generated/retrograde_tables.cpp. Exits non-zero
# when the generator fails or the files differ.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
g++ -std=c++20 -O2 -Wall -Wextra -o "$work/stations" "$here/stations.cpp" -I/usr/include -lswe -lm
if ! "$work/stations" "$work/retrograde_tables.cpp" "$@" 2>"$work/log"; then
    cat "$work/log" >&2
    exit 1
fi
if cmp -s "$work/retrograde_tables.cpp" "$root/src/astro/generated/retrograde_tables.cpp"; then
    echo "station tables match"
else
    echo "station tables differ from the committed file:" >&2
    diff "$root/src/astro/generated/retrograde_tables.cpp" "$work/retrograde_tables.cpp" | head -40 >&2 || true
    exit 1
fi
