#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) over every source of src/, with
# the compile commands of build-tidy/ (a build without precompiled headers:
# clang cannot read GCC's); exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-tidy -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
  -DVELMORA_PRECOMPILED_HEADERS=OFF > /dev/null
cmake --build build-tidy --target velmora-arudha-lagna velmora-arudha-lagna-cli
run-clang-tidy -p build-tidy -quiet -j "$(nproc)" "$(pwd)/src/.*\.cpp$"
