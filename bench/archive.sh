#!/bin/sh
# Builds and runs the archiver benchmark: ours against the 7-Zip program.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-archive}
ninja -C "$build" -j2 bench_archive >/dev/null
"$build/bench/bench_archive"
