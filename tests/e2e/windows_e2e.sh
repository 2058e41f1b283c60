#!/usr/bin/env bash
# The Windows zip end to end under wine: unzipped into a folder whose name has spaces and letters
# outside ASCII, hopla-sim.exe (in the zip's tools folder, playing with the game's files above)
# plays the demos from another such folder with every check line matching, and hopla.exe plays
# them in its real window under a virtual X server, exiting 0; a screenshot of the window during
# the title equals hopla-sim.exe's picture of the same moment.
# A demo whose header names stages is played with --stages NAME, which finds the stage file the
# zip ships in its stages folder.
#
# usage: windows_e2e.sh WINE_RUN ZIP DEMO...
# WINE_RUN is the build tree's wine-run.sh (tests/windows/wine-run.sh.in). The screenshots and
# logs go to a fresh directory under /tmp, kept when the test fails or when HOPLA_E2E_KEEP=1.
# Exit status 77 means the test could not run here (skipped).
set -uo pipefail

usage="usage: windows_e2e.sh WINE_RUN ZIP DEMO..."
wine_run=${1:?$usage}
zip=${2:?$usage}
shift 2
[ $# -gt 0 ] || { echo "$usage" >&2; exit 2; }
demos=("$@")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

source "$here/common.sh"
e2e_setup windows-e2e Xvfb xdotool import convert compare cmake

# The path as a Windows program names it: wine shows the machine's root as drive Z:.
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }

# 1. The zip unpacked where a player might put it, the demos in a folder of their own.
games="$work/Spiele für Hopla"
mkdir -p "$games" "$work/Démos à jouer"
(cd "$games" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
folder=$(find "$games" -mindepth 1 -maxdepth 1 -type d | head -1)
[ -f "$folder/hopla.exe" ] && [ -f "$folder/tools/hopla-sim.exe" ] && [ -f "$folder/ipagp.ttf" ] ||
    fail "the zip has no folder with hopla.exe, tools/hopla-sim.exe and ipagp.ttf"
# --stages NAME for a demo recorded on the stage file NAME, nothing for one on the game's own.
stages_option() { awk '$1 == "stages" { print "--stages"; print $3; exit }' "$1"; }
for demo in "${demos[@]}"; do cp "$demo" "$work/Démos à jouer/" || fail "cannot copy $demo"; done
export SDL_AUDIODRIVER=dummy

# The X server first, and a wine server started afresh under it: wine's desktop comes up with the
# first program that needs it, on the display that program had, and a desktop made by an earlier
# test without any display refuses every window later ("Couldn't create window").
e2e_start_xvfb 1024x768x24
"$wine_run" --stop

# 2. Headless: every check line of each demo matches under hopla-sim.exe.
for demo in "${demos[@]}"; do
    name=$(basename "$demo" .demo)
    copy=$(windows_path "$work/Démos à jouer/$name.demo")
    mapfile -t stages < <(stages_option "$demo")
    "$wine_run" "$(windows_path "$folder/tools/hopla-sim.exe")" "${stages[@]}" --play "$copy" \
        >"$work/$name.jsonl" 2>"$work/$name.sim.log" ||
        fail "hopla-sim.exe --play $name reports: $(tr -d '\r' <"$work/$name.sim.log" | head -3)"
    checks=$(grep -c ' check ' "$demo")
    matched=$(grep -c '"check":"match"' "$work/$name.jsonl")
    [ "$matched" = "$checks" ] || fail "$name: $matched of $checks check lines matched under wine"
done

# 3. The first demo's picture at SHOT_MS of the title, from hopla-sim.exe with the demo's seed.
shot_ms=${HOPLA_E2E_SHOT_MS:-8500}
seed=$(awk '$1 == "seed" { print $2; exit }' "${demos[0]}")
printf 'at %s\nshot %s\n' "$shot_ms" "$(windows_path "$work/sim-shot.png")" >"$work/shot.script"
"$wine_run" "$(windows_path "$folder/tools/hopla-sim.exe")" --seed "$seed" \
    "$(windows_path "$work/shot.script")" >"$work/shot.jsonl" 2>"$work/shot.log" ||
    fail "hopla-sim.exe cannot take the picture: $(tr -d '\r' <"$work/shot.log" | head -3)"

# 4. The window plays each demo at real speed and closes by itself with status 0. During the
# first, the window is photographed a few times a second; one photograph must be the picture.
for i in "${!demos[@]}"; do
    name=$(basename "${demos[$i]}" .demo)
    mapfile -t stages < <(stages_option "${demos[$i]}")
    "$wine_run" "$(windows_path "$folder/hopla.exe")" "${stages[@]}" --window --play \
        "$(windows_path "$work/Démos à jouer/$name.demo")" >"$work/$name.window.log" 2>&1 &
    game_pid=$!
    e2e_window_any_pid=1  # the pid is wine-run.sh's; the window is wine's
    e2e_wait_window "$work/$name.window.log"
    if [ "$i" = 0 ]; then
        geometry=$(xdotool getwindowgeometry --shell "$wid")
        eval "$geometry"  # X, Y, WIDTH, HEIGHT
        [ "$WIDTH" = 800 ] && [ "$HEIGHT" = 600 ] || fail "the window is ${WIDTH}x$HEIGHT, not 800x600"
        n=0
        while kill -0 "$game_pid" 2>/dev/null && [ $n -lt 120 ]; do
            import -window root -crop "800x600+$X+$Y" +repage "$work/window-$n.png" 2>/dev/null
            n=$((n + 1))
            sleep 0.2
        done
    fi
    for _ in $(seq 600); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$game_pid" 2>/dev/null && fail "$name: the window did not close by itself"
    wait "$game_pid"
    status=$?
    game_pid=
    [ "$status" = 0 ] || fail "$name: window playback ended with status $status: $(tr -d '\r' <"$work/$name.window.log" | head -3)"
done

same=
for f in "$work"/window-*.png; do
    [ -f "$f" ] || continue
    if [ "$(compare -metric AE "$f" "$work/sim-shot.png" null: 2>&1)" = 0 ]; then
        same=$f
        break
    fi
done
[ -n "$same" ] || fail "no photograph of the window equals hopla-sim.exe's picture at $shot_ms ms (window-*.png, sim-shot.png)"
echo "windows e2e passed: ${#demos[@]} demos matched under hopla-sim.exe and played in the window from \"$games\"; $(basename "$same") equals the picture at $shot_ms ms"
