#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each of them for a while on a copy of its seed
# corpus. Fails when any target finds a crash, a leak, a timeout or a sanitizer report.
#   fuzz/run.sh [SECONDS]   seconds per target, 10 by default
# New corpus entries go to a temporary folder, never into the repository; the input of a
# failure is kept under build-fuzz/findings/ and its name printed.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-10}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: fuzz/run.sh [SECONDS]" >&2
  exit 2
fi

cxx=${CXX_FUZZ:-clang++}
if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "fuzz: $cxx is missing (install the clang package)" >&2
  exit 1
fi

# libFuzzer's runtime ships in libclang-rt-<major>-dev, which clang only recommends.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf '#include <cstddef>\n#include <cstdint>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n' \
  >"$probe/probe.cpp"
if ! "$cxx" -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
  major=$("$cxx" -dumpversion | cut -d. -f1)
  if [ "$(id -u)" != 0 ]; then
    echo "fuzz: $cxx cannot link libFuzzer; install libclang-rt-$major-dev" >&2
    exit 1
  fi
  echo "Installing libclang-rt-$major-dev"
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y -qq --no-install-recommends "libclang-rt-$major-dev" >/dev/null ||
    { apt-get update -qq && apt-get install -y -qq --no-install-recommends "libclang-rt-$major-dev" >/dev/null; } ||
    { echo "fuzz: could not install libclang-rt-$major-dev" >&2; exit 1; }
fi

build=build-fuzz
if ! cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" >"$probe/build.log" 2>&1 ||
   ! cmake --build "$build" >>"$probe/build.log" 2>&1; then
  cat "$probe/build.log" >&2
  echo "fuzz: the fuzz targets did not build" >&2
  exit 1
fi

targets=(field_reader databases report chart group_file drag_table chronograph points)
work="$probe/work"
findings="$PWD/$build/findings"
rm -rf "$findings"
mkdir -p "$work" "$findings"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run_one() {
  local t=$1
  local corpus="$work/corpus-$t"
  rm -rf "$corpus"
  cp -r "fuzz/corpus/$t" "$corpus"
  mkdir -p "$findings/$t"
  "$build/bin/fuzz_$t" -max_total_time="$seconds" -timeout=5 -max_len=16384 \
    -print_final_stats=1 -artifact_prefix="$findings/$t/" "$corpus" >"$work/$t.log" 2>&1
}

# Two at a time: the machine has two cores.
status=0
failures=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  pids=()
  for t in "${targets[@]:i:2}"; do
    run_one "$t" &
    pids+=("$!:$t")
  done
  for entry in "${pids[@]}"; do
    pid=${entry%%:*}
    t=${entry#*:}
    wait "$pid"
    rc=$?
    log="$work/$t.log"
    runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$')
    cov=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+')
    # A sanitizer report that did not stop the run still fails it.
    if [ "$rc" -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|FUZZ_CHECK failed' "$log"; then
      status=1
      failures=$((failures + 1))
      echo "fuzz_$t: FAILED (exit $rc)"
      grep -E 'ERROR:|runtime error:|FUZZ_CHECK failed|SUMMARY:|Test unit written to' "$log" | head -20
      cp "$log" "$findings/$t/last-run.log"
      echo "  full log: $findings/$t/last-run.log"
    else
      echo "fuzz_$t: ok, ${runs:-?} runs, ${cov:-no coverage line}"
    fi
  done
done

if [ "$status" -eq 0 ]; then
  echo "fuzz: all ${#targets[@]} targets ran ${seconds}s each without a finding"
else
  echo "fuzz: $failures of ${#targets[@]} targets failed"
fi
exit "$status"
