#!/usr/bin/env bash
# Photographs each tab of the instance dialog in a virtual X display, at normal size and at
# twice the size, and checks that every picture was written.
# Usage: dialog_screenshots.sh <oxlip_tests_gui program> <folder for the screenshots>
set -euo pipefail
tests=$(realpath "$1")
shots=$(realpath -m "$2")
mkdir -p "$shots"
rm -f "$shots"/instance-dialog-*.png
export OXLIP_SCREENSHOTS="$shots" QT_QPA_PLATFORM=xcb
filter='--gtest_filter=InstanceConfigDialogTest.ShowsTheRecord*'
xvfb-run -a -s "-screen 0 1600x1200x24" bash -c \
  '"$1" "$2" && QT_SCALE_FACTOR=2 "$1" "$2"' session "$tests" "$filter"
for tab in general java modification; do
  for size in "" "@2x"; do
    [ -s "$shots/instance-dialog-$tab$size.png" ] || {
      echo "dialog screenshots: instance-dialog-$tab$size.png missing" >&2
      exit 1
    }
  done
done
echo "dialog screenshots: in $shots"
