#!/usr/bin/env bash
# Rows per second of `tovrik-size batch` on a million mixed rows, beside the obvious awk
# one-liner doing the same sums with printf "%.15G"; then peak memory at one and ten million
# rows, streamed through a pipe so no file of that size is needed.
#   tools/bench/batch.sh            (after building; ROWS=... to change the size)
set -euo pipefail
cd "$(dirname "$0")/../.."
sizer=build/bin/tovrik-size
rows=${ROWS:-1000000}
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

# The diameter alone, as the obvious one-liner computes it.
awk_sizer='BEGIN { FS = "," }
NR == 1 { print $0 ",d,error"; next }
{
    if ($1 == "air") q = $2 * ($4 + 273) * 0.1 / ($3 * 273) / $6
    else if ($1 == "steam") q = $5 * ($2 * 1000) / $6
    else q = $2 / $6
    printf "%s,%.15G,\n", $0, sqrt(q) * 18.8
}'

# The same job as tovrik-size: the diameter and the pipe columns (schedule 40 bore, real
# velocity, usual-velocity check).
awk_full='BEGIN {
    FS = ","
    n = split("15 20 25 32 40 50 65 80 90 100 125 150 200 250 300 350 400 450 500 600", dn, " ")
    split("21.3 26.7 33.4 42.2 48.3 60.3 73.0 88.9 101.6 114.3 141.3 168.3 219.1 273.0 323.8 355.6 406.4 457.0 508.0 610.0", od, " ")
    split("2.77 2.87 3.38 3.56 3.68 3.91 5.16 5.49 5.74 6.02 6.55 7.11 8.18 9.27 10.31 11.13 12.70 14.27 15.09 17.48", wall, " ")
    for (i = 1; i <= n; i++) bore[i] = od[i] - 2 * wall[i]
}
NR == 1 { print $0 ",d,error,DN,ID,v_real,v_check"; next }
{
    if ($1 == "air") { flow = $2 * ($4 + 273) * 0.1 / ($3 * 273) }
    else if ($1 == "steam") { flow = $5 * ($2 * 1000) }
    else { flow = $2 }
    d = sqrt(flow / $6) * 18.8
    for (i = 1; i <= n && bore[i] < d; i++) ;
    if (i > n) { printf "%s,%.15G,,,,,beyond-table\n", $0, d; next }
    v = flow / 3600 / (3.141592653589793 / 4 * (bore[i] / 1000) ^ 2)
    if ($1 == "air") { lo = 8; hi = 15 }
    else if ($1 == "steam") { if (dn[i] < 100) { lo = 20; hi = 40 } else if (dn[i] <= 200) { lo = 30; hi = 50 } else { lo = 40; hi = 60 } }
    else if (dn[i] <= 32) { lo = 0.5; hi = 0.7 } else if (dn[i] <= 50) { lo = 0.7; hi = 1.0 } else if (dn[i] <= 90) { lo = 1.0; hi = 1.6 } else { lo = 0; hi = 2.0 }
    check = v < lo ? "below" : v > hi ? "above" : "inside"
    printf "%s,%.15G,,%d,%.2f,%.2f,%s\n", $0, d, dn[i], bore[i], v, check
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
t_awk=$(best 5 awk "$awk_sizer" "$work/lines.csv")
t_full=$(best 5 awk "$awk_full" "$work/lines.csv")
awk_name=$(readlink -f "$(command -v awk)" | xargs basename)
rate() { echo "$rows / $1" | bc -l; }
printf 'rows: %d (best of 5)\n' "$rows"
printf 'tovrik-size batch (d and pipe columns): %.3f s, %.0f rows/s\n' "$t_sizer" "$(rate "$t_sizer")"
printf '%s, the same columns:               %.3f s, %.0f rows/s, tovrik-size %.2fx faster\n' \
    "$awk_name" "$t_full" "$(rate "$t_full")" "$(echo "$t_full / $t_sizer" | bc -l)"
printf '%s, d alone:                        %.3f s, %.0f rows/s, tovrik-size %.2fx faster\n' \
    "$awk_name" "$t_awk" "$(rate "$t_awk")" "$(echo "$t_awk / $t_sizer" | bc -l)"

for n in 1000000 10000000; do
    kb=$(generate "$n" | /usr/bin/time -f %M "$sizer" batch 2>&1 >/dev/null | tail -n 1)
    printf 'peak memory at %d rows: %d KiB\n' "$n" "$kb"
done
