#!/usr/bin/env bash
# Time and peak memory of printing an HTML file to PDF as Tovrik prints it (build/bin/
# tovrik-print, which runs the headless browser base/browser.cpp finds), over every process
# of the browser: it forks a dozen (zygotes, renderers, a GPU and a network process, crash
# handlers that leave its process group), so /usr/bin/time's maximum resident set, which is
# the largest single process, is not the whole. Every 100 ms the script adds up the resident
# (RSS) and proportional (PSS: shared pages split between their sharers) sizes of the browser's
# processes and keeps the largest sums.
#   tools/bench/pdf.sh PAGE.html        (after building; RUNS=3 by default)
#   tools/bench/pdf.sh --tables=100     a generated document of 100 A4 pages of tables
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/bench/require.sh
require /usr/bin/time time pdfinfo poppler-utils
printer=build/bin/tovrik-print
[ -x "$printer" ] || printer=build/release/bin/tovrik-print
[ -x "$printer" ] || { echo "build first: $printer is missing" >&2; exit 1; }
runs=${RUNS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# N A4 pages of a table of figures, 40 rows a page, its header repeated on each.
tables() { # pages
    awk -v pages="$1" 'BEGIN {
        print "<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><style>"
        print "@page { size: A4; margin: 15mm; @bottom-center { content: \"第 \" counter(page) \" 页 共 \" counter(pages) \" 页\"; } }"
        print "table { border-collapse: collapse; width: 100%; font-size: 9pt; }"
        print "td, th { border: 1px solid #888; padding: 1mm 2mm; text-align: right; }"
        print "tr { break-inside: avoid; }"
        print "</style></head><body><table><thead><tr><th>管线号</th><th>介质</th><th>流量</th>"
        print "<th>压力 MPa</th><th>温度 ℃</th><th>管径 mm</th><th>流速 m/s</th><th>压降 kPa</th></tr></thead><tbody>"
        srand(7)
        for (i = 1; i <= pages * 40; i++)
            printf "<tr><td>L-%05d</td><td>蒸汽</td><td>%.2f</td><td>%.3f</td><td>%.1f</td><td>%.2f</td><td>%.2f</td><td>%.1f</td></tr>\n", i, rand() * 50, rand(), 100 + rand() * 200, 20 + rand() * 200, rand() * 40, rand() * 60
        print "</tbody></table></body></html>"
    }'
}

case "${1:-}" in
--tables=*)
    page="$work/tables.html"
    tables "${1#--tables=}" > "$page"
    ;;
"")
    echo "usage: $0 PAGE.html | --tables=PAGES" >&2
    exit 2
    ;;
*) page=$(readlink -f "$1") ;;
esac

# The largest sums of RSS and PSS, in KiB, of the browser's processes, sampled until process $2
# ends: those whose environment names $1 (the browser and its crash handlers; Chromium gives
# its zygotes an environment of their own) and every member of their process groups.
sample() { # marker pid
    local marker=$1 watched=$2 rss=0 pss=0 r p markers files
    while kill -0 "$watched" 2>/dev/null; do
        markers=" $( (grep -lsa -- "$marker" /proc/[0-9]*/environ || true) | cut -d/ -f3 | tr '\n' ' ') "
        files=$(ps -eo pid=,pgid= | awk -v m="$markers" \
            'index(m, " " $1 " ") || index(m, " " $2 " ") { print "/proc/" $1 "/smaps_rollup" }')
        if [ -n "$files" ]; then
            # shellcheck disable=SC2086 # one path a word
            read -r r p < <(awk '/^Rss:/ { r += $2 } /^Pss:/ { p += $2 } END { print r + 0, p + 0 }' \
                $files 2>/dev/null || echo "0 0")
            [ "$r" -gt "$rss" ] && rss=$r
            [ "$p" -gt "$pss" ] && pss=$p
        fi
        sleep 0.1
    done
    echo "$rss $pss"
}

command -v chromium >/dev/null && chromium --version 2>/dev/null | grep -v '^\[' || true
# Timed alone, the sampler being a load of its own on two cores; then weighed once.
print_once() { # then the time and pages are in $work/time and $work/pages
    mkdir -p "$work/tmp"
    TMPDIR="$work/tmp" /usr/bin/time -f '%e %M' -o "$work/time" "$printer" "$page" "$work/out.pdf" &
    printing=$!
    if [ "${1:-}" = weigh ]; then sample "TMPDIR=$work/tmp/tovrik-print-" "$printing" > "$work/sums"; fi
    wait "$printing"
    pdfinfo "$work/out.pdf" | awk '/^Pages:/ { print $2 }' > "$work/pages"
    rm -f "$work/out.pdf"
}
for run in $(seq "$runs"); do
    print_once
    read -r seconds largest < "$work/time"
    printf 'run %d: %d pages in %s s\n' "$run" "$(cat "$work/pages")" "$seconds"
done
print_once weigh
read -r _ largest < "$work/time"
read -r rss pss < "$work/sums"
printf 'peak over all its processes: %d MiB PSS (%d MiB RSS, shared pages counted in each); largest single process %d MiB\n' \
    $((pss / 1024)) $((rss / 1024)) $((largest / 1024))
printf 'HTML %d KiB, PDF written to a temporary folder and removed\n' $(($(stat -c %s "$page") / 1024))
