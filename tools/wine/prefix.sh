#!/usr/bin/env bash
# Prepares the throw-away Wine prefix the Windows programs are tested and pictured in, once:
# SimSun (宋体) replaced by AR PL UMing CN as on Linux, Wine's own fonts installed, message
# boxes that close at once without a window manager, and the DPI given (96 unless TOVRIK_DPI).
#   tools/wine/prefix.sh            (WINEPREFIX must be set)
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX}"
dpi=${TOVRIK_DPI:-96}
marker="$WINEPREFIX/.tovrik-$dpi"
[ -e "$marker" ] && exit 0

mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX/.tovrik-lock"
flock 9
[ -e "$marker" ] && exit 0
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's services inherit the stdio of whoever starts them: keep ctest's pipes out of reach. The
# server stays (-p) so that each test program starts in half a second, not ten.
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot -i </dev/null >/dev/null 2>&1
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -n /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true

# regedit reads UTF-16LE with a byte-order mark and CRLF; in UTF-8 宋体 arrives garbled.
reg=$(mktemp --suffix=.reg)
{
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for name in SimSun 宋体 NSimSun 新宋体; do
        printf '"%s"="AR PL UMing CN"\r\n' "$name"
    done
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
    printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$dpi"
    printf '\r\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]\r\n"LogPixels"=dword:%08x\r\n' "$dpi"
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
wine regedit /S "$(winepath -w "$reg")" </dev/null >/dev/null 2>&1
rm -f "$reg" "$WINEPREFIX"/.tovrik-*
touch "$marker"
