#!/usr/bin/env bash
# Builds the fuzz targets and runs each one over its seed corpus.
#   fuzz/run.sh                 10 seconds per target
#   fuzz/run.sh --seconds 60    a longer run
#   fuzz/run.sh --runs 10000000 a fixed number of executions per target
# New inputs go to build/fuzz/corpus/<target>, never into the committed seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
velmo_ensure_packages "${VELMO_BUILD_PACKAGES[@]}" clang-14 libclang-rt-14-dev

limit=(-max_total_time=10)
case "${1:-}" in
  --seconds) limit=(-max_total_time="${2:?seconds}") ;;
  --runs) limit=(-runs="${2:?runs}") ;;
  "") ;;
  *) echo "usage: $0 [--seconds N | --runs N]" >&2; exit 2 ;;
esac

targets=(fuzz_text_search fuzz_url_coding fuzz_codepage fuzz_text_between fuzz_address_parts
  fuzz_extract_short_address)
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]}"
for target in "${targets[@]}"; do
  work="build/fuzz/corpus/$target"
  mkdir -p "$work"
  echo "== $target"
  # Answer pages with their markers run to a few hundred bytes more than the
  # texts of the other targets.
  max_len=512
  if [ "$target" = fuzz_extract_short_address ]; then max_len=2048; fi
  status=0
  "build/fuzz/fuzz/$target" "${limit[@]}" -max_len="$max_len" -print_final_stats=1 \
    -artifact_prefix="build/fuzz/$target-" "$work" "fuzz/seeds/$target" >"$work.log" 2>&1 ||
    status=$?
  grep -E 'stat::number_of_executed_units|ERROR|SUMMARY' "$work.log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 30 "$work.log" >&2
    echo "$target found a failing input (see build/fuzz/$target-*)" >&2
    exit 1
  fi
done
