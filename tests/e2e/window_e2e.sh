#!/usr/bin/env bash
# End-to-end check of the real game window under a virtual X server without a window manager:
# the window appears titled Hopla with the desktop entry's class and the game's icon,
# borderless, centred and 800 x 600 (the largest scale that fits 1024 x 768 is 1), stays black
# for the first two seconds, then shows the title captions, F11 covers the screen and brings
# the window back, a sound of the title is heard, and a close request ends the game with exit
# status 0; started again, Esc shows the menu over the picture and its Quit ends the game with
# exit status 0 too.
#
# usage: window_e2e.sh HOPLA_EXECUTABLE [C_COMPILER]
# HOPLA_E2E_SILENT_UNTIL=S: nothing may be heard in the first S seconds of sound (for a game
# with the title's wave file removed), but a later sound must be.
# Screenshots go to a fresh directory under /tmp, kept when the test fails or when
# HOPLA_E2E_KEEP=1. Exit status 77 means the test could not run here (skipped).
set -uo pipefail

hopla=${1:?usage: window_e2e.sh HOPLA_EXECUTABLE [C_COMPILER]}
cc=${2:-cc}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

source "$here/common.sh"
e2e_setup e2e Xvfb xdotool xprop import convert "$cc"

# The game's close request comes from a small Xlib program: without a window manager nothing
# else can send WM_DELETE_WINDOW (xdotool's windowclose destroys the window under the client).
"$cc" -o "$work/wm_close" "$here/wm_close.c" -lX11 || fail "cannot build the close helper"

# A white root, so that a black area on the screenshot can only be the game's window.
e2e_start_xvfb 1024x768x24 -wr
# The sound goes to a file through SDL's disk driver (44.1 kHz, 16-bit stereo: 176400 bytes a
# second, silence as zeros), so the test hears what the game plays from its wave files.
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$work/audio.raw"
audio_rate=176400
silent_until=${HOPLA_E2E_SILENT_UNTIL:-0}
# Settings of its own, so that nothing a player chose changes the window under test.
export XDG_CONFIG_HOME="$work/config"
root_w=1024
root_h=768

# Colour of one pixel of an image as "r,g,b" in 0..255.
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
# The brightest channel value (0..255) in a w x h area at x, y of an image.
brightest() { convert "$1" -crop "$2x$3+$4+$5" +repage -format "%[fx:int(255*maxima)]" info:; }

# Starts the game (in a window unless other options are given: this screen is small enough to
# start on the whole screen) and waits for its window; sets game_pid, launched (us) and the
# geometry.
launch() {
    launched=$(now_us)
    "$hopla" "${@:---window}" >"$work/hopla.log" 2>&1 &
    game_pid=$!
    e2e_wait_window "$work/hopla.log"
    eval "$(xdotool getwindowgeometry --shell "$wid")"  # X, Y, WIDTH, HEIGHT
}

stop_game() {
    kill -9 "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null
    game_pid=
}

# 1. The window during the first two seconds: 800 x 600, centred, all black. The game's clock
# starts after the launch, so a screenshot finished within 1.9 s of the launch must show it
# black. A shot taken before the window's first paint is taken again; on a machine too busy to
# get one in time, the game is started again (at most three times).
black=0
for attempt in 1 2 3; do
    launch
    [ "$WIDTH" = 800 ] && [ "$HEIGHT" = 600 ] || fail "window is ${WIDTH}x${HEIGHT}, not 800x600"
    [ "$X" = $(((root_w - 800) / 2)) ] && [ "$Y" = $(((root_h - 600) / 2)) ] ||
        fail "window at $X,$Y is not centred"
    while [ "$(ms_since "$launched")" -lt 1700 ]; do
        [ "$(ms_since "$launched")" -lt 800 ] && { sleep 0.1; continue; }
        import -window root "$work/first.png"
        if [ "$(ms_since "$launched")" -lt 1900 ] &&
           [ "$(brightest "$work/first.png" 800 600 "$X" "$Y")" = 0 ]; then
            black=1
            break
        fi
        sleep 0.1
    done
    [ "$black" = 1 ] && break
    echo "attempt $attempt: no all-black screenshot within the first 2 s, starting again"
    stop_game
done
[ "$black" = 1 ] || fail "the window is not all black during the first 2 s (see $work/first.png)"
# Borderless: the pixels just outside the window's corners are the white root.
for corner in "$((X - 1)) $((Y - 1))" "$((X + 800)) $((Y - 1))" "$((X - 1)) $((Y + 600))" \
              "$((X + 800)) $((Y + 600))"; do
    # shellcheck disable=SC2086
    [ "$(pixel "$work/first.png" $corner)" = "255,255,255" ] ||
        fail "the screen around the window is not the root at $corner (see $work/first.png)"
done

# The window's identity for the desktop: the class of its desktop entry (StartupWMClass) and a
# 64 x 64 icon (two words of size, then the pixels).
xprop -id "$wid" WM_CLASS | grep -qx 'WM_CLASS(STRING) = "hopla", "hopla"' ||
    fail "the window's class is not hopla: $(xprop -id "$wid" WM_CLASS)"
icon=$(xprop -id "$wid" -f _NET_WM_ICON 32c ' = $0 x $1' _NET_WM_ICON)
[ "$icon" = "_NET_WM_ICON(CARDINAL) = 64 x 64" ] || fail "the window has no 64 x 64 icon: $icon"

# 2. The title captions appear two seconds after start-up, in the label area of Display.
captions=0
for _ in $(seq 20); do
    [ "$(ms_since "$launched")" -lt 2500 ] && { sleep 0.1; continue; }
    import -window root "$work/title.png"
    if [ "$(brightest "$work/title.png" 185 70 $((X + 335)) $((Y + 260)))" -gt 0 ]; then
        captions=1
        break
    fi
    sleep 0.25
done
[ "$captions" = 1 ] || fail "no title captions in the label area (see $work/title.png)"

# 3. Even without a window manager F11 puts the game on the whole screen, and F11 again brings
# the window back to its size and place.
toggle() {
    xdotool key F11
    for _ in $(seq 60); do
        eval "$(xdotool getwindowgeometry --shell "$wid")"
        [ "$WIDTH $HEIGHT $X $Y" = "$1" ] && return
        sleep 0.05
    done
    fail "after F11 the window is ${WIDTH}x${HEIGHT} at $X,$Y, not $1 (width height x y)"
}
placed="800 600 $X $Y"
toggle "$root_w $root_h 0 0"
toggle "$placed"

# 4. A sound is heard: the title plays keri.wav six seconds after start-up. The disk driver
# writes no faster than real time, so a sound lies in the file at most at its own time.
first_sound() {  # the byte offset of the first sound in the audio file, empty while silent
    LC_ALL=C cmp "$SDL_DISKAUDIOFILE" /dev/zero 2>/dev/null |
        sed -n 's/.* differ: [a-z]* \([0-9]*\),.*/\1/p'
}
heard=
while [ "$(ms_since "$launched")" -lt $((15000 + 1000 * silent_until)) ]; do
    heard=$(first_sound)
    [ -n "$heard" ] && break
    kill -0 "$game_pid" 2>/dev/null || fail "the game exited while waiting for a sound"
    sleep 0.25
done
[ -n "$heard" ] || fail "no sound was heard (see $work/hopla.log)"
[ $((heard / audio_rate)) -ge "$silent_until" ] ||
    fail "a sound was heard at $((heard / audio_rate)) s, within the first $silent_until s"

# 5. The window manager's close request ends the game like its own end: exit status 0.
"$work/wm_close" "$wid" || fail "cannot send the close request"
await_game 50
[ -n "$status" ] || fail "the game did not end within 5 s of the close request"
[ "$status" = 0 ] || fail "the game ended with status $status (see $work/hopla.log)"
[ -z "$(xdotool search --name '^Hopla$' 2>/dev/null)" ] || fail "the window is still there"

# 6. Esc opens the menu over the picture (a panel in the middle, the picture around it dimmed
# but not black once the title shows); Up from Resume goes round to Quit, and Enter on it ends
# the game with exit status 0.
launch
while [ "$(ms_since "$launched")" -lt 2600 ]; do sleep 0.1; done
xdotool key Escape
sleep 0.5
import -window root "$work/menu.png"
# The panel's border and its title in the middle of the picture.
[ "$(brightest "$work/menu.png" 300 60 $((X + 250)) $((Y + 150)))" -gt 100 ] ||
    fail "no menu panel over the picture (see $work/menu.png)"
kill -0 "$game_pid" 2>/dev/null || fail "the game ended on Esc"
xdotool key Up Return
await_game 50
[ -n "$status" ] || fail "the game did not end within 5 s of choosing Quit"
[ "$status" = 0 ] || fail "Quit ended the game with status $status (see $work/hopla.log)"

# 7. With nothing said about the window, a screen of a handheld's size or smaller (this one is
# 1024 x 768) starts on the whole screen: a player who never chose (no settings file yet).
export XDG_CONFIG_HOME="$work/fresh-config"
launch --mute
[ "$WIDTH" = "$root_w" ] && [ "$HEIGHT" = "$root_h" ] ||
    fail "on a small screen the game started in a ${WIDTH}x${HEIGHT} window"
stop_game

echo "window e2e passed"
