#!/usr/bin/env bash
# Start-to-first-paint and peak memory of Tovrik's window beside a bare Qt window with one
# Chinese label, in the same X server and the same run. Needs xvfb, hyperfine and GNU time.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/bench/require.sh
require hyperfine hyperfine xvfb-run xvfb /usr/bin/time time
bin=build/bin/tovrik-bench-startup
runs=${RUNS:-40}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

xvfb-run -a -s "-screen 0 1024x768x24" bash -c "
    hyperfine --warmup 5 --runs $runs --export-json '$work/startup.json' \
        '$bin tovrik' '$bin bare'
    for mode in tovrik bare; do
        peak=0
        for i in \$(seq 10); do
            kb=\$(/usr/bin/time -f %M $bin \$mode 2>&1 >/dev/null | tail -n 1)
            [ \"\$kb\" -gt \"\$peak\" ] && peak=\$kb
        done
        echo \"\$mode peak RSS: \$peak KiB\"
    done
"
WORK=$work python3 - <<'PY'
import json, os
r = json.load(open(os.path.join(os.environ['WORK'], 'startup.json')))['results']
m = {x['command'].split()[-1]: x['median'] * 1000 for x in r}
print(f"median start to first paint: tovrik {m['tovrik']:.1f} ms, bare {m['bare']:.1f} ms, "
      f"ratio {m['tovrik'] / m['bare']:.3f}")
PY
