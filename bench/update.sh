#!/bin/sh
# Builds and runs the instance update benchmark: ours against the curl program.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-update}
ninja -C "$build" -j2 bench_update oxlip-mirror >/dev/null
"$build/bench/bench_update"
