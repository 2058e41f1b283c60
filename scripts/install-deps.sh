#!/usr/bin/env bash
# Installs the Debian packages the game needs to build and run (`run`), to build its Debian
# package (`package`) or also to test (`test`, `bench`, `fuzz`), or to build the libraries of the
# Windows (`windows`) or web (`web`) build from Debian's sources (scripts/deps). Only what is missing is
# installed; apt-get runs as root or through sudo.
set -euo pipefail

run_packages=(cmake ninja-build g++ make pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev
              libpng-dev zlib1g-dev libx11-dev fonts-ipafont-gothic)
test_packages=(libgtest-dev libgmock-dev xvfb xdotool imagemagick x11-utils openbox clang-format
               git clang)
bench_packages=(libbenchmark-dev xvfb python3)
# The manual pages (python3 keeps their Linux words), CPack's dependency scan, and the checks of
# the package.
package_packages=(scdoc python3 dpkg-dev file)
package_test_packages=(lintian desktop-file-utils appstream devscripts)
# clang with libFuzzer and its sanitizer runtimes.
fuzz_packages=(clang libclang-rt-14-dev)
# Debian's source packages of the libraries (apt-get source, dpkg-source), the smoke test's font
# and Debian's own SDL2_ttf to compare its rendering with.
deps_packages=(cmake ninja-build dpkg-dev fonts-ipafont-gothic pkg-config gcc libsdl2-ttf-dev)
# The mingw-w64 cross compiler with posix threads, icotool for the program's icon, python3 for the
# README (made from the manual page), NSIS for the installer, wine on a virtual X display to run
# them, and for `make test-windows` the GoogleTest sources and the window test's tools.
windows_packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix icoutils python3 nsis wine
                  wine64 xvfb xauth libgtest-dev libgmock-dev xdotool imagemagick)
# Debian's emscripten (it brings clang, lld, binaryen and node-acorn), node to run it, npm for
# the browser test's driver (playwright-core), the browser itself and the font subsetter.
web_packages=(emscripten nodejs npm chromium python3-fonttools)

case "${1:-run}" in
    run) wanted=("${run_packages[@]}") ;;
    package) wanted=("${run_packages[@]}" "${package_packages[@]}") ;;
    test) wanted=("${run_packages[@]}" "${test_packages[@]}" "${package_packages[@]}"
                  "${package_test_packages[@]}") ;;
    bench) wanted=("${run_packages[@]}" "${test_packages[@]}" "${bench_packages[@]}") ;;
    fuzz) wanted=("${run_packages[@]}" "${fuzz_packages[@]}") ;;
    windows) wanted=("${deps_packages[@]}" "${windows_packages[@]}") ;;
    web) wanted=("${deps_packages[@]}" "${web_packages[@]}") ;;
    *) echo "usage: $0 run|package|test|bench|fuzz|windows|web" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
    # A node from elsewhere (NodeSource's nodejs) brings its own npm and conflicts with Debian's.
    [ "$p" != npm ] || ! command -v npm >/dev/null || continue
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    as_root=(sudo)
else
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Install them as root (apt-get install ${missing[*]}) or run this again with sudo rights." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
