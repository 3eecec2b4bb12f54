#!/bin/sh
# Builds and runs the downgrade patch benchmark: size, making and applying a patch between two
# generated 5 MB jars.
# Usage: bench/mkpatch.sh [build folder]; an optimised build is configured there when missing.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release -DOXLIP_GUI=OFF >/dev/null
cmake --build "$build" --target bench_mkpatch oxlip-mkpatch >/dev/null
"$build/bench/bench_mkpatch"
