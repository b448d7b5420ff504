#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages), then configures and builds Zandrel.
# Usage: scripts/setup.sh [BUILD_DIR [extra cmake options...]]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
shift || true

# dpkg-dev, file, desktop-file-utils and appstream serve the package test (tests/install/).
packages=(g++ cmake ninja-build qt6-base-dev qt6-charts-dev libgl-dev pkg-config libuchardet-dev dpkg-dev file desktop-file-utils appstream)
bash scripts/install_packages.sh "${packages[@]}"

if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZANDREL_WERROR=ON "$@" >/dev/null
fi
cmake --build "$build_dir" -j "$(nproc)"
