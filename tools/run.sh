#!/usr/bin/env bash
# Starts the built launcher under Wine. With a display it simply runs there. Without one it
# runs inside Wine's virtual desktop on the build's Xvfb display, waits for the main window,
# writes a screenshot, and closes the launcher the normal way (so it saves its data).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/windows
exe="$build/bin/OrbelsLaunch.exe"
runner="$build/wine-run.sh"

if [ -n "${DISPLAY:-}" ] && [ -z "${OL_SCREENSHOT:-}" ]; then
  OL_DISPLAY="$DISPLAY" exec "$runner" "$exe"
fi

shot="${OL_SCREENSHOT:-$build/screenshots/main-window.png}"
mkdir -p "$(dirname "$shot")"
"$runner" explorer /desktop=orbels,1024x768 "$exe" &
desktop=$!
display=":$(cat "$build/wine/xvfb.display")"
# The launcher is up once Wine lists its window.
for _ in $(seq 1 100); do
  if "$runner" cmd /c 'tasklist' 2>/dev/null | grep -qi orbelslaunch; then break; fi
  sleep 0.2
done
sleep "${OL_SETTLE_SECONDS:-3}"
import -display "$display" -window root "$shot"
echo "Screenshot written to $shot"
"$runner" explorer /desktop=orbels,1024x768 "$build/bin/closewindow.exe" || echo "The launcher did not close by itself." >&2
wait "$desktop" 2>/dev/null || true
