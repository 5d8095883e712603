#!/usr/bin/env bash
# Pictures Tovrik.exe under Wine as the user first sees it, the whole window with its title bar
# and menu bar, at 96 dpi or another:
#   tools/wine/screenshot.sh docs/window-windows.png            (after ./dev.sh windows)
#   TOVRIK_DPI=192 tools/wine/screenshot.sh /tmp/window-192.png
# ./dev.sh screenshots installs what it needs and redraws both of the README's pictures.
# Each DPI has a prefix of its own; the screen is large enough for a 2x window.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(realpath -m "${1:?usage: $0 OUTPUT.png}")
exe=${TOVRIK_EXE:-$here/../../build/windows/bin/Tovrik.exe}
# Without these it would wait for ever: import with no window to take asks for a click.
if [ ! -f "$exe" ]; then
    echo "$0: $exe is missing: build it first with ./dev.sh windows" >&2
    exit 1
fi
missing=()
for tool in wine:wine xvfb-run:xvfb xdotool:xdotool import:imagemagick; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool#*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "$0: needs ${missing[*]}: ./dev.sh screenshots installs what the pictures need" >&2
    exit 1
fi
if [ -z "${TOVRIK_ON_XVFB:-}" ]; then
    TOVRIK_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 2048x1536x24" "$0" "$@"
fi
export TOVRIK_DPI=${TOVRIK_DPI:-96}
export TOVRIK_WINEPREFIX=${TOVRIK_WINEPREFIX:-/tmp/tovrik-wine-$(id -u)-$TOVRIK_DPI}
"$here/run.sh" "$exe" &
wid=
# The first start in a new prefix takes about ten seconds.
for _ in $(seq 300); do
    wid=$(xdotool search --name '^Quendal$' 2>/dev/null | head -1) && [ -n "$wid" ] && break
    sleep 0.2
done
if [ -z "$wid" ]; then
    echo "$0: Tovrik.exe showed no window within a minute" >&2
    WINEPREFIX=$TOVRIK_WINEPREFIX wineserver -k || true
    exit 1
fi
sleep 1
# Unmanaged, Wine draws the frame itself: the X window is the whole window, title bar and all.
import -window "$wid" "$out"
WINEPREFIX=$TOVRIK_WINEPREFIX wineserver -k
echo "$out"
