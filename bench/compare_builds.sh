#!/usr/bin/env bash
# Runs two builds of vrel_bench in alternating rounds, so that both meet the
# same load on a shared machine, and prints for every case the median CPU time
# of each build, their ratio, and the allocations per operation of each.
#
#   bench/compare_builds.sh OLD_VREL_BENCH NEW_VREL_BENCH [ROUNDS [ARGS...]]
#
# ROUNDS defaults to 5; ARGS go to both runs (e.g. --benchmark_filter=Parent).
# Diagnostics the component writes go to /dev/null.
set -euo pipefail

old=$1
new=$2
rounds=${3:-5}
shift $(($# < 3 ? $# : 3))

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for round in $(seq 1 "$rounds"); do
    for side in old new; do
        program=$old
        [ "$side" = new ] && program=$new
        # A line: name, time, unit, CPU time, unit, iterations, counters.
        "$program" --benchmark_min_time=0.3 "$@" 2>/dev/null |
            awk -v side="$side" '/^BM_/ {
                allocs = "-"
                for (i = 7; i <= NF; ++i) {
                    if ($i ~ /^allocs\/op=/) { allocs = substr($i, 11) }
                }
                print side, $1, $4, $5, allocs
            }' >>"$work/runs"
    done
    echo "round $round of $rounds done" >&2
done

median() {
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

printf '%-44s %12s %12s %5s %7s %11s %11s\n' case old new unit new/old "old allocs" "new allocs"
awk '$1 == "new" { print $2 }' "$work/runs" | awk '!seen[$0]++' | while read -r name; do
    oldTime=$(awk -v n="$name" '$1 == "old" && $2 == n { print $3 }' "$work/runs" | median)
    newTime=$(awk -v n="$name" '$1 == "new" && $2 == n { print $3 }' "$work/runs" | median)
    unit=$(awk -v n="$name" '$1 == "new" && $2 == n { print $4; exit }' "$work/runs")
    oldAllocs=$(awk -v n="$name" '$1 == "old" && $2 == n { print $5; exit }' "$work/runs")
    newAllocs=$(awk -v n="$name" '$1 == "new" && $2 == n { print $5; exit }' "$work/runs")
    if [ -z "$oldTime" ]; then
        printf '%-44s %12s %12s %5s %7s %11s %11s\n' "$name" - "$newTime" "$unit" - - "$newAllocs"
    else
        ratio=$(awk -v a="$oldTime" -v b="$newTime" 'BEGIN { printf "%.2f", b / a }')
        printf '%-44s %12s %12s %5s %7s %11s %11s\n' "$name" "$oldTime" "$newTime" "$unit" \
            "$ratio" "$oldAllocs" "$newAllocs"
    fi
done
