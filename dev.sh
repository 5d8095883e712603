#!/usr/bin/env bash
# ./dev.sh run      installs what is missing, builds Tovrik and the other programs the README
#                   runs from build/bin, and starts Tovrik
# ./dev.sh test     installs what is missing, builds and runs every test: the normal build, the
#                   plain C++ part in Release, a build under AddressSanitizer and UBSan, the
#                   fuzzer, and the Windows programs under Wine; warnings are errors throughout
# ./dev.sh windows  installs what is missing, cross-builds Tovrik.exe and tovrik-size.exe into
#                   build/windows/bin, and packs build/windows/Tovrik-<version>-win64.zip and
#                   Tovrik-<version>-setup.exe
# ./dev.sh screenshots  installs what is missing and redraws the README's pictures of the
#                   window, docs/window.png (Qt) and docs/window-windows.png (Tovrik.exe, Wine)
set -euo pipefail
cd "$(dirname "$0")"

build_packages=(cmake g++ make qt6-base-dev qt6-translations-l10n fonts-arphic-uming)
windows_packages=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 nsis)
# Wine runs the Windows tests on a virtual screen, in Chinese so its boxes say 确定.
# The installer's test finds the installed window with xdotool and reads the zip with Python.
wine_packages=(wine wine64 fonts-wine xvfb xauth locales fonts-arphic-uming xdotool python3)
# What the benchmarks need beside the build, so that they build and run after a test.
bench_packages=(libbenchmark-dev hyperfine time bc)
# The calculation sheet is printed by a real browser and its PDF read back.
sheet_packages=(chromium poppler-utils)
# The Windows picture is taken from Xvfb with ImageMagick's import.
screenshot_packages=(imagemagick)
test_packages=(clang clang-format clang-tidy libclang-rt-14-dev "${windows_packages[@]}"
    "${wine_packages[@]}" "${bench_packages[@]}" "${sheet_packages[@]}")

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

ensure_chinese_locale() {
    locale -a 2>/dev/null | grep -qix 'zh_CN.utf-\?8' && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Tovrik.exe under Wine needs the zh_CN.UTF-8 locale." >&2
        echo "Make it with:  sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8" >&2
        exit 1
    fi
    localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
}

jobs=$(nproc 2>/dev/null || echo 2)
# What the README runs from build/bin after ./dev.sh run (the benchmarks come with a test).
programs=(Tovrik tovrik-size tovrik-screenshot tovrik-artwork)

# Every C++ file as the committed .clang-format lays it out.
check_format() {
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
}

# The committed .clang-tidy's checks over the sources of the Linux build (tests aside).
tidy() {
    grep -o '"file": "[^"]*"' build/compile_commands.json | cut -d '"' -f 4 | sort -u \
        | grep "^$PWD/" | grep -v -e "^$PWD/build/" -e "^$PWD/tests/" \
        | xargs -n 4 -P "$jobs" clang-tidy -p build --quiet
}

configure() { # preset, then cmake options (CMakePresets.json)
    local preset=$1
    shift
    cmake --preset "$preset" "$@" >/dev/null
}

build() { # preset, then cmake options
    configure "$@"
    cmake --build --preset "$1" -j "$jobs"
}

windows() { # cmake options
    build windows "$@"
    # In a UTF-8 locale, so that the zip marks its Chinese names as UTF-8.
    (cd build/windows && LC_ALL=C.UTF-8 cpack >/dev/null)
}

case "${1:-}" in
run)
    ensure_packages "${build_packages[@]}"
    configure default
    cmake --build --preset default -j "$jobs" --target "${programs[@]}"
    exec build/bin/Tovrik
    ;;
windows)
    ensure_packages "${windows_packages[@]}"
    windows
    ;;
screenshots)
    ensure_packages "${build_packages[@]}" "${windows_packages[@]}" "${wine_packages[@]}" \
        "${screenshot_packages[@]}"
    ensure_chinese_locale
    configure default
    cmake --build --preset default -j "$jobs" --target tovrik-screenshot
    QT_QPA_PLATFORM=offscreen build/bin/tovrik-screenshot docs/window.png
    windows
    tools/wine/screenshot.sh docs/window-windows.png
    ;;
test)
    ensure_packages "${build_packages[@]}" "${test_packages[@]}"
    ensure_chinese_locale
    check_format
    build default -DTOVRIK_WERROR=ON
    # Optimisers warn where a debug build does not: a packager's Release build must stay clean.
    build release -DTOVRIK_WERROR=ON
    build asan -DTOVRIK_WERROR=ON
    build fuzz -DTOVRIK_WERROR=ON
    windows -DTOVRIK_WERROR=ON
    tidy
    # Here the sheet's printing is not skipped for want of a browser.
    export TOVRIK_REQUIRE_TOOLS=1
    ctest --test-dir build/release --output-on-failure
    ctest --test-dir build/asan --output-on-failure
    ctest --test-dir build/fuzz --output-on-failure
    ctest --test-dir build --output-on-failure -j "$jobs"
    # Each run has a prefix of its own, made afresh and stopped at the end.
    export TOVRIK_WINEPREFIX
    TOVRIK_WINEPREFIX=$(mktemp -d /tmp/tovrik-wine.XXXXXX)
    trap 'WINEPREFIX=$TOVRIK_WINEPREFIX wineserver -k 2>/dev/null || true; rm -rf "$TOVRIK_WINEPREFIX"' EXIT
    xvfb-run -a -s "-screen 0 2048x1536x24" ctest --test-dir build/windows --output-on-failure
    xvfb-run -a -s "-screen 0 1024x768x24" tools/wine/installer.sh build/windows
    ;;
*)
    echo "usage: $0 run|test|windows|screenshots" >&2
    exit 2
    ;;
esac
