#!/bin/sh
# Builds and runs the instance update benchmark: ours against the curl program, on loopback
# and with the mirror waiting 20 ms before every answer.
# Usage: bench/update.sh [build folder] [--delay MS]... [--rounds N]; an optimised build is
# configured in the build folder (default build/bench) when missing.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
case "$1" in -*|"") ;; *) build=$1; shift ;; esac
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release -DOXLIP_GUI=OFF >/dev/null
cmake --build "$build" --target bench_update oxlip-mirror oxlip_fixture_root >/dev/null
"$build/bench/bench_update" "$@"
