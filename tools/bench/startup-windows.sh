#!/usr/bin/env bash
# Start to window shown of Tovrik.exe's window beside a bare Win32 window with one Chinese label,
# both under Wine on one Xvfb screen, in one run; and the size and imports of Tovrik.exe.
#   ./dev.sh windows && tools/bench/startup-windows.sh        (RUNS=20 by default)
set -euo pipefail
cd "$(dirname "$0")/../.."
bin=$PWD/build/windows/bin
runs=${RUNS:-20}
if [ -z "${TOVRIK_ON_XVFB:-}" ]; then
    TOVRIK_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
export WINEPREFIX=${TOVRIK_WINEPREFIX:-/tmp/tovrik-wine-$(id -u)-bench}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=zh_CN.UTF-8
tools/wine/prefix.sh
wineserver -p </dev/null >/dev/null 2>&1 || true
wine wineboot </dev/null >/dev/null 2>&1
hyperfine --warmup 5 --runs "$runs" --export-json /tmp/tovrik-startup-windows.json \
    "wine $bin/tovrik-bench-startup.exe tovrik" "wine $bin/tovrik-bench-startup.exe bare"
wineserver -k
python3 - <<'PY'
import json
r = json.load(open('/tmp/tovrik-startup-windows.json'))['results']
m = {x['command'].split()[-1]: x['median'] * 1000 for x in r}
print(f"median start to window shown under Wine: tovrik {m['tovrik']:.1f} ms, "
      f"bare {m['bare']:.1f} ms, ratio {m['tovrik'] / m['bare']:.3f}")
PY
printf 'Tovrik.exe: %d bytes\n' "$(stat -c %s "$bin/Tovrik.exe")"
x86_64-w64-mingw32-objdump -p "$bin/Tovrik.exe" | sed -n 's/^\tDLL Name: /imports /p'
