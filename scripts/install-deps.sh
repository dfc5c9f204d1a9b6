#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# when they are missing. Uses sudo only when not run as root.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkgconf
  qt6-base-dev
  rapidjson-dev libcsv-dev libsqlite3-dev
  libgeonames-dev libhowardhinnant-date-dev tzdata
  libgtest-dev libgmock-dev libbenchmark-dev
  libswe-dev swe-basic-data
  fonts-dejavu-core fonts-liberation2
  desktop-file-utils appstream shared-mime-info
  poppler-utils
  locales
  clang-format clang-tidy
  help2man
)
[ "$#" -gt 0 ] && packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
