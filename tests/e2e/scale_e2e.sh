#!/usr/bin/env bash
# End-to-end check of the window around the game on a 4K virtual screen with a window manager:
# whole-number scaling (the picture equals hopla-sim's shot of the same moment with each pixel an
# exact N x N block), the largest scale that fits, fullscreen on black bars and back to the same
# place, Ctrl+Plus/Minus, remembered settings, window keys and modifiers that never reach the
# game, mouse presses that count only on the picture, and a pause that stops the stage time;
# then on a 1080p screen the fitted whole screen (hopla-sim's shot enlarged the same way between
# bars of 240 pixels) and a scale too large for the screen lowered.
#
# usage: scale_e2e.sh HOPLA HOPLA_WATCH HOPLA_SIM
# Screenshots go to a fresh directory under /tmp, kept when the test fails or when
# HOPLA_E2E_KEEP=1. Exit status 77 means the test could not run here (skipped).
set -uo pipefail

hopla=${1:?usage: scale_e2e.sh HOPLA HOPLA_WATCH HOPLA_SIM}
watch=${2:?usage: scale_e2e.sh HOPLA HOPLA_WATCH HOPLA_SIM}
sim=${3:?usage: scale_e2e.sh HOPLA HOPLA_WATCH HOPLA_SIM}

source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/common.sh"
e2e_setup scale-e2e Xvfb openbox xdotool import convert compare md5sum

screen_w=3840
screen_h=2160
e2e_start_xvfb ${screen_w}x${screen_h}x24
export SDL_AUDIODRIVER=dummy
# A window manager, as on every desktop: it is what puts a window on the whole screen.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

# --- The pictures hopla-sim draws from the title captions to the title word (2 s to 6 s after
# start-up, the same whatever the seed): the MD5 of each picture's RGB bytes, with its time.
script="$work/shots.txt"
for t in $(seq 2100 100 5900); do printf 'at %d\nshot %s/sim-%d.png\n' "$t" "$work" "$t"; done \
    >"$script"
"$sim" --seed 1 "$script" >/dev/null || fail "hopla-sim could not take its shots"
for t in $(seq 2100 100 5900); do
    echo "$(convert "$work/sim-$t.png" -depth 8 rgb:- | md5sum | cut -d' ' -f1) $t"
done >"$work/known.txt"

# The brightest channel value (0..255) in a w x h area at x, y of an image.
brightest() { convert "$1" -crop "$2x$3+$4+$5" +repage -format "%[fx:int(255*maxima)]" info:; }

# Checks that the w x h area at x, y of a screenshot is an 800 x 600 picture with every pixel an
# exact N x N block, and that it is one of hopla-sim's pictures; sets picture_at to its time.
sim_picture() {
    local shot=$1 w=$2 h=$3 x=$4 y=$5 name
    name=$(basename "$shot" .png)
    convert "$shot" -crop "${w}x${h}+${x}+${y}" +repage "$work/$name-crop.png"
    convert "$work/$name-crop.png" -sample 800x600 "$work/$name-800.png"
    convert "$work/$name-800.png" -sample "${w}x${h}" "$work/$name-blocks.png"
    local differ
    differ=$(compare -metric AE "$work/$name-crop.png" "$work/$name-blocks.png" null: 2>&1)
    [ "$differ" = 0 ] || fail "$name: $differ pixels are not in whole blocks (see $shot)"
    local sum
    sum=$(convert "$work/$name-800.png" -depth 8 rgb:- | md5sum | cut -d' ' -f1)
    picture_at=$(awk -v s="$sum" '$1 == s {print $2; exit}' "$work/known.txt")
    [ -n "$picture_at" ] || fail "$name: the picture is none of hopla-sim's (see $shot)"
}

# Starts EXE with ARGS and waits for its window; sets game_pid, launched (us), wid and the
# geometry (X, Y, WIDTH, HEIGHT). Standard output and error go to $work/LOG.out and .err.
launch() {
    local log=$1 exe=$2
    shift 2
    launched=$(now_us)
    "$exe" "$@" >"$work/$log.out" 2>"$work/$log.err" &
    game_pid=$!
    e2e_wait_window "$work/$log.err"
    geometry
}

geometry() { eval "$(xdotool getwindowgeometry --shell "$wid")"; }

# Waits up to 3 s for the window to be w x h at x, y.
expect_geometry() {
    local w=$1 h=$2 x=$3 y=$4 what=$5
    for _ in $(seq 60); do
        geometry
        [ "$WIDTH" = "$w" ] && [ "$HEIGHT" = "$h" ] && [ "$X" = "$x" ] && [ "$Y" = "$y" ] && return
        sleep 0.05
    done
    fail "$what: the window is ${WIDTH}x${HEIGHT} at $X,$Y, not ${w}x${h} at $x,$y"
}

stop_game() {
    kill -9 "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null
    game_pid=
}

# Sleeps until ms milliseconds after the launch.
sleep_until() { while [ "$(ms_since "$launched")" -lt "$1" ]; do sleep 0.05; done; }

centred() { echo $(((screen_w - $1) / 2)) $(((screen_h - $2) / 2)); }

# 1. --scale 2: a 1600 x 1200 window, centred, showing the picture in 2 x 2 blocks. F11 covers
# the screen: the picture at the largest scale that fits (3), centred on black bars. F11 again
# brings the window back to its size and place; the settings file remembers the player's F11,
# not the command line's scale and scaling, which were for that run. The screenshots fall
# between the title captions (2 s) and the introduction (6 s), whose pictures hopla-sim draws
# alike; on a machine too busy for that the game is started again (at most three times).
for attempt in 1 2 3; do
    export XDG_CONFIG_HOME="$work/config-1-$attempt"
    launch scale2 "$hopla" --scale 2 --mute --scaling integer
    read -r cx cy <<<"$(centred 1600 1200)"
    expect_geometry 1600 1200 "$cx" "$cy" "--scale 2"
    sleep_until 2300
    import -window root "$work/scale2.png"
    xdotool key F11
    expect_geometry $screen_w $screen_h 0 0 "F11"
    # The window manager has resized the window; the game repaints it when told.
    sleep 0.3
    import -window root "$work/fullscreen.png"
    in_time=$(($(ms_since "$launched") < 5800))
    xdotool key F11
    expect_geometry 1600 1200 "$cx" "$cy" "F11 again"
    # The window may come back before the game has written its settings down.
    for _ in $(seq 60); do
        grep -qx 'fullscreen = false' "$XDG_CONFIG_HOME/hopla/settings.ini" 2>/dev/null && break
        sleep 0.05
    done
    stop_game
    [ "$in_time" = 1 ] && break
    echo "attempt $attempt: the screenshots came too late, starting again"
done
[ "$in_time" = 1 ] || fail "no screenshots within the first 6 s"
sim_picture "$work/scale2.png" 1600 1200 "$cx" "$cy"
echo "scale 2: hopla-sim's picture at $picture_at ms, each pixel a 2 x 2 block"
sim_picture "$work/fullscreen.png" 2400 1800 720 180
echo "fullscreen: hopla-sim's picture at $picture_at ms, each pixel a 3 x 3 block"
for bar in "3840 180 0 0" "3840 180 0 1980" "720 1800 0 180" "720 1800 3120 180"; do
    # shellcheck disable=SC2086
    [ "$(brightest "$work/fullscreen.png" $bar)" = 0 ] || fail "the bar $bar is not black"
done
grep -qx 'scale = auto' "$XDG_CONFIG_HOME/hopla/settings.ini" &&
    grep -qx 'scaling = fit' "$XDG_CONFIG_HOME/hopla/settings.ini" &&
    grep -qx 'fullscreen = false' "$XDG_CONFIG_HOME/hopla/settings.ini" ||
    fail "settings not remembered: $(cat "$XDG_CONFIG_HOME/hopla/settings.ini" 2>&1)"

# 2. Without --scale, the largest that fits a 4K screen: 3. A garbled settings file is ignored
# with one warning and written anew at the first change. Ctrl+Minus and Ctrl+Plus change the
# scale, never past what fits.
for attempt in 1 2 3; do
    export XDG_CONFIG_HOME="$work/config-2-$attempt"
    mkdir -p "$XDG_CONFIG_HOME/hopla"
    printf 'garbage\0\001\002 scale = 8\n' >"$XDG_CONFIG_HOME/hopla/settings.ini"
    launch auto "$hopla" --mute
    read -r cx cy <<<"$(centred 2400 1800)"
    expect_geometry 2400 1800 "$cx" "$cy" "the largest scale that fits"
    sleep_until 2300
    import -window root "$work/scale3.png"
    in_time=$(($(ms_since "$launched") < 5800))
    [ "$in_time" = 1 ] && break
    stop_game
    echo "attempt $attempt: the screenshot came too late, starting again"
done
[ "$in_time" = 1 ] || fail "no screenshot within the first 6 s"
[ "$(wc -l <"$work/auto.err")" = 1 ] && grep -q "^hopla: ignoring .*settings.ini: not a text file$" \
    "$work/auto.err" || fail "not one warning about the settings file: $(cat "$work/auto.err")"
for step in "ctrl+minus 1600 1200" "ctrl+plus 2400 1800" "ctrl+plus 2400 1800" \
            "ctrl+KP_Subtract 1600 1200" "ctrl+minus 800 600" "ctrl+minus 800 600" \
            "ctrl+KP_Add 1600 1200"; do
    read -r keys w h <<<"$step"
    xdotool key "$keys"
    read -r cx cy <<<"$(centred "$w" "$h")"
    expect_geometry "$w" "$h" "$cx" "$cy" "$keys"
done
# The window is resized before the game writes the new scale down: on a busy machine the kill
# could come in between.
for _ in $(seq 50); do
    grep -q '^scale = 2$' "$XDG_CONFIG_HOME/hopla/settings.ini" 2>/dev/null && break
    sleep 0.1
done
stop_game
sim_picture "$work/scale3.png" 2400 1800 720 180
echo "largest scale: hopla-sim's picture at $picture_at ms, each pixel a 3 x 3 block"
[ "$(cat "$XDG_CONFIG_HOME/hopla/settings.ini")" = "$(printf '%s\n' \
    "# Hopla's settings; the game rewrites the [window], [sound] and [play] values, and the" \
    '# [keys] when they are changed from the menu.' '[window]' \
    'scale = 2' 'fullscreen = false' 'scaling = fit' 'pause_when_unfocused = true' '[sound]' \
    'volume = 100' '[play]' 'speed = 100' 'race_overlay = false' \
    'ghost = false' 'ghost_run = game')" ] ||
    fail "settings file not rewritten cleanly: $(cat "$XDG_CONFIG_HOME/hopla/settings.ini")"

# 3. Remembered fullscreen, then the window keys and the mouse while the ball bounces in the
# title room, as the game sees them (hopla_watch prints every input handed to the game).
export XDG_CONFIG_HOME="$work/config-3"
mkdir -p "$XDG_CONFIG_HOME/hopla"
printf '[window]\nscale = 2\nfullscreen = true\nscaling = integer\n' \
    >"$XDG_CONFIG_HOME/hopla/settings.ini"
launch watch "$watch" --mute
expect_geometry $screen_w $screen_h 0 0 "remembered fullscreen"
for _ in $(seq 200); do
    grep -q '^first Timer1$' "$work/watch.out" && break
    sleep 0.1
done
grep -q '^first Timer1$' "$work/watch.out" || fail "the ball never bounced (see $work/watch.out)"
inputs() { grep -c -E '^(key|mouse) ' "$work/watch.out"; }
xdotool mousemove 100 1000 click 1 mousemove 3800 2100 click 3 mousemove 1920 100 click 1
sleep 0.5
[ "$(inputs)" = 0 ] || fail "a press on the black bars reached the game: $(cat "$work/watch.out")"
xdotool mousemove 1920 1080 click 1
for _ in $(seq 40); do
    grep -q '^mouse 1 interval 15$' "$work/watch.out" && break
    sleep 0.1
done
grep -q '^mouse 1 interval 15$' "$work/watch.out" ||
    fail "a press on the picture did not make the game faster: $(cat "$work/watch.out")"
read -r cx cy <<<"$(centred 1600 1200)"
xdotool key alt+Return
expect_geometry 1600 1200 "$cx" "$cy" "Alt+Enter"
xdotool key F11
expect_geometry $screen_w $screen_h 0 0 "F11"
xdotool key alt+KP_Enter
expect_geometry 1600 1200 "$cx" "$cy" "Alt+keypad Enter"
xdotool key ctrl+plus
expect_geometry 2400 1800 720 180 "Ctrl+Plus"
xdotool key ctrl+equal ctrl+minus
expect_geometry 1600 1200 "$cx" "$cy" "Ctrl+Minus"
# Every other key reaches the game as it came: a tap, then a held key with its auto-repeat.
xdotool key Right
xdotool keydown Right
sleep 1
xdotool keyup Right
sleep 0.3
# P pauses: 5 s paused add nothing to the stage time (read at a key the game ignores, x, before
# and after), and an arrow let go during the pause reaches the game as let go after it.
stage_time() { grep '^key down 88 ' "$work/watch.out" | tail -1 | sed 's/.* time //'; }
ups() { grep -c '^key up 39$' "$work/watch.out"; }
xdotool key x
sleep 0.3
before=$(stage_time)
paused_at=$(now_us)
xdotool keydown Right key p keyup Right
sleep 5
[ "$(ups)" = 2 ] || fail "a key let go during the pause reached the game during it"
xdotool key p
paused_ms=$(ms_since "$paused_at")
sleep 0.3
[ "$(ups)" = 3 ] || fail "a key let go during the pause did not reach the game after it"
xdotool key x
sleep 0.3
after=$(stage_time)
interval=$(grep '^key down 88 ' "$work/watch.out" | tail -1 | sed 's/.* interval \([0-9]*\) .*/\1/')
ran=$(((after - before) * interval))
# The game ran only between the presses outside the pause: well under a second of ticks.
[ -n "$before" ] && [ "$paused_ms" -ge 5000 ] && [ "$ran" -lt 1500 ] ||
    fail "paused ${paused_ms} ms, the stage time went from $before to $after ticks of $interval ms"
echo "pause: ${paused_ms} ms paused, the stage time went on by $((after - before)) ticks"
stop_game
for code in 122 13 187 189 107 109; do
    ! grep -q -E "^key (down|up) $code( |$)" "$work/watch.out" ||
        fail "window key $code reached the game: $(cat "$work/watch.out")"
done
for code in 16 17 18; do
    ! grep -q -E "^key (down|up) $code( |$)" "$work/watch.out" ||
        fail "modifier $code reached the game: $(cat "$work/watch.out")"
done
downs=$(grep -c '^key down 39 ' "$work/watch.out")
[ "$downs" -ge 6 ] || fail "a held Right gave $downs key presses, not its auto-repeat"
echo "keys: window keys kept from the game; Right held 1 s reached it $((downs - 1)) times"

# 4. A 1080p screen: the whole screen fitted, 1440 x 1080 between black bars of 240 pixels, the
# picture hopla-sim's shot enlarged the same way (each pixel doubled, then reduced to size by
# area); and --scale 8 lowered to what fits, with one line saying so.
kill "$wm_pid" && wait "$wm_pid" 2>/dev/null
kill "$xvfb_pid" && wait "$xvfb_pid" 2>/dev/null
wm_pid=
screen_w=1920
screen_h=1080
rm -f "$work/display"
e2e_start_xvfb ${screen_w}x${screen_h}x24
openbox --sm-disable >"$work/openbox-2.log" 2>&1 &
wm_pid=$!
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
export XDG_CONFIG_HOME="$work/config-4"
found=
for attempt in 1 2 3; do
    launch fit "$hopla" --fullscreen --mute
    expect_geometry $screen_w $screen_h 0 0 "--fullscreen"
    sleep_until 2300
    import -window root "$work/fit.png"
    in_time=$(($(ms_since "$launched") < 5800))
    stop_game
    [ "$in_time" = 1 ] || { echo "attempt $attempt: the screenshot came too late"; continue; }
    for bar in "240 1080 0 0" "240 1080 1680 0"; do
        # shellcheck disable=SC2086
        [ "$(brightest "$work/fit.png" $bar)" = 0 ] || fail "the bar $bar is not black"
    done
    convert "$work/fit.png" -crop 1440x1080+240+0 +repage "$work/fit-crop.png"
    # Which of hopla-sim's pictures it is: the one that, enlarged the same way, it equals.
    convert "$work/fit-crop.png" -scale 800x600 "$work/fit-800.png"
    best=$(for t in $(seq 2100 100 5900); do
        echo "$(compare -metric AE -fuzz 10% "$work/fit-800.png" "$work/sim-$t.png" null: 2>&1) $t"
    done | sort -n | head -1 | cut -d' ' -f2)
    convert "$work/sim-$best.png" -sample 1600x1200 -scale 1440x1080 "$work/fit-expected.png"
    differ=$(compare -metric AE -fuzz 2% "$work/fit-crop.png" "$work/fit-expected.png" null: 2>&1)
    [ "$differ" = 0 ] && { found=$best; break; }
    echo "attempt $attempt: $differ pixels differ from hopla-sim's picture at $best ms"
done
[ -n "$found" ] || fail "the fitted picture is not hopla-sim's enlarged (see $work/fit.png)"
echo "fit: hopla-sim's picture at $found ms, 1440 x 1080 between bars of 240"
launch big "$hopla" --scale 8 --mute --window
read -r cx cy <<<"$(centred 800 600)"
expect_geometry 800 600 "$cx" "$cy" "--scale 8 on 1080p"
stop_game
[ "$(cat "$work/big.err")" = "hopla: scale 8 does not fit the screen (1920x1080 usable); using 1" ] ||
    fail "not one line about the lowered scale: $(cat "$work/big.err")"

echo "scale e2e passed"
