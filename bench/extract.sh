#!/bin/sh
# Builds and runs the extraction benchmark: ours against "7zz x" for every method the program
# meets from outside, to a tmpfs and to the disk.
# Usage: bench/extract.sh [build folder] [--rounds N] [--only METHOD]; an optimised build is
# configured in the build folder (default build/bench) when missing.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
case "$1" in -*|"") ;; *) build=$1; shift ;; esac
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release -DOXLIP_GUI=OFF >/dev/null
cmake --build "$build" --target bench_extract >/dev/null
"$build/bench/bench_extract" "$@"
