#!/usr/bin/env bash
# Runs the real program on a generated data folder in a virtual X display, photographs each
# tab, asks it to end as a logout would, and checks what it wrote on the way out.
# Usage: smoke_test.sh <oxlip program> <folder for the screenshots>
set -euo pipefail
program=$(realpath "$1")
shots=$(realpath -m "$2")
here=$(dirname "$(realpath "$0")")
mkdir -p "$shots"
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
python3 "$here/make_smoke_data.py" "$data"

cat > "$data/session.sh" <<SESSION
set -euo pipefail
cd "$data"
QT_QPA_PLATFORM=xcb "$program" --data "$data" > "$data/program.log" 2>&1 &
pid=\$!
window=\$(timeout 30 xdotool search --sync --name '^Oxlip 0\.12\.7\.15\$' | head -n 1)
sleep 1
# A busy machine draws late: each tab is photographed once it differs from the one before.
import -window root "$shots/smoke-tab0.png"
for tab in 1 2; do
  xdotool windowfocus --sync "\$window" key --window "\$window" ctrl+Tab
  for try in \$(seq 40); do
    sleep 0.25
    import -window root "$shots/smoke-tab\$tab.png"
    cmp -s "$shots/smoke-tab\$tab.png" "$shots/smoke-tab\$((tab - 1)).png" || break
  done
done
kill -TERM \$pid
wait \$pid
SESSION
xvfb-run -a -s "-screen 0 1024x768x24" bash "$data/session.sh"

fail() { echo "smoke test: $*" >&2; cat "$data/program.log" >&2; exit 1; }
[ "$(tr -d '\r' < "$data/Instances/sort.ini")" = $'gamma\nalpha\nbeta' ] || fail "sort.ini not rewritten in order"
grep -q '^WinW = ' "$data/Oxlip.ini" || fail "Oxlip.ini not written at the end"
grep -q 'minecraft - 1.2.5.jar' "$data/mcversions/ver.ini" || fail "version store not scanned"
for tab in 0 1 2; do [ -s "$shots/smoke-tab$tab.png" ] || fail "no screenshot of tab $tab"; done
cmp -s "$shots/smoke-tab0.png" "$shots/smoke-tab1.png" && fail "the tabs did not change"
echo "smoke test: screenshots in $shots"
