#!/usr/bin/env bash
# Builds Velmora Arudha Lagna and starts it. Without a display, it says how
# to use the command-line tool instead and shows it on a sample birth.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'TXT'
No display found, so the windows cannot open. The command-line tool runs the
same analysis; for example:
  build/bin/velmora-arudha-lagna-cli --name "ASHA RAO" --date 1980-01-05 --time 09:05 --zone 34 \
      --lat 28:36N --lon 77:12E --city "New Delhi" --state Delhi --country India
(--help lists every option, --json prints the whole analysis as JSON.) Here it is:

TXT
  exec build/bin/velmora-arudha-lagna-cli --name "ASHA RAO" --date 1980-01-05 --time 09:05 --zone 34 \
       --lat 28:36N --lon 77:12E --city "New Delhi" --state Delhi --country India
fi
exec build/bin/velmora-arudha-lagna
