#!/usr/bin/env bash
# Sets up (packages, build) and starts soundwright on the bundled demo recording.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"
app="$here/${BUILD_DIR:-build}/bin/soundwright"
exec "$app/soundwright" "$app/sample.wav"
