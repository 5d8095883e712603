#!/usr/bin/env bash
# Rows per second of `tovrik-size batch` on a million mixed rows, beside awk computing the same
# columns (tools/bench/same-columns.awk, on fewer rows: it is slow) and the obvious awk one-liner
# computing d alone with printf "%.15G"; then peak memory at one and ten million rows, streamed
# through a pipe so no file of that size is needed.
#   tools/bench/batch.sh            (after building; ROWS=... and AWK_ROWS=... change the sizes)
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/bench/require.sh
require bc bc /usr/bin/time time
sizer=build/bin/tovrik-size
rows=${ROWS:-1000000}
awk_rows=${AWK_ROWS:-50000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

generate() { # rows
    awk -v n="$1" 'BEGIN {
        print "medium,Q,P,T,u,v"
        srand(7)
        for (i = 0; i < n; i++) {
            k = i % 3
            if (k == 0) printf "air,%d,%.2f,%d,,%d\n", 100 + int(rand() * 5000), 0.2 + rand(), int(rand() * 60), 8 + int(rand() * 7)
            else if (k == 1) printf "steam,%.1f,,,%.4f,%d\n", 1 + rand() * 20, 0.2 + rand() * 0.3, 20 + int(rand() * 40)
            else printf "water,%d,,,,%.1f\n", 1 + int(rand() * 500), 0.5 + rand() * 1.5
        }
    }'
}

generate "$rows" > "$work/lines.csv"
head -n $((awk_rows + 1)) "$work/lines.csv" > "$work/few.csv"

# The diameter alone, as the obvious one-liner computes it.
awk_sizer='BEGIN { FS = "," }
NR == 1 { print $0 ",d,error"; next }
{
    if ($1 == "air") q = $2 * ($4 + 273) * 0.1 / ($3 * 273) / $6
    else if ($1 == "steam") q = $5 * ($2 * 1000) / $6
    else q = $2 / $6
    printf "%s,%.15G,\n", $0, sqrt(q) * 18.8
}'

seconds() { # command...
    local start end
    start=$(date +%s.%N)
    "$@" > /dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}

best() { # runs, command...
    local runs=$1 best= t
    shift
    for _ in $(seq "$runs"); do
        t=$(seconds "$@")
        if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
    done
    echo "$best"
}

"$sizer" batch "$work/lines.csv" > /dev/null || true
t_sizer=$(best 5 "$sizer" batch "$work/lines.csv")
t_full=$(best 3 awk -f tools/bench/same-columns.awk "$work/few.csv")
t_awk=$(best 5 awk "$awk_sizer" "$work/lines.csv")
if ! cmp -s <("$sizer" batch "$work/few.csv") <(awk -f tools/bench/same-columns.awk "$work/few.csv"); then
    echo "note: awk's columns differ from tovrik-size's on some rows" >&2
fi
awk_name=$(readlink -f "$(command -v awk)" | xargs basename)
rate() { echo "$1 / $2" | bc -l; } # rows, seconds
r_sizer=$(rate "$rows" "$t_sizer")
r_full=$(rate "$awk_rows" "$t_full")
r_awk=$(rate "$rows" "$t_awk")
printf 'tovrik-size batch, every column, %d rows:    %.3f s, %.0f rows/s\n' "$rows" "$t_sizer" "$r_sizer"
printf '%s, the same columns, %d rows:       %.3f s, %.0f rows/s, tovrik-size %.1fx faster\n' \
    "$awk_name" "$awk_rows" "$t_full" "$r_full" "$(echo "$r_sizer / $r_full" | bc -l)"
printf '%s, d alone, %d rows:                 %.3f s, %.0f rows/s, tovrik-size %.2fx faster\n' \
    "$awk_name" "$rows" "$t_awk" "$r_awk" "$(echo "$r_sizer / $r_awk" | bc -l)"

for n in 1000000 10000000; do
    kb=$(generate "$n" | /usr/bin/time -f %M "$sizer" batch 2>&1 >/dev/null | tail -n 1)
    printf 'peak memory at %d rows: %d KiB\n' "$n" "$kb"
done
