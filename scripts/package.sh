#!/usr/bin/env bash
# Builds the Debian package of the program alone (no tests, no benchmarks):
#   scripts/package.sh [OUT_DIR]      (default: build/package)
# then install it with: sudo apt install ./build/package/tapewren_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/package}
build=$out/build
# The prefix the package installs into, so that paths built into the program match.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAPEWREN_WERROR=ON -DCMAKE_INSTALL_PREFIX=/usr \
  -DTAPEWREN_TESTS=OFF -DTAPEWREN_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target tapewren
(cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" >/dev/null)
ls "$out"/tapewren_*.deb
