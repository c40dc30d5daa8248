#!/usr/bin/env bash
# Renders soundwright's windows offscreen to PNG files in shots/ for review.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
app="$here/${BUILD_DIR:-build}/bin/soundwright"
out="$here/shots"
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen
SW_SCREENSHOT="$out/main-window.png" "$app/soundwright" "$app/sample.wav"
echo "pictures in $out"
