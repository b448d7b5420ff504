#!/usr/bin/env bash
# Builds Zandrel when needed and starts it from the build folder, beside its sample data and help.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Zandrel is a desktop program and no display was found (DISPLAY is not set)."
  echo "Run it on a desktop session, or on a virtual display with:"
  echo "  apt-get install -y xvfb && xvfb-run -a $(pwd)/build/bin/zandrel"
  exit 1
fi
exec build/bin/zandrel
