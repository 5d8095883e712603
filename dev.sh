#!/usr/bin/env bash
# ./dev.sh run   installs what is missing, builds and starts Tovrik
# ./dev.sh test  installs what is missing, builds and runs every test: the normal build, the
#                plain C++ part in Release, a build under AddressSanitizer and UBSan, and the
#                fuzzer; every build treats compiler warnings as errors
set -euo pipefail
cd "$(dirname "$0")"

build_packages=(cmake g++ make qt6-base-dev qt6-translations-l10n fonts-arphic-uming)
test_packages=(clang libclang-rt-14-dev binutils-mingw-w64-x86-64)

ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Tovrik needs these Debian packages: ${missing[*]}" >&2
        echo "Install them with:  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

jobs=$(nproc 2>/dev/null || echo 2)

build() { # folder, then cmake options; a later -DCMAKE_BUILD_TYPE wins
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

case "${1:-}" in
run)
    ensure_packages "${build_packages[@]}"
    build build
    exec build/bin/Tovrik
    ;;
test)
    ensure_packages "${build_packages[@]}" "${test_packages[@]}"
    build build -DTOVRIK_WERROR=ON
    # Optimisers warn where a debug build does not: a packager's Release build must stay clean.
    build build/release -DTOVRIK_WERROR=ON -DTOVRIK_GUI=OFF -DCMAKE_BUILD_TYPE=Release
    build build/asan -DTOVRIK_WERROR=ON -DTOVRIK_SANITIZE=ON -DTOVRIK_GUI=OFF
    build build/fuzz -DTOVRIK_WERROR=ON -DCMAKE_CXX_COMPILER=clang++ -DTOVRIK_FUZZ=ON -DTOVRIK_GUI=OFF
    ctest --test-dir build/release --output-on-failure
    ctest --test-dir build/asan --output-on-failure
    ctest --test-dir build/fuzz --output-on-failure
    ctest --test-dir build --output-on-failure -j "$jobs"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
