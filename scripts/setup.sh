#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages), then configures and builds Zandrel.
# Usage: scripts/setup.sh [BUILD_DIR [extra cmake options...]]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
shift || true

# dpkg-dev, file, desktop-file-utils and appstream serve the package test (tests/install/).
packages=(g++ cmake ninja-build qt6-base-dev qt6-charts-dev libgl-dev dpkg-dev file desktop-file-utils appstream)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi

if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZANDREL_WERROR=ON "$@" >/dev/null
fi
cmake --build "$build_dir" -j "$(nproc)"
