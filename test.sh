#!/usr/bin/env bash
# Builds Velmora Arudha Lagna and runs every test (windows offscreen).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j 2
