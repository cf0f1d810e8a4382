#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
#   scripts/test.sh               the debug build (preset "dev")
#   scripts/test.sh --preset asan the same suite under AddressSanitizer + UBSan
#   scripts/test.sh --preset tsan the same suite under ThreadSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

preset=dev
if [ "${1:-}" = "--preset" ]; then preset="${2:?preset name}"; fi

velmo_ensure_packages "${VELMO_BUILD_PACKAGES[@]}"
# CI builds with warnings as errors; locally they stay warnings.
if [ "${CI:-}" = "true" ]; then export VELMO_WERROR=ON; fi

cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset" -j "$(nproc)"
