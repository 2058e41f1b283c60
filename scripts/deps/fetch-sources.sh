#!/usr/bin/env bash
# Fetches and unpacks Debian's source packages of the libraries the Windows and web builds link
# (SDL2, freetype, harfbuzz, SDL2_ttf, zlib, libpng) at the versions pinned in versions.txt.
#
#   scripts/deps/fetch-sources.sh [CACHE]      CACHE defaults to build-deps/src
#
# The deb-src list is derived from the machine's own Debian sources (the stanzas and lines of
# /etc/apt/sources.list and sources.list.d/ whose suite is this release's codename or one of its
# -updates/-security suites) and used through a private apt configuration under CACHE/apt, so the
# machine's apt lists and caches stay untouched. apt checks the Sources index against the
# archive's signature and each file against it; the .dsc is then checked against the sha256
# pinned in versions.txt, and dpkg-source checks the tarballs against the .dsc as it unpacks.
# A package already unpacked is skipped, so a second run does nothing. Needs apt and dpkg-dev.
#
# When the archive no longer serves a pinned version, raise the pin in versions.txt (version and
# the new .dsc's sha256) after checking the new version builds.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cache=$(realpath -m "${1:-$root/build-deps/src}")
versions="$here/versions.txt"

die() { echo "fetch-sources: $*" >&2; exit 1; }
command -v dpkg-source >/dev/null || die "dpkg-source is missing (apt-get install dpkg-dev)"

# The pinned table: source package, version, sha256 of its .dsc.
pins=()
while read -r name version sha; do
    case "$name" in ''|'#'*) continue ;; esac
    [ -n "$sha" ] || die "$versions: the line of $name needs a version and a sha256"
    pins+=("$name $version $sha")
done <"$versions"

# The directory dpkg-source unpacks NAME VERSION into: NAME-UPSTREAM (no epoch, no revision).
unpacked_dir() {
    local upstream=${2#*:}
    echo "$cache/$1-${upstream%-*}"
}

all_unpacked=1
for pin in "${pins[@]}"; do
    read -r name version _ <<<"$pin"
    [ -f "$(unpacked_dir "$name" "$version")/.hopla-unpacked" ] || all_unpacked=0
done
if [ $all_unpacked = 1 ]; then
    echo "fetch-sources: all ${#pins[@]} source packages are unpacked in $cache"
    exit 0
fi

# The private apt configuration: deb-src of the machine's Debian suites, lists and caches here.
apt_dir="$cache/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts"
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[ -n "$codename" ] || die "/etc/os-release names no VERSION_CODENAME"
src_list="$apt_dir/sources.list"
{
    # One-line entries: "deb [options] URI SUITE COMPONENTS...".
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        awk -v c="$codename" '
            $1 == "deb" {
                i = 2; opts = ""
                if ($2 ~ /^\[/) { while ($i !~ /\]$/) { opts = opts $i " "; i++ } opts = opts $i " "; i++ }
                suite = $(i + 1)
                if (suite == c || suite ~ ("^" c "-(updates|security)$")) {
                    line = "deb-src " opts
                    for (j = i; j <= NF; j++) line = line $j " "
                    print line
                }
            }' "$f"
    done
    # deb822 stanzas: keep those whose suites are all this release's, as deb-src.
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        awk -v c="$codename" '
            function flush() {
                if (stanza != "" && keep && !disabled && types ~ /(^| )deb( |$)/) printf "%s\n", stanza
                stanza = ""; keep = 0; disabled = 0; types = ""
            }
            /^[ \t]*#/ { next }
            /^[ \t]*$/ { flush(); next }
            {
                key = tolower($1)
                if (key == "types:") { types = $0; sub(/^[^:]*:[ \t]*/, "", types); stanza = stanza "Types: deb-src\n"; next }
                if (key == "suites:") {
                    keep = 1
                    for (j = 2; j <= NF; j++) if ($j != c && $j !~ ("^" c "-(updates|security)$")) keep = 0
                }
                if (key == "enabled:" && tolower($2) == "no") disabled = 1
                stanza = stanza $0 "\n"
            }
            END { flush() }' "$f" | sed 's/^$//'
        echo
    done
} >"$src_list.new"
grep -q '^deb-src\|^Types: deb-src' "$src_list.new" ||
    die "no Debian $codename entries found in /etc/apt/sources.list or sources.list.d/"
# A one-line list and deb822 stanzas cannot share a file: split them.
grep '^deb-src ' "$src_list.new" >"$src_list" || true
grep -v '^deb-src ' "$src_list.new" | cat -s >"$apt_dir/parts/debian.sources"
rm -f "$src_list.new"
[ -s "$apt_dir/parts/debian.sources" ] || rm -f "$apt_dir/parts/debian.sources"

apt_opts=(-o Dir::Etc::SourceList="$src_list" -o Dir::Etc::SourceParts="$apt_dir/parts"
          -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache"
          -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
          -o Acquire::Languages=none -o APT::Get::Only-Source=true)
# Root hands downloads to the _apt user, who cannot write into a private tree: keep them as root.
[ "$(id -u)" -ne 0 ] || apt_opts+=(-o APT::Sandbox::User=root)

echo "fetch-sources: updating the private Sources index in $apt_dir"
apt-get "${apt_opts[@]}" -qq update || die "apt-get update of the deb-src list failed (see above)"

dl="$cache/downloads"
mkdir -p "$dl"
for pin in "${pins[@]}"; do
    read -r name version sha <<<"$pin"
    target=$(unpacked_dir "$name" "$version")
    [ -f "$target/.hopla-unpacked" ] && continue
    plain=${version#*:}
    dsc="$dl/${name}_${plain}.dsc"
    if [ ! -f "$dsc" ]; then
        echo "fetch-sources: downloading $name $version"
        (cd "$dl" && apt-get "${apt_opts[@]}" -qq source --download-only "$name=$version") ||
            die "could not download $name $version (see above); if the archive no longer serves it, raise its pin in $versions"
    fi
    actual=$(sha256sum "$dsc" | cut -d' ' -f1)
    [ "$actual" = "$sha" ] || die "$dsc has sha256 $actual, pinned is $sha"
    rm -rf "$target"
    (cd "$cache" && dpkg-source --no-copy -x "$dsc" "$target" >/dev/null 2>"$target.log") ||
        { cat "$target.log" >&2; die "dpkg-source could not unpack $dsc"; }
    rm -f "$target.log"
    touch "$target/.hopla-unpacked"
    echo "fetch-sources: unpacked $name $version in $target"
done
