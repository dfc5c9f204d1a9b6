#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) over every source of src/, with
# the compile commands of build/; exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON > /dev/null
cmake --build build --target velmora-arudha-lagna velmora-arudha-lagna-cli
run-clang-tidy -p build -quiet -j "$(nproc)" "$(pwd)/src/.*\.cpp$"
