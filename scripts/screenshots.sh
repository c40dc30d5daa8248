#!/usr/bin/env bash
# Renders soundwright's main window (with the demo recording) and its dialogs
# offscreen to PNG files in shots/ for review. Settings go to a throw-away
# folder, so your own are not touched.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
app="$here/${BUILD_DIR:-build}/bin/soundwright"
out="$here/shots"
mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
echo '{"screens":[{"name":"shot","x":0,"y":0,"width":1920,"height":1080,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]}' > "$tmp/screen.json"
export QT_QPA_PLATFORM="offscreen:configfile=$tmp/screen.json"
XDG_CONFIG_HOME="$tmp/config" SW_SHOTS_DIR="$out" "$app/soundwright" "$app/sample.wav"
if [ -x "$here/scripts/recaster_screenshots.sh" ]; then
  "$here/scripts/recaster_screenshots.sh" || echo "recaster pictures failed" >&2
fi
echo "pictures in $out"
