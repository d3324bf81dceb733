#!/usr/bin/env bash
# Builds the benchmarks with the bench preset (build/bench, the default
# optimisation) and runs them. Arguments go to the benchmark executable, e.g.
#   bench/run_benchmarks.sh --benchmark_filter=Take --benchmark_repetitions=5
# The component's diagnostics (written on every take without cue) go to
# build/bench/diagnostics.log rather than the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${JOBS:-2}
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$jobs"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
build/bench/bin/vrel_bench "$@" 2>build/bench/diagnostics.log
