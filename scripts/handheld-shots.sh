#!/usr/bin/env bash
# Pictures of the shell on a handheld's 1280 x 800 screen with a controller of each maker (the
# menu, the Keys page, the pause sign, the editor's letter picker), to look at by hand: hopla_pad_shots of a
# test build under a virtual X server, where the game starts on the whole screen.
#
# usage: scripts/handheld-shots.sh [BUILD] [DIR]   (default: build, a fresh folder under /tmp)
set -euo pipefail

build=${1:-build}
dir=${2:-$(mktemp -d /tmp/hopla-shots.XXXXXX)}
mkdir -p "$dir"
display=$(mktemp /tmp/hopla-shots-display.XXXXXX)
Xvfb -displayfd 3 -screen 0 1280x800x24 -noreset -nolisten tcp 3>"$display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$display"' EXIT
for _ in $(seq 50); do
    [ -s "$display" ] && break
    sleep 0.1
done
DISPLAY=":$(head -1 "$display")" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy \
    "$build/tests/hopla_pad_shots" "$dir"
echo "pictures in $dir"
