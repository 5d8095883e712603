#!/usr/bin/env bash
# Start to window mapped, and to every control painted, of Tovrik.exe's window beside a bare
# Win32 window with one Chinese label, both under Wine on one Xvfb screen, the runs of the two
# taken in turn so that the machine's drift falls on both alike; medians. Then the size and
# imports of Tovrik.exe.
#   ./dev.sh windows && tools/bench/startup-windows.sh        (RUNS=20 by default)
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/bench/require.sh
require xvfb-run xvfb wine wine
bin=$PWD/build/windows/bin
runs=${RUNS:-20}
if [ -z "${TOVRIK_ON_XVFB:-}" ]; then
    TOVRIK_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEPREFIX=${TOVRIK_WINEPREFIX:-/tmp/tovrik-wine-$(id -u)-bench}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=zh_CN.UTF-8
tools/wine/prefix.sh
wineserver -p </dev/null >/dev/null 2>&1 || true
wine wineboot </dev/null >/dev/null 2>&1
exe=$(winepath -w "$bin/tovrik-bench-startup.exe")
for stage in mapped painted; do
    for _ in $(seq 5); do wine "$exe" tovrik "$stage"; wine "$exe" bare "$stage"; done
    for _ in $(seq "$runs"); do
        for mode in tovrik bare; do
            start=$(date +%s%N)
            wine "$exe" "$mode" "$stage"
            echo "$stage $mode $(( ($(date +%s%N) - start) / 1000 ))"
        done
    done
done > "$work/times.txt"
wineserver -k
WORK=$work python3 - <<'PY'
import os, statistics
times = {}
for line in open(os.path.join(os.environ['WORK'], 'times.txt')):
    stage, mode, micros = line.split()
    times.setdefault((stage, mode), []).append(int(micros) / 1000)
for stage in ('mapped', 'painted'):
    t, b = (statistics.median(times[stage, m]) for m in ('tovrik', 'bare'))
    print(f"median start to window {stage} under Wine: tovrik {t:.1f} ms, bare {b:.1f} ms, "
          f"ratio {t / b:.3f}")
PY
printf 'Tovrik.exe: %d bytes\n' "$(stat -c %s "$bin/Tovrik.exe")"
x86_64-w64-mingw32-objdump -p "$bin/Tovrik.exe" | sed -n 's/^\tDLL Name: /imports /p'
