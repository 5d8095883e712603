#!/usr/bin/env bash
# Rows per second of two builds of tovrik-size on the same mixed line list (mixed-list.awk), run
# in turn so that both see the same machine, with the median of each; then whether their
# outputs are the same bytes, and each one's peak memory.
#   tools/bench/batch-ratio.sh OLD-tovrik-size NEW-tovrik-size   (ROWS=..., RUNS=... to change)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/require.sh"
require bc bc /usr/bin/time time
old=$1
new=$2
rows=${ROWS:-1000000}
runs=${RUNS:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v n="$rows" -f "$here/mixed-list.awk" > "$work/lines.csv"

seconds() { # program
    local start end
    start=$(date +%s.%N)
    "$1" batch --absolute "$work/lines.csv" > /dev/null || true
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}
median() { sort -g | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'; }

: > "$work/old.times"
: > "$work/new.times"
for _ in $(seq "$runs"); do
    seconds "$old" >> "$work/old.times"
    seconds "$new" >> "$work/new.times"
done
old_s=$(median < "$work/old.times")
new_s=$(median < "$work/new.times")
printf 'old  %.3f s  %.0f rows/s\n' "$old_s" "$(echo "$rows / $old_s" | bc -l)"
printf 'new  %.3f s  %.0f rows/s\n' "$new_s" "$(echo "$rows / $new_s" | bc -l)"
printf 'ratio %.2f (median of %d runs each, in turn)\n' "$(echo "$old_s / $new_s" | bc -l)" "$runs"

"$old" batch --absolute "$work/lines.csv" > "$work/old.csv" || true
"$new" batch --absolute "$work/lines.csv" > "$work/new.csv" || true
if cmp -s "$work/old.csv" "$work/new.csv"; then
    echo "outputs: the same bytes"
else
    echo "outputs differ on $(diff "$work/old.csv" "$work/new.csv" | grep -c '^>') rows"
fi
for program in "$old" "$new"; do
    /usr/bin/time -f "$program: peak %M KiB" "$program" batch --absolute "$work/lines.csv" \
        2>&1 > /dev/null | grep peak || true
done
