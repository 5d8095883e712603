#!/usr/bin/env bash
# Pictures Tovrik.exe under Wine as the user first sees it, at 96 dpi or another:
#   tools/wine/screenshot.sh docs/window-windows.png            (after ./dev.sh windows)
#   TOVRIK_DPI=192 tools/wine/screenshot.sh /tmp/window-192.png
# Each DPI has a prefix of its own; the screen is large enough for a 2x window.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${TOVRIK_ON_XVFB:-}" ]; then
    TOVRIK_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 2048x1536x24" "$0" "$@"
fi
out=$(realpath -m "$1")
exe=${TOVRIK_EXE:-$here/../../build/windows/bin/Tovrik.exe}
export TOVRIK_DPI=${TOVRIK_DPI:-96}
export TOVRIK_WINEPREFIX=${TOVRIK_WINEPREFIX:-/tmp/tovrik-wine-$(id -u)-$TOVRIK_DPI}
"$here/run.sh" "$exe" &
wid=
for _ in $(seq 100); do
    wid=$(xdotool search --name '^Quendal$' 2>/dev/null | head -1) && [ -n "$wid" ] && break
    sleep 0.2
done
sleep 1
import -window "$wid" "$out"
WINEPREFIX=$TOVRIK_WINEPREFIX wineserver -k
echo "$out"
