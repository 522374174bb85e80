#!/usr/bin/env bash
# Starts the example tour: in a window when there is a display, otherwise headless with its
# walkthrough, printing the trace and keeping screenshots of every frame.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
run="$root/$build/apps/run/mebrox-run"
tour="$root/$build/examples/tour"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting the tour; close the welcome window to end it."
  exec "$run" "$tour/Tour.dpr"
fi

shots="$root/$build/screenshots"
rm -rf "$shots"
mkdir -p "$shots"
rm -f "$tour/Tour.RUN"
cd "$shots"
echo "No display: walking through the tour headless ($tour/walkthrough.txt)."
echo
"$run" --headless --screenshots "$shots" --script "$tour/walkthrough.txt" "$tour/Tour.dpr"
echo
echo "Second start: the bookmark offers to continue ($tour/walkthrough-resume.txt)."
echo
"$run" --headless --screenshots "$shots/resume" --script "$tour/walkthrough-resume.txt" "$tour/Tour.dpr"
echo
echo "Screenshots of every frame and popup: $shots"
