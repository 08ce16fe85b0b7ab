#!/usr/bin/env bash
# Loads one generated catalog file of COUNT entries (default a million) with `orvan-cli
# query` and parses the same file with `xmllint --stream --noout` in the same run, each as
# a whole process, and prints their medians, the ratio and orvan-cli's peak resident memory.
#   bench/load_vs_xmllint.sh [COUNT] [RUNS]
# Builds the Release tools through scripts/build.sh release; ORVAN_BENCH_DIR picks the folder
# for the file (default the system's temporary folder; a million entries take about 170 MB).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
count=${1:-1000000}
runs=${2:-5}
command -v xmllint >/dev/null 2>&1 || { echo "load_vs_xmllint: xmllint is missing (package libxml2-utils)" >&2; exit 2; }
"$root/scripts/build.sh" release >/dev/null
dir=$root/build/release
work=$(mktemp -d "${ORVAN_BENCH_DIR:-${TMPDIR:-/tmp}}/orvan-load.XXXXXX")
trap 'rm -rf "$work"' EXIT

# orvan-cli finds the catalog beside the options file: Orvan.ini → Orvan_Catalog.xml.
: > "$work/Orvan.ini"
"$dir/bench/orvan_make_catalog" "$count" "$work/Orvan_Catalog.xml"
size=$(stat -c %s "$work/Orvan_Catalog.xml")

# The median of RUNS wall times (ms) of a command; the last run's peak memory (kB) stays
# in $work/rss.
median_ms() {
    local times=() t start end
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s%N)
        /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>"$work/err" || {
            cat "$work/err" >&2; return 1; }
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

# A query that matches nothing, so that the time is the load and not the printing.
orvan=$(median_ms "$dir/src/cli/orvan-cli" query --options "$work/Orvan.ini" -- zzqqzz)
orvan_peak=$(tail -n1 "$work/rss")
xml=$(median_ms xmllint --stream --noout "$work/Orvan_Catalog.xml")
xml_peak=$(tail -n1 "$work/rss")
echo "catalog: $count entries, $((size / 1000000)) MB; medians of $runs runs"
echo "orvan-cli query:        $orvan ms, peak $((orvan_peak / 1024)) MB"
echo "xmllint --stream:       $xml ms, peak $((xml_peak / 1024)) MB"
awk -v a="$orvan" -v b="$xml" 'BEGIN { printf "ratio orvan-cli/xmllint: %.2f\n", a / b }'
