#!/usr/bin/env bash
# The site in a real browser: Debian's chromium, headless, driven by playwright-core (installed
# with npm into WEB_BUILD/browser, never with a browser of its own), the site served from
# 127.0.0.1. Plays demos through the page (one on the shipped stage file first-steps), holds an
# arrow in the title room while the page records, and compares the page's picture with
# hopla-sim's. WEB_BUILD is the browser build (make web), NATIVE_BUILD the Linux build whose
# hopla-sim plays and pictures the same demos.
#
#   tests/web/site_test.sh WEB_BUILD NATIVE_BUILD
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
web=$(realpath "${1:?usage: site_test.sh WEB_BUILD NATIVE_BUILD}")
native=$(realpath "${2:?usage: site_test.sh WEB_BUILD NATIVE_BUILD}")
sim="$native/hopla-sim"
[ -f "$web/site/hopla.js" ] || { echo "site_test: no site in $web (make web)" >&2; exit 1; }
[ -x "$sim" ] || { echo "site_test: no hopla-sim in $native (make build)" >&2; exit 1; }
command -v chromium >/dev/null || { echo "site_test: chromium is missing (scripts/install-deps.sh web)" >&2; exit 1; }

if [ ! -f "$web/browser/node_modules/playwright-core/package.json" ]; then
    mkdir -p "$web/browser"
    (cd "$web/browser" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm install --no-audit --no-fund \
        --silent playwright-core@1)
fi

# What the server serves beside the site: the demos to play, and hopla-sim's pictures of the
# ends of two of them.
work="$web/site-test"
rm -rf "$work" && mkdir -p "$work/demos"
trap 'rm -rf "$work/profile"; [ -z "${server:-}" ] || kill "$server" 2>/dev/null || true' EXIT
cp "$here/../demos/stage-19.demo" "$here/../demos/speed-faster.demo" \
    "$here/../demos/first-steps-stage-03.demo" "$work/demos/"
# Stage 3's captions (the font) at 1.5 s, the stage in play (tiles and ball) at 5 s.
for at in 1500 5000; do
    printf 'stage 3\nat %s\nshot %s\n' "$at" "$work/sim-shot-$at.png" >"$work/shot-$at.sim"
    "$sim" --seed 7 --record "$work/demos/shot-$at.demo" "$work/shot-$at.sim" >/dev/null
done

# Two versions of the site for the service worker's update (site_test.js serves one, then the
# other, at site-test/v/): B's page has a line more, so its sw.js is written again, as the build
# writes it, with another version.
cp -r "$web/site" "$work/site-a"
cp -r "$web/site" "$work/site-b"
sed -i 's|<head>|<head><meta name="version" content="B">|' "$work/site-b/index.html"
kept=$(sed -n 's/^const FILES = \["\.\/", \(.*\)\];$/\1/p' "$web/site/sw.js" | tr -d '" ' | tr ',' ';')
cmake -DSITE="$work/site-b" -DTEMPLATE="$here/../../frontend/web/sw.js" "-DFILES=$kept" \
    -P "$here/../../cmake/SiteVersion.cmake"

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$web" "$port" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do
    python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/site/')" \
        2>/dev/null && break
    sleep 0.1
done

NODE_PATH="$web/browser/node_modules" node "$here/site_test.js" "http://127.0.0.1:$port" \
    "$work" "$sim"
