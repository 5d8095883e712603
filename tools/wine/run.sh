#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's test prefix, which it prepares on first
# use. ctest runs the Windows test programs through it (CMAKE_CROSSCOMPILING_EMULATOR).
#   tools/wine/run.sh build/windows/bin/Tovrik.exe
# TOVRIK_WINEPREFIX chooses the prefix (a folder under /tmp by default), TOVRIK_DPI its DPI,
# and LANG the locale the program sees (Chinese, PRC, by default).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${TOVRIK_WINEPREFIX:-/tmp/tovrik-wine-$(id -u)}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=${TOVRIK_WINE_LANG:-zh_CN.UTF-8}
"$here/prefix.sh"
# Wine's services start with the first program and inherit its stdio, which would keep ctest
# waiting on them: start them apart, on /dev/null, and keep the server for the next program.
wineserver -p </dev/null >/dev/null 2>&1 || true
wine wineboot </dev/null >/dev/null 2>&1
exec wine "$@"
