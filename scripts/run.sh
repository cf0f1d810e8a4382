#!/usr/bin/env bash
# Installs what is missing, builds the program and opens its window.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

velmo_ensure_packages "${VELMO_BUILD_PACKAGES[@]}"
cmake --preset app
cmake --build --preset app

if [ ! -x build/app/app/velmo ]; then
  echo "Velmo has no window yet: the text, web, core and picture layers are built and tested"
  echo "(scripts/test.sh runs them); the window comes next."
  exit 0
fi
exec build/app/app/velmo
