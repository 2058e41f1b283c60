#!/usr/bin/env bash
# The Debian package and the install rules end to end: the package is built and linted (its
# binaries hardened), its desktop entry and AppStream data validated, it is installed over an
# older version, removed and purged in a throwaway dpkg root (the file lists checked at each
# step), and the installed game is run with sound; the same again for an install with DESTDIR
# under /opt/hopla, moved after installing, with one wave file removed.
#
# usage: package_test.sh BUILD_DIR [C_COMPILER]
# Exit status 77 means the test could not run here (skipped).
set -euo pipefail
export LC_ALL=C

build=$(cd "${1:?usage: package_test.sh BUILD_DIR [C_COMPILER]}" && pwd)
cc=${2:-cc}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_dir=$(cd "$here/../.." && pwd)

for tool in cpack dpkg dpkg-deb lintian desktop-file-validate appstreamcli hardening-check; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed (bash scripts/install-deps.sh test installs it)"
        exit 77
    fi
done
if [ ! -e "$build/man/hopla.6.gz" ]; then
    echo "skipped: the manual pages were not built (scdoc is not installed)"
    exit 77
fi

work=$(mktemp -d /tmp/hopla-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
# The older version to upgrade from is the same build under version 0.9.0.
deb=$work/new/hopla_${version}_${arch}.deb
old=$work/old/hopla_0.9.0_${arch}.deb
(cd "$build" && cpack -G DEB -B "$work/new" >"$work/cpack.log" 2>&1 &&
    cpack -G DEB -B "$work/old" -D CPACK_PACKAGE_VERSION=0.9.0 >>"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; fail "cpack could not build the package"; }
[ -f "$deb" ] && [ -f "$old" ] || fail "no package at $deb (see above)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"

[ "$("$build/hopla-soak" --version)" = "hopla-soak $version" ] || fail "hopla-soak --version"

echo "== lintian"
lint=0
lintian -I --pedantic --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || lint=$?
grep -v '^running with root privileges' "$work/lintian.log" || true
[ "$lint" = 0 ] || fail "lintian reports errors or warnings"
! grep -E ': (hardening-|binary-has-unneeded-section)' "$work/lintian.log" >/dev/null ||
    fail "lintian finds the binaries not hardened or not stripped"

echo "== validators"
dpkg-deb -x "$deb" "$work/x"
[ -f "$work/x/usr/share/man/man6/hopla-solve.6.gz" ] || fail "no manual page of hopla-solve"
desktop-file-validate "$work"/x/usr/share/applications/*.desktop || fail "desktop entry"
# The AppStream data with the files it names (the desktop entry it launches).
appstreamcli validate-tree --no-net "$work/x" || fail "AppStream"

# Every option a program's --help names is in its manual page.
options_documented() {  # PROGRAM
    local opt
    # Without a display, so that a game that does not know --help yet cannot open a window.
    for opt in $(env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 "$1" --help 2>/dev/null </dev/null |
                     grep -o -- '--[a-z][a-z-]*' | sort -u); do
        grep -qF -- "*$opt*" "$source_dir/packaging/man/$(basename "$1").6.scd" ||
            fail "$(basename "$1") --help names $opt, its manual page does not"
    done
}

# The game and hopla-sim started through the links on the games path: the game fails
# cleanly without a display, and hopla-sim plays its sounds from the real directory, where
# the eight waves are.
check_installed() {  # GAMES_DIR PRIVATE_DIR
    local status=0 dir waves program
    for program in hopla hopla-sim hopla-solve; do
        [ "$("$1/$program" --version)" = "$program $version" ] ||
            fail "the installed $program --version says $("$1/$program" --version)"
        # Not the control-flow protection mark: Debian 12's C start files lack it, so no
        # program linked there carries it (the code itself is built with -fcf-protection).
        hardening-check --nocfprotection "$2/$program" >"$work/hardening.log" ||
            { cat "$work/hardening.log"; fail "$program is not hardened"; }
    done
    env -u DISPLAY -u WAYLAND_DISPLAY "$1/hopla" >/dev/null 2>"$work/no-display.log" || status=$?
    [ "$status" = 1 ] && [ "$(grep -c '^hopla: ' "$work/no-display.log")" = 1 ] ||
        fail "the installed game without a display: status $status, $(cat "$work/no-display.log")"
    dir=$(printf 'state\n' | "$1/hopla-sim" --seed 1 | grep -o '"SoundDir":"[^"]*"')
    [ "$dir" = "\"SoundDir\":\"$(realpath "$2")/\"" ] || fail "hopla-sim's sound directory is $dir"
    waves=$(find "$2" -name '*.wav' | wc -l)
    [ "$waves" = 8 ] || fail "$waves wave files in $2"
    options_documented "$1/hopla"
    options_documented "$1/hopla-sim"
    options_documented "$1/hopla-solve"
}

window_test() {  # WHAT EXECUTABLE: the end-to-end window test, sound included
    local status=0
    bash "$source_dir/tests/e2e/window_e2e.sh" "$2" "$cc" || status=$?
    [ "$status" != 77 ] || exit 77
    [ "$status" = 0 ] || fail "the window test of $1"
}

listing() {  # ROOT: every path outside dpkg's own database, with its type
    (cd "$1" && find . -path ./var/lib/dpkg -prune -o -printf '%y %p\n' | sort)
}

echo "== install over an older version, remove, purge (dpkg --root)"
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg_root() { dpkg --root="$root" --force-not-root --force-depends --log=/dev/null "$@" \
                  >>"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg $*"; }; }
listing "$root" >"$work/empty.list"
dpkg_root -i "$old"
dpkg_root -i "$deb"
[ "$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Version}' hopla)" = "$version" ] ||
    fail "the upgrade did not leave version $version installed"
# After the upgrade the root holds exactly the package's files.
{
    cat "$work/empty.list"
    dpkg-deb -c "$deb" |
        awk '{ t = substr($1, 1, 1); sub(/\/$/, "", $6); print (t == "-" ? "f" : t), $6 }'
} | sort -u >"$work/expected.list"
listing "$root" >"$work/installed.list"
diff "$work/expected.list" "$work/installed.list" || fail "installed files differ from the package"
check_installed "$root/usr/games" "$root/usr/lib/games/hopla"
window_test "the installed game" "$root/usr/games/hopla"
dpkg_root -r hopla
diff "$work/empty.list" <(listing "$root") || fail "files left after removing the package"
dpkg_root -P hopla
diff "$work/empty.list" <(listing "$root") || fail "files left after purging the package"

echo "== DESTDIR install under /opt/hopla, moved after installing"
DESTDIR=$work/dest cmake --install "$build" --prefix /opt/hopla >/dev/null
# The same files as the package, under the other prefix.
diff <(sed -n 's|^\(.\) \./usr/|\1 ./|p' "$work/installed.list") \
    <(listing "$work/dest/opt/hopla" | grep -v '^d \.$') || fail "the DESTDIR install differs"
mv "$work/dest/opt/hopla" "$work/moved"
check_installed "$work/moved/games" "$work/moved/lib/games/hopla"
# Without the title's wave the title is silent, and the game goes on to the next sounds.
rm "$work/moved/lib/games/hopla/keri.wav"
HOPLA_E2E_SILENT_UNTIL=8 window_test "the moved game without keri.wav" "$work/moved/games/hopla"

echo "package test passed"
