#!/bin/sh
# Start-up of the real program on a generated data folder (default 5000 instances, 1000 mods,
# 300 stored versions): time to the window showing its first screen of icons, until the other
# icons are read, and peak memory. Medians of several runs, as other work shares the processors.
# Usage: bench/startup.sh [build folder] [runs] [instances mods versions]; an optimised build is
# configured when missing.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build/bench-gui}")
runs=${2:-5}
instances=${3:-5000}
mods=${4:-1000}
versions=${5:-300}
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target oxlip bench_first_screen >/dev/null
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
python3 "$root/bench/startup/make_data.py" "$data" "$instances" "$mods" "$versions"
echo "$instances instances, $mods mods, $versions stored versions"
# A display number of its own: X servers of other containers may hold the low ones.
xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1280x1024x24" python3 \
  "$root/bench/startup/measure.py" "$build/oxlip" "$data" "$runs" "$build/bench/bench_first_screen" \
  "$instances"
