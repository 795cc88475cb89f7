#!/usr/bin/env bash
# Writes a screenshot of every controls-demo page into OUT (default out/controls-demo), at the
# default 240 x 400 screen and at 480 x 800 (192 dpi).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
demo="${CONTROLS_DEMO:-$here/../../build/release/tools/controls-demo/controls-demo}"
out="${1:-out/controls-demo}"
mkdir -p "$out/1x" "$out/2x"
(cd "$out/1x" && "$demo" --headless --script "$here/pages.script")
(cd "$out/2x" && "$demo" --headless --screen 480x800 --dpi 192 --script "$here/pages.script")
echo "screenshots in $out/1x and $out/2x"
