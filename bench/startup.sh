#!/bin/sh
# Start-up and shutdown of the real program on 500 instances, 300 mods and 100 stored versions:
# time to the shown window, time until it has filled its lists and ended, and peak memory.
# Usage: bench/startup.sh [build folder] [runs]; an optimised build is configured when missing.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build/bench-gui}")
runs=${2:-5}
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target oxlip >/dev/null
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
python3 "$root/bench/startup/make_data.py" "$data"
xvfb-run -a -s "-screen 0 1280x1024x24" python3 "$root/bench/startup/measure.py" \
  "$build/oxlip" "$data" "$runs"
