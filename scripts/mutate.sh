#!/usr/bin/env bash
# Plants one fault and tells whether the tests catch it:
#   scripts/mutate.sh FILE:LINE 'sed expression' TEST...
# The fault goes into a copy of the committed tree (build/mutate/src, made
# once and brought to HEAD each time), which is built incrementally in
# build/mutate/build, so only what the line touches is compiled again. The
# named ctest tests run against a test desktop of the script's own, started
# once and left running for the next fault (scripts/desktop.sh stop
# build/mutate/desktop ends it). The last line says "caught", "caught only by
# a timeout" or "survived"; the exit code is 0, 2 or 1, and 3 when the
# expression changed nothing on that line.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 3 ] || { echo "usage: scripts/mutate.sh FILE:LINE 'sed expression' TEST..." >&2; exit 64; }
where=$1 expression=$2
shift 2
file=${where%:*} line=${where##*:}
base=$root/build/mutate
src=$base/src

if [ ! -d "$src/.git" ]; then
  git clone -q "$root" "$src"
fi
git -C "$src" fetch -q "$root" HEAD
git -C "$src" checkout -q --force FETCH_HEAD
git -C "$src" clean -qfd
restore() { git -C "$src" checkout -q -- "$file" 2>/dev/null || true; }
trap restore EXIT

before=$(sed -n "${line}p" "$src/$file")
sed -i "${line}${expression}" "$src/$file"
after=$(sed -n "${line}p" "$src/$file")
if [ "$before" = "$after" ]; then
  echo "$where: the expression changed nothing: $before"
  exit 3
fi
echo "$where: $before"
echo "$where: $after"

# A build of its own, without unity batches: a fault recompiles one file.
cmake -S "$src" -B "$base/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAPEWREN_BENCH=OFF >/dev/null
if ! cmake --build "$base/build" -j "$(nproc)" >"$base/build.log" 2>&1; then
  echo "caught (it does not build)"
  exit 0
fi

# shellcheck disable=SC1091
up() { [ -f "$base/desktop/env" ] && (. "$base/desktop/env" && pactl info >/dev/null 2>&1 && xdpyinfo >/dev/null 2>&1); }
if ! up; then
  "$root/scripts/desktop.sh" stop "$base/desktop" >/dev/null 2>&1 || true
  "$root/scripts/desktop.sh" start "$base/desktop" >/dev/null
  "$root/scripts/desktop.sh" tone "$base/desktop" >/dev/null
fi
# shellcheck disable=SC1091
. "$base/desktop/env"
pattern="^($(IFS='|'; echo "$*"))\$"
set +e
ctest --test-dir "$base/build" -R "$pattern" --output-on-failure >"$base/tests.log" 2>&1
rc=$?
set -e
if [ "$rc" -eq 0 ]; then
  grep -q "No tests were found" "$base/tests.log" && { echo "no test named $*"; exit 64; }
  echo "survived"
  exit 1
fi
if grep -q "\*\*\*Timeout" "$base/tests.log" && ! grep -qE "\*\*\*(Failed|Exception)" "$base/tests.log"; then
  echo "caught only by a timeout"
  exit 2
fi
grep -E "FAILED|Failure|\*\*\*Failed|\*\*\*Exception" "$base/tests.log" | head -3
echo "caught"
