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
#   ./run.sh windows    cross-build Tavrin.dll for 32-bit Windows, run its tests under wine
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

# The Windows cross-build: the compiler, wine with its 32-bit loader (and the
# 64-bit one, whose wine server runs natively even where 32-bit programs need
# an emulator), the tools that fetch pugixml's source package, and
# GoogleTest's source.
WINDOWS_PACKAGES=(cmake make g++-mingw-w64-i686 wine wine32:i386 wine32-preloader:i386 wine64 dpkg-dev
    libgtest-dev libgmock-dev)

# The wine prefix of the Windows tests (as cmake/run_under_wine.sh finds it).
wine_prefix() {
    echo "${VREL_WINEPREFIX:-${HOME:-/tmp}/.cache/vrel-wine}"
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

windows_setup() {
    local sources_changed=0
    # wine32 is an i386 package.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
        sources_changed=1
    fi
    # `apt-get source` needs a deb-src entry beside each deb one.
    if ! grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
                as_root tee /etc/apt/sources.list.d/vrel-deb-src.sources >/dev/null
        fi
        if [ -f /etc/apt/sources.list ]; then
            sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
                as_root tee /etc/apt/sources.list.d/vrel-deb-src.list >/dev/null
        fi
        sources_changed=1
    fi
    [ "$sources_changed" -eq 0 ] || as_root apt-get update -qq
    install_missing "${WINDOWS_PACKAGES[@]}"

    # A kernel without 32-bit emulation cannot start wine's 32-bit loader;
    # there it runs through qemu's user-mode emulator, registered for i386
    # programs with binfmt_misc.
    if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        echo "32-bit programs cannot run natively here: running wine through qemu-i386"
        install_missing qemu-user-static
        local binfmt=/proc/sys/fs/binfmt_misc
        [ -e "$binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt"
        if [ ! -e "$binfmt/qemu-i386" ]; then
            local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
            local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
            echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:FP" |
                as_root tee "$binfmt/register" >/dev/null
        fi
        /usr/lib/wine/wine --version >/dev/null
    fi

    # pugixml's source package, unpacked outside the tracked tree.
    if ! compgen -G "build/deps/pugixml-*/src/pugixml.cpp" >/dev/null; then
        mkdir -p build/deps
        (cd build/deps && apt-get source -qq pugixml)
    fi
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
windows)
    windows_setup
    cmake --preset windows-x86 >/dev/null
    cmake --build --preset windows-x86 -j "$jobs"
    echo "Built: build/windows-x86/bin/Tavrin.dll (with p1.vrel_ui beside it)"
    # The wine prefix every test program shares, set up with no wine server
    # left running for it (one kept alive by an interrupted run would keep the
    # set-up waiting). Then one wine server for the whole run: wine's own
    # services start once instead of once per test program, which under
    # qemu-user takes seconds each time. It is stopped when this script ends.
    WINEPREFIX="$(wine_prefix)" wineserver -k 2>/dev/null || true
    echo "Preparing the wine prefix"
    cmake/run_under_wine.sh
    WINEPREFIX="$(wine_prefix)" wineserver -p
    trap 'WINEPREFIX="$(wine_prefix)" wineserver -k 2>/dev/null || true' EXIT
    cmake/run_under_wine.sh cmd /c exit 0 >build/windows-x86/wine-start.log 2>&1 || true
    # Where wine runs through qemu-user, a process is now and then corrupted
    # (nearly always once it has a second thread and raises an exception, as
    # every OutputDebugStringA does), so a test gets a second run (about one
    # run in a thousand needed it here); the preset's 60 s limit ends a hung
    # run, where the slowest test passes in a few seconds.
    ctest --preset windows-x86 -j "$jobs" --repeat until-pass:2
    ;;
bench)
    install_missing cmake make g++ libbenchmark-dev libpugixml-dev
    JOBS=$jobs bench/run_benchmarks.sh "${@:2}"
    ;;
*)
    echo "usage: $0 [build|test|asan|valgrind|deps|format|format-check|validate|fuzz|bench|windows]" >&2
    exit 2
    ;;
esac
