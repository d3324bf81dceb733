#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (AddressSanitizer+UBSan) in
# build/fuzz and runs each for a bounded time, starting from its seed corpus
# and the dictionary. New inputs go to build/fuzz/corpus/<name>, crashes to
# build/fuzz/artifacts/<name>-*, logs to build/fuzz/logs/<name>.log.
#
#   fuzz/run_fuzzers.sh [seconds per harness, default 60] [harness...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=(command_parser notify_stream settings)
jobs=${JOBS:-2}
out=build/fuzz
# The fuzz preset: clang-14, AddressSanitizer+UBSan, the harnesses only.
cmake --preset fuzz >/dev/null
targets=()
for name in "${harnesses[@]}"; do targets+=("fuzz_$name"); done
cmake --build --preset fuzz -j "$jobs" --target "${targets[@]}"

mkdir -p "$out/logs" "$out/artifacts"
passed=0
failed=0
for name in "${harnesses[@]}"; do
    mkdir -p "$out/corpus/$name"
    log="$out/logs/$name.log"
    echo "fuzz_$name: ${seconds} s"
    if "$out/bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
        -dict=fuzz/vrel.dict -artifact_prefix="$out/artifacts/$name-" -print_final_stats=1 \
        "$out/corpus/$name" "fuzz/corpus/$name" >"$log" 2>&1; then
        grep -E '^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$log" | sed 's/^/    /'
        passed=$((passed + 1))
    else
        echo "    FAILED: the input that broke it is in $out/artifacts/$name-*; the end of $log:"
        grep -v -E '^(#[0-9]+|INFO:)' "$log" | tail -40 | sed 's/^/    /'
        echo "    Replay it with $out/bin/fuzz_$name <input>; add it to fuzz/regressions/$name/."
        failed=$((failed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
