#!/bin/sh
# Rebuilds src/astro/generated/retrograde_tables.cpp from the Swiss Ephemeris.
# Needs g++, Debian's libswe-dev and swe-basic-data (ephemeris files in
# /usr/share/libswe/ephe, or the directory given as the first argument).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
g++ -std=c++20 -O2 -Wall -Wextra -o "$work/stations" "$here/stations.cpp" -I/usr/include -lswe -lm
"$work/stations" "$work/retrograde_tables.cpp" "$@"
mv "$work/retrograde_tables.cpp" "$root/src/astro/generated/retrograde_tables.cpp"
echo "wrote $root/src/astro/generated/retrograde_tables.cpp"
