#!/usr/bin/env bash
# Builds the box and starts it under Wine. With a display ($DISPLAY) it runs
# until you close it; without one it runs inside Xvfb for TVK_RUN_SECONDS
# seconds (default 15) and leaves a screenshot in build/screenshot.png.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"

bash scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target tvkitbox

headless=0
if [ -z "${DISPLAY:-}" ]; then headless=1; else export TVK_KEEP_DISPLAY=1; fi
# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh
wine_session_start

exe="$here/build/win32/tvkitbox.exe"
echo "[run] starting $exe"
if [ $headless = 1 ]; then
  scripts/wine-run.sh "$exe" &
  box=$!
  sleep "${TVK_RUN_SECONDS:-15}"
  xwd -root -silent | convert xwd:- "$here/build/screenshot.png" && echo "[run] screenshot: build/screenshot.png"
  kill "$box" 2>/dev/null || true
else
  scripts/wine-run.sh "$exe"
fi
