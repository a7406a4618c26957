#!/usr/bin/env bash
# Installs what is missing, builds, and starts the workbench.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
exec build/bin/fendrel "$@"
