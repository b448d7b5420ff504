#!/usr/bin/env bash
# Fails when a tracked C++ file is not formatted as .clang-format says.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || bash scripts/install_packages.sh clang-format
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "Unformatted code: run clang-format -i on the files above." >&2
  exit 1
fi
echo "Format: ${#files[@]} files as .clang-format says."
