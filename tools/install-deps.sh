#!/usr/bin/env bash
# Installs the Debian packages the game needs to build and run (`run`), to build its Debian
# package (`package`) or also to test (`test`, `bench`, `fuzz`). Only what is missing is
# installed; apt-get runs as root or through sudo.
set -euo pipefail

run_packages=(cmake ninja-build g++ make pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev
              libpng-dev libinih-dev libx11-dev fonts-ipafont-gothic)
test_packages=(libgtest-dev libgmock-dev xvfb xdotool imagemagick x11-utils openbox clang-format
               git clang)
bench_packages=(libbenchmark-dev xvfb python3)
# The manual pages, CPack's dependency scan, and the checks of the package.
package_packages=(scdoc dpkg-dev file)
package_test_packages=(lintian desktop-file-utils appstream devscripts)
# clang with libFuzzer and its sanitizer runtimes.
fuzz_packages=(clang libclang-rt-14-dev)

case "${1:-run}" in
    run) wanted=("${run_packages[@]}") ;;
    package) wanted=("${run_packages[@]}" "${package_packages[@]}") ;;
    test) wanted=("${run_packages[@]}" "${test_packages[@]}" "${package_packages[@]}"
                  "${package_test_packages[@]}") ;;
    bench) wanted=("${run_packages[@]}" "${test_packages[@]}" "${bench_packages[@]}") ;;
    fuzz) wanted=("${run_packages[@]}" "${fuzz_packages[@]}") ;;
    *) echo "usage: $0 run|package|test|bench|fuzz" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
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
