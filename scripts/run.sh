#!/usr/bin/env bash
# Installs what is missing, builds the program and opens its window.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

velmo_ensure_packages "${VELMO_BUILD_PACKAGES[@]}"
cmake --preset app
cmake --build --preset app

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Velmo opens a window, but there is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
  echo "Run it on a desktop session, or under a virtual X server:" >&2
  echo "  xvfb-run -a ./scripts/run.sh" >&2
  exit 1
fi
exec build/app/app/velmo
