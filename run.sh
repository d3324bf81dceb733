#!/usr/bin/env bash
# One entry for building, running and testing the cue control on this machine.
#
#   ./run.sh            build everything, then run the demo scenario on the
#                       development host (the main job)
#   ./run.sh build      only build everything
#   ./run.sh test       build and run every test
#   ./run.sh asan       build and run every test under AddressSanitizer+UBSan
#   ./run.sh valgrind   run every test under valgrind (after ./run.sh test)
#   ./run.sh deps       only install what the build needs
#   ./run.sh format     apply .clang-format to every source file
#   ./run.sh format-check  fail when a source file is not formatted
#   ./run.sh validate   run vrel-validate on Tavrin at the default level, under ASan+UBSan
#   ./run.sh fuzz [s]   build the libFuzzer harnesses and run each s seconds (default 60)
#   ./run.sh bench [..] build and run the benchmarks (arguments go to Google Benchmark)
set -euo pipefail
cd "$(dirname "$0")"

# Debian packages the build and tests need.
PACKAGES=(cmake make g++ pkg-config libgtest-dev libgmock-dev libpugixml-dev)

install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null
    fi
}

jobs=$(nproc 2>/dev/null || echo 2)

build() {
    local preset=$1
    install_missing "${PACKAGES[@]}"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
}

sources() {
    git ls-files '*.cpp' '*.h' '*.c'
}

case "${1:-demo}" in
demo)
    build default
    cat <<'EOF'

The development host runs examples/scenarios/demo.scenario: it loads
build/default/lib/libTavrin.so with the settings in examples/settings and plays
the panel host around it. Each line of the log: the virtual time, then
  in     a notification to the component    out    a command the component sent
  host   what the emulated host did          reply  the answer to the parent panel
  say    the story so far                    note, PROBLEM  what the host flagged

EOF
    build/default/bin/vrel-devhost examples/scenarios/demo.scenario
    ;;
build)
    build default
    echo "Built: build/default/lib/libTavrin.so (with p1.vrel_ui and the two stand-in libraries beside it)"
    ;;
test)
    build default
    ctest --preset default -j "$jobs"
    ;;
asan)
    build asan
    ctest --preset asan -j "$jobs"
    ;;
valgrind)
    install_missing valgrind
    build default
    ctest --preset default -T memcheck --overwrite MemoryCheckCommandOptions="--leak-check=full --error-exitcode=1 --errors-for-leak-kinds=definite"
    ;;
deps)
    install_missing "${PACKAGES[@]}"
    ;;
format)
    install_missing clang-format
    sources | xargs clang-format -i
    ;;
format-check)
    install_missing clang-format
    sources | xargs clang-format --dry-run --Werror
    ;;
validate)
    build asan
    start=$SECONDS
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        build/asan/bin/vrel-validate --level 5 build/asan/lib/libTavrin.so examples/settings
    echo "vrel-validate took $((SECONDS - start)) s"
    ;;
fuzz)
    install_missing cmake make clang-14 libclang-rt-14-dev libpugixml-dev
    JOBS=$jobs fuzz/run_fuzzers.sh "${2:-60}"
    ;;
bench)
    install_missing cmake make g++ libbenchmark-dev libpugixml-dev
    JOBS=$jobs bench/run_benchmarks.sh "${@:2}"
    ;;
*)
    echo "usage: $0 [build|test|asan|valgrind|deps|format|format-check|validate|fuzz|bench]" >&2
    exit 2
    ;;
esac
