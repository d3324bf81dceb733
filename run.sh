#!/usr/bin/env bash
# One entry for building, running and testing the cue control on this machine.
# Each verb first installs what it needs (cmake/setup_machine.sh), then works
# through the CMake presets (CMakePresets.json) and ctest.
#
#   ./run.sh            build what the demo needs and run the demo scenario on
#                       the development host (the main job)
#   ./run.sh build      build everything
#   ./run.sh serve [..] the live page of the facility in a browser (docs/serve.md)
#   ./run.sh test       build everything and run every test
#   ./run.sh asan       build and run every test under AddressSanitizer+UBSan
#   ./run.sh valgrind   run every test under valgrind
#                       (test, asan, valgrind and windows pass further arguments
#                       to ctest, e.g. ./run.sh test -R scenario)
#   ./run.sh deps [job] only install what a job needs (default: build; see cmake/setup_machine.sh)
#   ./run.sh format     apply .clang-format to every C/C++ source file
#   ./run.sh format-check  fail when a source file is not formatted
#   ./run.sh validate   run vrel-validate on Tavrin at the default level, under ASan+UBSan
#   ./run.sh fuzz [s]   build the libFuzzer harnesses and run each s seconds (default 60)
#   ./run.sh bench [..] build and run the benchmarks (arguments go to Google Benchmark)
#   ./run.sh windows    cross-build for 32-bit Windows and test under wine: the tools with
#                       mingw-w64 (windows-x86), then the DLLs a facility loads in the
#                       Microsoft C++ ABI (windows-msvc-x86) (docs/windows.md)
#   ./run.sh other-libraries  build the frame and the components against a second,
#                       test-only string and configuration library (tests/other_libraries),
#                       installed as a vendor ships it, and run the component's tests
#   ./run.sh package    the kit's Linux packages: a .deb and a .tar.gz in build/default
#                       (docs/components.md)
set -euo pipefail
cd "$(dirname "$0")"

jobs=$(nproc 2>/dev/null || echo 2)
setup=cmake/setup_machine.sh

# build <configure preset> [build preset]
build() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "${2:-$1}" -j "$jobs"
}

# The test-only second libraries, installed as a vendor ships them, where the
# other-libraries preset's VREL_SDK_DIR points.
other_libraries() {
    cmake -S tests/other_libraries -B build/other-libraries/build \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build/other-libraries/build -j "$jobs"
    cmake --install build/other-libraries/build --prefix build/other-libraries/sdk >/dev/null
}

# ctest on a preset; a filter that matches nothing in one of several presets is
# not a failure.
windows_tests() {
    local preset=$1
    shift
    ctest --preset "$preset" -j "$jobs" ${1:+--no-tests=ignore} "$@"
}

sources() {
    git ls-files '*.cpp' '*.h' '*.c'
}

demo_intro() {
    cat <<'EOF'

The development host runs examples/scenarios/demo.scenario: it loads
build/default/lib/libTavrin.so with the settings in examples/settings and plays
the panel host around it. Each line of the log: the virtual time, then
  in     a notification to the component    out    a command the component sent
  host   what the emulated host did          reply  the answer to the parent panel
  say    the story so far                    note, PROBLEM  what the host flagged

EOF
}

case "${1:-demo}" in
demo) $setup build && build default demo && demo_intro &&
    build/default/bin/vrel-devhost examples/scenarios/demo.scenario ;;
build) $setup build && build default ;;
serve) $setup build && build default demo &&
    build/default/bin/vrel-devhost serve --settings examples/settings --load Tavrin "${@:2}" ;;
test) $setup build browser && build default && ctest --preset default -j "$jobs" "${@:2}" ;;
asan) $setup build browser && build asan && ctest --preset asan -j "$jobs" "${@:2}" ;;
# ctest's memcheck mode takes the build folder, not a preset.
valgrind) $setup build valgrind && build default && ctest --test-dir build/default -T memcheck \
    -j "$jobs" --output-on-failure --overwrite MemoryCheckCommand="$(command -v valgrind)" \
    --overwrite MemoryCheckCommandOptions="--leak-check=full --error-exitcode=1 --errors-for-leak-kinds=definite" \
    "${@:2}" ;;
deps) $setup "${@:2}" ;;
format) $setup format && sources | xargs clang-format -i ;;
format-check) $setup format && sources | xargs clang-format --dry-run --Werror ;;
validate) $setup build && build asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    build/asan/bin/vrel-validate --level 5 build/asan/lib/libTavrin.so examples/settings ;;
fuzz) $setup fuzz && JOBS=$jobs fuzz/run_fuzzers.sh "${2:-60}" ;;
bench) $setup bench && JOBS=$jobs bench/run_benchmarks.sh "${@:2}" ;;
windows) $setup windows && build windows-x86 && build windows-msvc-x86 &&
    windows_tests windows-x86 "${@:2}" && windows_tests windows-msvc-x86 "${@:2}" ;;
other-libraries) $setup build && other_libraries && build other-libraries &&
    ctest --preset other-libraries -j "$jobs" "${@:2}" ;;
package) $setup build && build default && (cd build/default && cpack -G "DEB;TGZ") ;;
*)
    echo "usage: $0 [demo|build|serve|test|asan|valgrind|deps|format|format-check|validate|fuzz|bench|windows|other-libraries|package]" >&2
    exit 2
    ;;
esac
