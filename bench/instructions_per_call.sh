#!/usr/bin/env bash
# Instructions per call of one path, counted by valgrind's callgrind, which
# gives the same count on a loaded machine as on an idle one.
#
#   bench/instructions_per_call.sh VREL_BENCH FILTER FUNCTION
#
# FILTER selects one benchmark (--benchmark_filter); FUNCTION is what its
# timed loop calls: "vrel_script_helper::notify" for the notification cases,
# "bench_component::command" for parent commands, "bench_component::press" for
# the button. Prints the instructions inside FUNCTION, divided by its calls.
set -euo pipefail

program=$1
filter=$2
function=$3

out=$(mktemp)
trap 'rm -f "$out"' EXIT
valgrind --tool=callgrind --callgrind-out-file="$out" "$program" \
    --benchmark_filter="$filter" --benchmark_min_time=0.01 >/dev/null 2>&1

# In the caller tree, the line after the benchmark's own call line names the
# function with its inclusive count; the call line carries the call count.
callgrind_annotate --tree=caller --inclusive=yes "$out" 2>/dev/null |
    awk -v f="$function" '
        / < .*BM_.*\([0-9,]+x\)/ { calls = $0; next }
        calls != "" && index($0, "*  ") && index($0, f) {
            match(calls, /\([0-9,]+x\)/)
            count = substr(calls, RSTART + 1, RLENGTH - 3)
            gsub(",", "", count)
            total = $1
            gsub(",", "", total)
            printf "%s: %d instructions per call (%s in %s calls)\n", f, total / count, total, count
            exit
        }
        { calls = "" }'
