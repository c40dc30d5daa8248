#!/usr/bin/env bash
# Renders recaster's pages, log window and about box offscreen to PNG files in
# shots/recaster/, once per layout variant (Skin 0 to 3), with a few probed
# files in the input list.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
app="${BUILD_DIR:-$here/build}/bin/recaster"
out="$here/shots/recaster"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config"
ffmpeg -v error -y -f lavfi -i "testsrc=size=320x240:rate=25:duration=3" -f lavfi -i "sine=duration=3" \
  -c:v libx264 -pix_fmt yuv420p -c:a aac -shortest "$work/Holiday clip.mp4"
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=5" -c:a libmp3lame -b:a 128k "$work/Song.mp3"
media="$work/Holiday clip.mp4:$work/Song.mp3"
for skin in 0 1 2 3; do
  dir="$work/skin$skin"
  mkdir -p "$dir"
  cp -r "$app/recaster" "$app/sounds" "$app/icons" "$dir/"
  sed "s/^Skin=.*/Skin=$skin/" "$app/lame.dll" > "$dir/lame.dll"
  RC_SCREENSHOT_DIR="$out" RC_SCREENSHOT_PREFIX="skin${skin}_" RC_SCREENSHOT_MEDIA="$media" \
    "$dir/recaster" 2>/dev/null
done
echo "pictures in $out"
