#!/usr/bin/env bash
# Prepares this Debian machine for what the named jobs need, installing only
# what is missing (as root, or through sudo):
#
#   cmake/setup_machine.sh [job...]     (default: build)
#
#   build     compilers, CMake, GoogleTest, pugixml, CLI11: the demo and the tests
#             (and dpkg-dev for the kit's .deb)
#   windows   the 32-bit Windows cross-build and its tests under wine: the i386
#             architecture, a deb-src entry, mingw-w64, wine, clang and lld,
#             qemu-user for i386 programs where the kernel cannot run them, and
#             pugixml's source in build/deps/
#   fuzz      clang-14 with its sanitizer and libFuzzer runtimes
#   browser   Chromium and the browser test's node modules (npm ci)
#   bench     Google Benchmark
#   format    clang-format
#   valgrind  valgrind
#   all       every job above
#
# It is safe to run again: a machine that has everything is left untouched,
# and no package list is fetched then.
set -euo pipefail
tree="$(cd "$(dirname "$0")/.." && pwd)"

# The kit's .deb (cpack -G DEB, made by a test) reads the tools' library
# dependencies with dpkg-shlibdeps (dpkg-dev), which needs file.
BUILD_PACKAGES=(cmake make g++ pkg-config libgtest-dev libgmock-dev libpugixml-dev libcli11-dev
    libcpp-httplib-dev nlohmann-json3-dev libedit-dev tmux dpkg-dev file)
# The live page's browser test: Debian's Chromium, driven by playwright-core
# from npm (the machine's Node.js; no browser is downloaded).
BROWSER_PACKAGES=(chromium)
# The cross compiler; wine with its 32-bit loader and, for its native wine
# server, the 64-bit one; the tools that fetch a source package; GoogleTest's
# source (compiled for Windows); clang and lld for the host test built for the
# Microsoft C++ ABI.
WINDOWS_PACKAGES=(cmake make g++-mingw-w64-i686 wine wine32:i386 wine32-preloader:i386 wine64
    dpkg-dev libgtest-dev libgmock-dev clang lld)
FUZZ_PACKAGES=(cmake make clang-14 libclang-rt-14-dev libpugixml-dev)
BENCH_PACKAGES=(cmake make g++ libbenchmark-dev libpugixml-dev)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

is_installed() {
    local status
    status="$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" || return 1
    [ "$status" = "install ok installed" ]
}

# Installs the packages that are not installed yet, after fetching the
# package lists.
install_missing() {
    local missing=() package
    for package in "$@"; do
        is_installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "setup: installing ${missing[*]}"
    as_root apt-get update -qq || {
        echo "setup: apt-get update failed" >&2
        return 1
    }
    if ! as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends "${missing[@]}" >/dev/null; then
        echo "setup: installing ${missing[*]} failed" >&2
        return 1
    fi
}

# wine32 is an i386 package, and `apt-get source` needs a deb-src entry beside
# each deb one. Fetches the package lists again when either was added.
add_i386_and_sources() {
    local changed=0
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "setup: adding the i386 architecture"
        as_root dpkg --add-architecture i386
        changed=1
    fi
    if ! grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        echo "setup: adding deb-src entries"
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
                as_root tee /etc/apt/sources.list.d/vrel-deb-src.sources >/dev/null
        fi
        if [ -f /etc/apt/sources.list ]; then
            sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
                as_root tee /etc/apt/sources.list.d/vrel-deb-src.list >/dev/null
        fi
        changed=1
    fi
    if [ "$changed" -eq 1 ]; then
        as_root apt-get update -qq
    fi
}

# A kernel without 32-bit emulation cannot start wine's 32-bit loader; there
# it runs through qemu's user-mode emulator, registered for i386 programs with
# binfmt_misc. The registration does not survive a reboot; this renews it.
register_emulator() {
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        return 0
    fi
    echo "setup: 32-bit programs cannot run natively here: running wine through qemu-i386"
    install_missing qemu-user-static
    local binfmt=/proc/sys/fs/binfmt_misc
    [ -e "$binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt"
    if [ ! -e "$binfmt/qemu-i386" ]; then
        local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
        echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:FP" |
            as_root tee "$binfmt/register" >/dev/null
    fi
    if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        echo "setup: wine's 32-bit loader still does not start (/usr/lib/wine/wine --version)" >&2
        return 1
    fi
}

# pugixml's source package, unpacked outside the tracked tree, where the
# Windows build compiles it (cmake/windows/Findpugixml.cmake).
fetch_pugixml_source() {
    compgen -G "$tree/build/deps/pugixml-*/src/pugixml.cpp" >/dev/null && return 0
    echo "setup: fetching pugixml's source into build/deps/"
    mkdir -p "$tree/build/deps"
    if ! (cd "$tree/build/deps" && apt-get source -qq pugixml >/dev/null); then
        echo "setup: apt-get source pugixml failed" >&2
        return 1
    fi
}

# playwright-core for the browser test, from its lock file; skipped, with a
# word, where there is no npm (the test then skips itself too).
install_browser_modules() {
    local folder="$tree/tests/serve/browser"
    [ -d "$folder/node_modules/playwright-core" ] && return 0
    if ! command -v npm >/dev/null 2>&1; then
        echo "setup: no npm, so the browser test will be skipped" >&2
        return 0
    fi
    echo "setup: installing the browser test's node modules"
    if ! npm ci --prefix "$folder" --no-audit --no-fund --loglevel=error >/dev/null; then
        echo "setup: npm ci in tests/serve/browser failed" >&2
        return 1
    fi
}

setup() {
    case "$1" in
    build) install_missing "${BUILD_PACKAGES[@]}" ;;
    windows)
        add_i386_and_sources
        install_missing "${WINDOWS_PACKAGES[@]}"
        register_emulator
        fetch_pugixml_source
        ;;
    fuzz) install_missing "${FUZZ_PACKAGES[@]}" ;;
    browser)
        install_missing "${BROWSER_PACKAGES[@]}"
        install_browser_modules
        ;;
    bench) install_missing "${BENCH_PACKAGES[@]}" ;;
    format) install_missing clang-format ;;
    valgrind) install_missing valgrind ;;
    all) for job in build browser windows fuzz bench format valgrind; do setup "$job"; done ;;
    *)
        echo "usage: $0 [build|browser|windows|fuzz|bench|format|valgrind|all]..." >&2
        exit 2
        ;;
    esac
}

[ $# -gt 0 ] || set -- build
for job in "$@"; do
    setup "$job"
done
