#!/usr/bin/env bash
# Builds Velmora Arudha Lagna and starts it. Extra arguments go to the
# command-line tool, e.g. ./run.sh --name ASHA --date 1980-01-05 ...
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
if [ "$#" -eq 0 ]; then
  set -- --name "ASHA RAO" --date 1980-01-05 --time 09:05 --zone 34 \
         --lat 28:36N --lon 77:12E --city "New Delhi" --state Delhi --country India
fi
exec build/bin/velmora-arudha-lagna-cli "$@"
