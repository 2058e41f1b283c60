#!/usr/bin/env bash
# Demos end to end: the real window under a virtual X server records a game played with
# xdotool (keys and presses arriving with the loop's real timing), hopla-sim plays the demo back
# headless with every check line matching, and the window plays it back at real speed without
# reporting a difference.
#
# usage: demo_e2e.sh HOPLA HOPLA_SIM [C_COMPILER]
# The demo and logs go to a fresh directory under /tmp, kept when the test fails or when
# HOPLA_E2E_KEEP=1; HOPLA_E2E_DEMO_OUT=FILE copies the recorded demo there (for the corpus).
# Exit status 77 means the test could not run here (skipped).
set -uo pipefail

hopla=${1:?usage: demo_e2e.sh HOPLA HOPLA_SIM [C_COMPILER]}
sim=${2:?usage: demo_e2e.sh HOPLA HOPLA_SIM [C_COMPILER]}
cc=${3:-cc}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

source "$here/common.sh"
e2e_setup demo-e2e Xvfb xdotool "$cc"

"$cc" -o "$work/wm_close" "$here/wm_close.c" -lX11 || fail "cannot build the close helper"

e2e_start_xvfb 1024x768x24
export SDL_AUDIODRIVER=dummy

# 1. Recording: a key during the title (an arrow: Enter, Space or a click would skip the
# opening), the title room left to the right, steering and a press in stage 0, Space back to the
# title room, then the window manager's close request.
"$hopla" --record "$work/window.demo" >"$work/record.log" 2>&1 &
game_pid=$!
e2e_wait_window "$work/record.log"
sleep 3
xdotool key --window "$wid" Left
sleep 8
xdotool keydown --window "$wid" Right
sleep 1.5
xdotool keyup --window "$wid" Right
sleep 3
xdotool key --window "$wid" Left Right Right
xdotool click --window "$wid" 1
sleep 1
xdotool key --window "$wid" space
sleep 2
"$work/wm_close" "$wid" || fail "cannot send the close request"
await_game 100
[ "$status" = 0 ] || fail "recording ended with status ${status:-none} (see $work/record.log)"
[ -s "$work/record.log" ] && fail "recording printed: $(head -1 "$work/record.log")"
checks=$(grep -c ' check ' "$work/window.demo")
[ "$(tail -1 "$work/window.demo" | cut -d' ' -f3)" = end ] || fail "the demo has no end line"

# 1b. A hangup (the terminal closed) ends a recording as a termination request does: the demo
# gets its end line.
"$hopla" --record "$work/hangup.demo" >"$work/hangup.log" 2>&1 &
game_pid=$!
e2e_wait_window "$work/hangup.log"
sleep 1
kill -HUP "$game_pid"
await_game 100
[ "$status" = 0 ] || fail "after a hangup the game ended with status ${status:-none} (see $work/hangup.log)"
[ "$(tail -1 "$work/hangup.demo" | cut -d' ' -f3)" = end ] || fail "after a hangup the demo has no end line"

# 1c. Slow motion: a game recorded at half speed with the race overlay on says so in its made
# line, and plays back headless below with every check matching.
"$hopla" --record "$work/slow.demo" --speed 50 --race >"$work/slow.log" 2>&1 &
game_pid=$!
e2e_wait_window "$work/slow.log"
sleep 3
xdotool key --window "$wid" Left
sleep 6
xdotool keydown --window "$wid" Right
sleep 1.5
xdotool keyup --window "$wid" Right
sleep 2
xdotool key --window "$wid" Left Right
"$work/wm_close" "$wid" || fail "cannot send the close request"
await_game 100
[ "$status" = 0 ] || fail "slow recording ended with status ${status:-none} (see $work/slow.log)"
sed -n 4p "$work/slow.demo" | grep -Eq '^made hopla [^ ]+ linux assisted$' ||
    fail "the slow demo's made line: $(sed -n 4p "$work/slow.demo")"
"$sim" --play "$work/slow.demo" >"$work/slow-play.jsonl" 2>"$work/slow-play.log" ||
    fail "hopla-sim --play of the slow demo reports: $(cat "$work/slow-play.log")"
[ "$(grep -c '"check":"match"' "$work/slow-play.jsonl")" = "$(grep -c ' check ' "$work/slow.demo")" ] ||
    fail "not every check line of the slow demo matched headless"

# 2. Headless playback: every check line matches.
"$sim" --play "$work/window.demo" >"$work/play.jsonl" 2>"$work/play.log" ||
    fail "hopla-sim --play reports: $(cat "$work/play.log")"
matched=$(grep -c '"check":"match"' "$work/play.jsonl")
[ "$matched" = "$checks" ] || fail "$matched of $checks check lines matched headless"

# 3. Window playback at real speed: no difference reported, and the window closes by itself.
"$hopla" --play "$work/window.demo" >"$work/replay.log" 2>&1 &
game_pid=$!
await_game 600
[ "$status" = 0 ] || fail "window playback ended with status ${status:-none}: $(cat "$work/replay.log")"
[ -s "$work/replay.log" ] && fail "window playback reports: $(head -1 "$work/replay.log")"

[ -n "${HOPLA_E2E_DEMO_OUT:-}" ] && cp "$work/window.demo" "$HOPLA_E2E_DEMO_OUT"
echo "demo e2e passed: $checks check lines matched headless and in the window"
