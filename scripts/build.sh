#!/usr/bin/env bash
# Configures and builds into the folder given (default: build/release).
#   scripts/build.sh [BUILD_DIR] [extra cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
shift || true
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAPEWREN_WERROR=ON "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
