#!/usr/bin/env bash
# Makes the benchmark inputs (60-minute MP3 and WAV at 44.1 kHz stereo, a
# 2-hour 48 kHz stereo WAV) once in $BENCH_DIR and runs every case.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bench="${BUILD_DIR:-$here/build}/bin/sw_bench"
dir="${BENCH_DIR:-/tmp/sw-bench-inputs}"
mkdir -p "$dir"
if [ ! -f "$dir/hour.wav" ]; then
  ffmpeg -v error -y -f lavfi -i "anoisesrc=color=pink:sample_rate=44100:amplitude=0.3:duration=3600" \
    -f lavfi -i "sine=frequency=330:sample_rate=44100:duration=3600" \
    -filter_complex "[0][1]amerge=inputs=2" -ac 2 -c:a pcm_s16le "$dir/hour.wav"
fi
[ -f "$dir/hour.mp3" ] || lame --quiet -b 128 "$dir/hour.wav" "$dir/hour.mp3"
if [ ! -f "$dir/twohours48k.wav" ]; then
  ffmpeg -v error -y -f lavfi -i "anoisesrc=color=pink:sample_rate=48000:amplitude=0.3:duration=7200" \
    -ac 2 -c:a pcm_s16le "$dir/twohours48k.wav"
fi
"$bench" open "$dir/hour.mp3" "$dir/hour.wav"
"$bench" save "$dir/hour.wav"
"$bench" edits
"$bench" memory "$dir/twohours48k.wav"
"$here/bench/recaster_add.sh"
