# What the end-to-end scripts share: the check for their tools, a work directory, the clean-up
# of the processes they start (game, window manager, X server) and the failure report.
# Sourced by a script after its arguments are read: e2e_setup NAME TOOL...

# Skips the test (exit status 77) when a tool is missing; makes $work; arms the clean-up.
e2e_setup() {
    local name=$1 tool
    shift
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "skipped: $tool is not installed (the test needs: $*)"
            exit 77
        fi
    done
    work=$(mktemp -d "/tmp/hopla-$name.XXXXXX")
    xvfb_pid=
    wm_pid=
    game_pid=
    failed=0
    trap e2e_cleanup EXIT
}

# The game first, then the window manager, then the X server; the work directory is kept when
# the test failed or HOPLA_E2E_KEEP=1 asks for it.
e2e_cleanup() {
    [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    if [ "$failed" -eq 0 ] && [ "${HOPLA_E2E_KEEP:-0}" != 1 ]; then
        rm -rf "$work"
    else
        echo "screenshots, demos and logs kept in $work"
    fi
}

fail() {
    echo "FAIL: $*"
    failed=1
    exit 1
}

now_us() { echo "${EPOCHREALTIME/./}"; }
ms_since() { echo $((($(now_us) - $1) / 1000)); }

# Starts a virtual X server with a screen of GEOMETRY (e.g. 1024x768x24) and any further Xvfb
# options; sets xvfb_pid and exports DISPLAY. Servers that pick their display number at the same
# moment can take each other's socket (the loser's later clients then find no display), so the
# tests start theirs one at a time, each waited for until it answers. -noreset: by default the
# server resets itself whenever its last client leaves, and a program connecting in that moment
# (the game just after xdotool's probe) is refused.
e2e_start_xvfb() {
    local geometry=$1
    shift
    exec {lock_fd}>"${TMPDIR:-/tmp}/hopla-e2e-xvfb.lock"
    flock -w 30 "$lock_fd" || true
    Xvfb -displayfd 3 -screen 0 "$geometry" "$@" -noreset -nolisten tcp 3>"$work/display" \
        2>"$work/xvfb.log" {lock_fd}>&- &
    xvfb_pid=$!
    for _ in $(seq 50); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not start (see $work/xvfb.log)"
    export DISPLAY=":$(head -1 "$work/display")"
    for _ in $(seq 50); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && break
        sleep 0.1
    done
    exec {lock_fd}>&-
    xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb does not answer on $DISPLAY"
}

# Waits for the game started as $game_pid to show its window, named by the pattern NAME
# (default ^Hopla$); sets wid. LOG is named when the program exits instead. The window must be
# that process's own (_NET_WM_PID): a program that has just ended may leave its window on a busy
# server a moment longer, and a search by name alone would take it. A test whose $game_pid is a
# wrapper's (wine's) sets e2e_window_any_pid=1.
e2e_wait_window() {
    local log=$1 name=${2:-'^Hopla$'}
    local own=(--all --pid "$game_pid")
    [ "${e2e_window_any_pid:-0}" = 1 ] && own=()
    wid=
    for _ in $(seq 100); do
        wid=$(xdotool search --onlyvisible "${own[@]}" --name "$name" 2>/dev/null | head -1)
        [ -n "$wid" ] && break
        kill -0 "$game_pid" 2>/dev/null || fail "the program exited at start-up (see $log)"
        sleep 0.05
    done
    [ -n "$wid" ] || fail "no window named $name was shown"
}

# Waits up to $1 tenths of a second for the game ($game_pid) to end and sets `status` to its
# exit status (empty when it did not end); `game_pid` is emptied once it has ended.
await_game() {
    status=
    for _ in $(seq "$1"); do
        if ! kill -0 "$game_pid" 2>/dev/null; then
            wait "$game_pid"
            status=$?
            game_pid=
            return
        fi
        sleep 0.1
    done
}
