#!/usr/bin/env bash
# Runs the whole ctest suite again and again while two other CPU-bound processes run, as on a
# busy machine, and stops at the first failure. A test that passes here does not depend on
# timing or on when the platform gets round to activating a window.
#   tools/tests_under_load.sh [BUILD_DIR] [RUNS]     build by default, 20 runs
set -uo pipefail
build=${1:-build}
runs=${2:-20}
export QT_QPA_PLATFORM=offscreen LC_ALL=C
hogs=()
for _ in 1 2; do
  (while :; do :; done) &
  hogs+=($!)
done
trap 'kill "${hogs[@]}" 2>/dev/null' EXIT
for ((i = 1; i <= runs; i++)); do
  if ! out=$(cd "$build" && ctest -j2 --output-on-failure 2>&1); then
    printf '%s\n' "$out" | grep -v -E '^ *[0-9]+/[0-9]+ Test .* Passed'
    echo "under load: run $i of $runs failed"
    exit 1
  fi
  echo "under load: run $i of $runs passed"
done
