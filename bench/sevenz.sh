#!/bin/sh
# Builds and runs the 7z backup benchmark: ours against the 7-Zip program on a generated
# 200 MB instance.
# Usage: bench/sevenz.sh [build folder]; an optimised build is configured there when missing.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release -DOXLIP_GUI=OFF >/dev/null
cmake --build "$build" --target bench_sevenz >/dev/null
"$build/bench/bench_sevenz"
