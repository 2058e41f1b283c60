#!/usr/bin/env bash
# End-to-end check of the stage editor (hopla --edit) under a virtual X server: a tile painted
# with the mouse shows, Ctrl+Z takes it away and Ctrl+Y brings it back, Ctrl+S writes a stage
# file that holds it, C checks the stage with the solver in the background and shows (until the
# stage changes) and prints the ticks hopla-solve finds, T plays the stage in the real game and
# Esc comes back to the editor, and Esc leaves without a question once everything is saved.
#
# usage: editor_e2e.sh HOPLA_EXECUTABLE HOPLA_SOLVE_EXECUTABLE
set -uo pipefail

hopla=${1:?usage: editor_e2e.sh HOPLA_EXECUTABLE HOPLA_SOLVE_EXECUTABLE}
solve=${2:?usage: editor_e2e.sh HOPLA_EXECUTABLE HOPLA_SOLVE_EXECUTABLE}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

source "$here/common.sh"
e2e_setup editor Xvfb xdotool import convert

e2e_start_xvfb 1024x768x24
export XDG_CONFIG_HOME="$work/config"
stages="$work/new.stages"
"$hopla" --edit "$stages" --mute --scale 1 >"$work/editor.log" 2>&1 &
game_pid=$!
e2e_wait_window "$work/editor.log" '^Hopla stage editor'
sleep 0.5

# Colour of the picture's pixel (x, y) as "r,g,b", from a screenshot of the window (each kept
# under a name of its own: the function runs in a subshell).
pixel() {
    local shot
    shot=$(mktemp "$work/shot-XXXX.png")
    import -window "$wid" "$shot" || fail "no screenshot"
    convert "$shot" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:
}
key() { xdotool key --window "$wid" "$@"; sleep 0.3; }
# Signature of the strip's status line (the second line of text under the playfield).
status_line() {
    local shot
    shot=$(mktemp "$work/shot-XXXX.png")
    import -window "$wid" "$shot" || fail "no screenshot"
    convert "$shot" -crop 464x24+336+634 +repage -format '%#' info:
}

keys_line=$(status_line)
# Stage 0's cell (5, 5) is empty: a breakable block painted there.
[ "$(pixel 220 220)" = "0,0,0" ] || fail "cell (5, 5) of stage 0 is not empty at first"
key 2
xdotool mousemove --window "$wid" 220 220 click 1
sleep 0.3
painted=$(pixel 220 220)
[ "$painted" != "0,0,0" ] || fail "the painted cell stayed black"
key ctrl+z
[ "$(pixel 220 220)" = "0,0,0" ] || fail "Ctrl+Z did not take the block away"
key ctrl+y
[ "$(pixel 220 220)" = "$painted" ] || fail "Ctrl+Y did not bring the block back"
key ctrl+s
[ -f "$stages" ] || fail "Ctrl+S wrote no file"
grep -q '^row 10000200000000000011$' "$stages" || fail "the saved stage 0 lacks the block"

# C: the solver checks stage 0 on a thread while the editor goes on; its verdict takes the
# strip's second line and is printed, with the ticks hopla-solve finds on the saved file.
before_check=$(status_line)
key c
verdict=
for _ in $(seq 1200); do
    verdict=$(grep -o 'Stage 0 cleared by the solver in [0-9]* ticks' "$work/editor.log") && break
    grep -q 'not cleared' "$work/editor.log" && fail "the check did not clear stage 0"
    kill -0 "$game_pid" 2>/dev/null || fail "the editor died during the check"
    sleep 0.1
done
[ -n "$verdict" ] || fail "the check reported nothing within 120 s"
ticks=$("$solve" --stages "$stages" --stage 0 --out-dir "$work" | sed -n 's/^stage  0: \([0-9]*\) ticks$/\1/p')
[ "$verdict" = "Stage 0 cleared by the solver in $ticks ticks" ] ||
    fail "the check said '$verdict', hopla-solve $ticks ticks"
[ "$(status_line)" != "$before_check" ] || fail "the strip does not show the check's verdict"
# A changed stage is no longer the one checked: the strip shows the keys again.
xdotool mousemove --window "$wid" 420 140 click 1
sleep 0.3
[ "$(status_line)" = "$keys_line" ] || fail "the verdict stayed on a changed stage"
key ctrl+z
key ctrl+s

# T: the real game on the edited stage; the stage is drawn after its introduction.
key t
sleep 4
[ "$(pixel 220 220)" = "$painted" ] || fail "the test game does not show the block"
kill -0 "$game_pid" 2>/dev/null || fail "the editor died in the test game"
key Escape
[ "$(pixel 220 220)" = "$painted" ] || fail "Esc did not come back to the editor"

# Everything saved: Esc leaves at once, with status 0 (the window is gone before xdotool's
# key release reaches it).
xdotool key --window "$wid" Escape 2>/dev/null
for _ in $(seq 50); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "Esc did not leave the saved editor"
wait "$game_pid"
status=$?
game_pid=
[ "$status" -eq 0 ] || fail "the editor left with status $status (see $work/editor.log)"
# xdotool's release of that Escape went to a window already gone, so the server still holds the
# key down, and the next window would be told of it when it gets the focus: let it go.
xdotool keyup Escape 2>/dev/null

# A new file whose name is not UTF-8: its name is cleaned, and typing after it (N, a letter,
# Enter) does not freeze the window. Made to end with edits not saved, the editor keeps them in
# a recovery file beside the stage file, and says so when that file is edited again.
latin="$work/Caf"$'\xe9'".stages"
"$hopla" --edit "$latin" --mute --scale 1 >"$work/latin.log" 2>&1 &
game_pid=$!
e2e_wait_window "$work/latin.log" '^Hopla stage editor'
sleep 0.5
key n
key x
key Return
xdotool mousemove --window "$wid" 220 220 click 1
sleep 0.3
[ "$(pixel 220 220)" != "0,0,0" ] || fail "the editor of a Latin-1 file name froze"
kill -TERM "$game_pid"
await_game 50
[ -n "$status" ] || fail "the editor did not end on SIGTERM"
grep -q "^name Caf"$'\xef\xbf\xbd'"x$" "$latin.recovery" ||
    fail "no recovery file with the cleaned name (see $work/latin.log)"
grep -q 'edits not saved are kept in' "$work/latin.log" || fail "the editor did not say where"
[ ! -e "$latin" ] || fail "SIGTERM wrote the stage file itself"
"$hopla" --edit "$latin" --mute --scale 1 >"$work/again.log" 2>&1 &
game_pid=$!
e2e_wait_window "$work/again.log" '^Hopla stage editor'
grep -q 'Edits not saved last time are in' "$work/again.log" ||
    fail "the next start did not name the recovery file"
echo "editor e2e: passed"
