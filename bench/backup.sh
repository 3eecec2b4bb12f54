#!/bin/sh
# Builds and runs the backup benchmark: a whole instance backed up by ours and by the 7-Zip
# program with the same switches.
# Usage: bench/backup.sh [build folder]; an optimised build is configured there when missing.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release -DOXLIP_GUI=OFF >/dev/null
cmake --build "$build" --target bench_backup >/dev/null
"$build/bench/bench_backup"
