#!/usr/bin/env bash
# Installs what is missing, builds, runs every test and prints a summary.
#   ./test.sh             the whole suite
#   ./test.sh --sanitize  the same under AddressSanitizer and UndefinedBehaviorSanitizer
set -uo pipefail
cd "$(dirname "$0")"
tools/setup.sh || exit 1

build=build
extra=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  extra=(-DFENDREL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S . -B "$build" -G Ninja "${extra[@]}" >/dev/null || exit 1
cmake --build "$build" || exit 1

export QT_QPA_PLATFORM=offscreen LC_ALL=C
if [ -n "${extra[*]}" ]; then
  # Undefined behaviour fails the test it happens in instead of scrolling past.
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
log=$(mktemp)
(cd "$build" && ctest --output-on-failure -j2) 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
passed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* +Passed' "$log")
failed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*(\*\*\*|Failed|Timeout|Not Run)' "$log")
rm -f "$log"

# The Debian package, made from this build and checked as a user's system takes it (counted as
# one more test). It stays in the build folder: fendrel_<version>_<arch>.deb.
if [ -z "${extra[*]}" ]; then
  if (cd "$build" && cpack -G DEB >/dev/null) && tools/check_package.sh "$build"/fendrel_*.deb; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    status=1
  fi
fi

# A short fuzzing run of every reader of the program's files (counted as one more test).
if [ -z "${extra[*]}" ]; then
  if fuzz/run.sh 10; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    status=1
  fi
fi
echo "${passed} passed, ${failed} failed"
exit "$status"
