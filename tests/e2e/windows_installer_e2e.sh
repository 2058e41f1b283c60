#!/usr/bin/env bash
# The Windows game as a player meets it, in a wine prefix of its own under a virtual X server:
# the installer's silent install puts the files, the Start-menu shortcut, the entry in Installed
# apps and the file types in place; the installed hopla.exe is a windowed program with the
# game's icon and version information that still prints --version; copied alone into a folder,
# it says in a message box which file is missing and exits non-zero; a .demo started through
# its file type plays in the window and closes; the silent uninstall removes the program, its
# shortcut and its registry keys and keeps the player's settings.
#
# usage: windows_installer_e2e.sh WINE WINESERVER SETUP DEMO
# SETUP is hopla-VERSION-windows-x64-setup.exe, DEMO a short demo ending by itself. The prefix
# and logs go to a fresh directory under /tmp, kept when the test fails or HOPLA_E2E_KEEP=1.
# Exit status 77 means the test could not run here (skipped).
set -uo pipefail

usage="usage: windows_installer_e2e.sh WINE WINESERVER SETUP DEMO"
wine=${1:?$usage}
server=${2:?$usage}
setup=${3:?$usage}
demo=${4:?$usage}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

source "$here/common.sh"
e2e_setup windows-installer Xvfb xdotool import script x86_64-w64-mingw32-objdump wrestool
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
trap '"$server" -k 2>/dev/null; e2e_cleanup' EXIT
# A desktop's screen, larger than a handheld's (the game opens in a window there) and smaller
# than twice its picture (the window at scale 1).
e2e_start_xvfb 1400x1000x24

win() { "$wine" "$@" </dev/null 2>>"$work/wine.log"; }
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }
# A key's values as `reg query` lists them; nothing when the key is not there.
registry() {
    local out
    out=$(win reg query "$1" ${2:+/v "$2"}) && tr -d '\r' <<<"$out"
}

# A window named Hopla shown by the program started as $game_pid (wine's start), within 30 s:
# wine starts a program slower than Linux does; sets wid.
await_window() {
    wid=
    for _ in $(seq 300); do
        wid=$(xdotool search --onlyvisible --name '^Hopla$' 2>/dev/null | head -1)
        [ -n "$wid" ] && return
        kill -0 "$game_pid" 2>/dev/null || fail "$1 ended without a window"
        sleep 0.1
    done
    fail "$1 showed no window named Hopla"
}

win wineboot -i >/dev/null || fail "wineboot could not make the prefix (see $work/wine.log)"
profile="$WINEPREFIX/drive_c/users/$(id -un)"
inst="$profile/AppData/Local/Programs/Hopla"
shortcut="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Hopla.lnk"
uninstall='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Hopla'

# 1. The silent install.
win "$setup" /S >/dev/null || fail "the silent install failed"
for f in hopla.exe ipagp.ttf jump.wav stages/first-steps.stages tools/hopla-sim.exe README.txt \
    LICENSE.txt uninstall.exe; do
    [ -f "$inst/$f" ] || fail "the install has no $f"
done
grep -qaF 'Programs\Hopla\hopla.exe' "$shortcut" 2>/dev/null ||
    fail "no Start-menu shortcut to the installed hopla.exe"
for check in "$uninstall|DisplayName|Hopla" "$uninstall|DisplayVersion|[0-9]+\.[0-9]+\.[0-9]+" \
    "$uninstall|DisplayIcon|hopla\.exe,0" "$uninstall|UninstallString|uninstall\.exe" \
    'HKCU\Software\Classes\.demo||Hopla\.Demo' 'HKCU\Software\Classes\.stages||Hopla\.Stages' \
    'HKCU\Software\Classes\Hopla.Demo\shell\open\command||hopla\.exe" --play "%1"' \
    'HKCU\Software\Classes\Hopla.Demo\DefaultIcon||hopla\.exe,-2' \
    'HKCU\Software\Classes\Hopla.Stages\DefaultIcon||hopla\.exe,-3' \
    'HKCU\Software\Classes\Hopla.Stages\shell\open\command||hopla\.exe" --stages "%1"' \
    'HKCU\Software\Classes\Hopla.Stages\shell\edit\command||hopla\.exe" --edit "%1"'; do
    IFS='|' read -r key value pattern <<<"$check"
    registry "$key" "$value" | grep -qE "$pattern" ||
        fail "the registry's $key ${value:-(default)} is not $pattern: $(registry "$key")"
done

# 2. The program: a windowed one with the game's icon and version, and still a command-line one.
headers=$(x86_64-w64-mingw32-objdump -p "$inst/hopla.exe")
grep -q 'Subsystem.*Windows GUI' <<<"$headers" ||
    fail "hopla.exe is not a windowed (GUI subsystem) program"
resources=$(wrestool -l "$inst/hopla.exe")
for resource in "14 --name=1" "14 --name=2" "14 --name=3" "16 " "24 "; do  # icons, version, manifest
    grep -q -- "--type=$resource" <<<"$resources" || fail "hopla.exe has no resource --type=$resource"
done
version=$(win "$inst/hopla.exe" --version | tr -d '\r')
[[ $version =~ ^hopla\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "hopla.exe --version printed '$version'"
# In a terminal (wine's console on it draws with escape sequences, taken away here).
terminal=$(script -qec "$(printf '%q ' "$wine" "$inst/hopla.exe" --version)" /dev/null </dev/null |
    sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tr -d '\r\n ')
[[ $terminal == *hopla1.* ]] || fail "hopla.exe --version printed '$terminal' in a terminal"

# 3. hopla.exe alone: a message box titled Hopla, and an exit status that is not 0. Started as
# Explorer starts it, with no standard streams at all.
mkdir -p "$work/alone"
cp "$inst/hopla.exe" "$work/alone/"
win start /wait /unix "$work/alone/hopla.exe" >/dev/null 2>&1 &
game_pid=$!
await_window "hopla.exe alone"
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$WIDTH" -lt 800 ] || fail "the window that opened is ${WIDTH}x$HEIGHT, the game's and not a message box"
import -window "$wid" "$work/message-box.png" 2>/dev/null
xdotool windowfocus --sync "$wid" key Return
await_game 100
[ -n "$status" ] || fail "hopla.exe did not end after its message box was closed"
[ "$status" != 0 ] || fail "hopla.exe alone ended with status 0"

# 4. A demo opened through its file type plays in the window, which closes at its end. Windows
# shows the user's own classes (HKCU\Software\Classes) in HKEY_CLASSES_ROOT, where the shell
# looks; wine does not, so the installer's keys are shown there as Windows would.
play=$(registry 'HKCU\Software\Classes\Hopla.Demo\shell\open\command' | sed -n 's/^ *(Default) *REG_SZ *//p')
win reg add 'HKCR\.demo' /ve /d Hopla.Demo /f >/dev/null &&
    win reg add 'HKCR\Hopla.Demo\shell\open\command' /ve /d "$play" /f >/dev/null ||
    fail "cannot show the file type .demo in HKEY_CLASSES_ROOT"
cp "$demo" "$work/played.demo"
win start /wait /unix "$work/played.demo" >/dev/null 2>&1 &
game_pid=$!
await_window "the demo opened through its file type"
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$WIDTH" = 800 ] && [ "$HEIGHT" = 600 ] || fail "the demo's window is ${WIDTH}x$HEIGHT, not 800x600"
await_game 600
[ "$status" = 0 ] || fail "the demo opened through its file type ended with status '${status:-running}'"

# 5. The silent uninstall: the program, its shortcut and keys gone, the player's settings kept.
mkdir -p "$profile/AppData/Roaming/hopla"
echo "[sound]" >"$profile/AppData/Roaming/hopla/settings.ini"
win "$inst/uninstall.exe" /S >/dev/null || fail "the silent uninstall failed"
# The uninstaller runs from a copy of itself, which the one started does not wait for; it
# removes its entry in Installed apps last.
for _ in $(seq 30); do [ -n "$(registry "$uninstall")" ] || break; sleep 0.5; done
[ ! -e "$inst" ] || fail "the uninstall left $(find "$inst" | head -3)"
[ ! -e "$shortcut" ] || fail "the uninstall left the Start-menu shortcut"
for key in "$uninstall" 'HKCU\Software\Classes\Hopla.Demo' 'HKCU\Software\Classes\Hopla.Stages' \
    'HKCU\Software\Classes\.demo' 'HKCU\Software\Classes\.stages'; do
    [ -z "$(registry "$key")" ] || fail "the uninstall left the registry key $key"
done
[ -f "$profile/AppData/Roaming/hopla/settings.ini" ] || fail "the uninstall removed the player's settings"
echo "windows installer e2e passed: installed, message box for a lone hopla.exe, $(basename "$demo") played through its file type, uninstalled"
