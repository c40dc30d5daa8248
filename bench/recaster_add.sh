#!/usr/bin/env bash
# Makes 200 short media files (MP4, AVI and MP3 in turn) once in $BENCH_DIR
# and runs the converter's add-routine benchmark on them.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bench="${BUILD_DIR:-$here/build}/bin/rc_bench"
dir="${BENCH_DIR:-/tmp/rc-bench-inputs}/add200"
mkdir -p "$dir"
if [ ! -f "$dir/done" ]; then
  ffmpeg -v error -y -f lavfi -i "testsrc=size=640x360:rate=25:duration=4" -f lavfi -i "sine=frequency=440:duration=4" \
    -c:v libx264 -pix_fmt yuv420p -c:a aac -shortest "$dir/seed.mp4"
  ffmpeg -v error -y -f lavfi -i "testsrc=size=352x288:rate=25:duration=4" -f lavfi -i "sine=frequency=330:duration=4" \
    -c:v mpeg4 -c:a libmp3lame -shortest "$dir/seed.avi"
  ffmpeg -v error -y -f lavfi -i "sine=frequency=550:duration=4" -c:a libmp3lame -b:a 128k "$dir/seed.mp3"
  for i in $(seq -w 1 200); do
    case $((10#$i % 3)) in
      0) cp "$dir/seed.mp4" "$dir/f$i.mp4" ;;
      1) cp "$dir/seed.avi" "$dir/f$i.avi" ;;
      2) cp "$dir/seed.mp3" "$dir/f$i.mp3" ;;
    esac
  done
  touch "$dir/done"
fi
"$bench" add "$dir"/f*.*
