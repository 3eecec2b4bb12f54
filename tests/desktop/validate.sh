#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo pass their validators (exit 77 when one of the
# validators is not installed).
# Usage: validate.sh <packaging folder>
set -euo pipefail
folder=$1
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" > /dev/null || { echo "$tool is not installed"; exit 77; }
done
desktop-file-validate "$folder"/*.desktop
appstreamcli validate --no-net "$folder"/*.metainfo.xml
