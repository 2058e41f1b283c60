#!/usr/bin/env bash
# Runs every performance measurement and prints one table of figures against their targets:
# the Google Benchmark suite (each figure beside its memcpy floor), the timing probe of the real
# loop under a virtual X server at ball intervals of 5, 15 and 30 ms and through the title, at
# window scales 2 and 3, with a game controller plugged in, fitted to a 1080p whole screen, with
# the menu open over the paused game and with the race overlay and the ghost on (the ghost
# replaying tests/demos/game.demo from its start-up), and the resident size of the real
# game once its title is up at scales 1, 2 and 3. Beside the loop's lateness a bare
# thread sleeping to the same deadlines shows how late this machine wakes anything at all. Then
# the solver (every stage, a whole game) and, with valgrind, instruction counts of one stage's
# search and of playing the whole-game demo headless; last the sizes of the Windows downloads
# when they have been built.
#
# usage: bench/run.sh BUILD_DIR     (a build configured with -DHOPLA_BENCH=ON)
# Raw results are kept in BUILD_DIR/bench-results/. Never part of the tests.
set -euo pipefail

build=$(cd "${1:?usage: bench/run.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out="$build/bench-results"
mkdir -p "$out"
rm -f "$out"/*

for exe in bench/hopla_bench bench/loop_probe hopla hopla-sim hopla-solve; do
    [ -x "$build/$exe" ] || { echo "missing $build/$exe: build with -DHOPLA_BENCH=ON" >&2; exit 1; }
done
for tool in Xvfb python3; do
    command -v "$tool" >/dev/null || { echo "$tool is needed to run the benchmarks" >&2; exit 1; }
done

xvfb_pid=
hd_pid=
game_pid=
# The X servers were started in command substitutions, so they are not this shell's children
# to wait for: they are only told to end.
cleanup() {
    if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null || true; fi
    for pid in $xvfb_pid $hd_pid; do kill "$pid" 2>/dev/null || true; done
    return 0
}
trap cleanup EXIT

echo "== benchmarks (5 repetitions each, interleaved; medians are reported)" >&2
"$build/bench/hopla_bench" --benchmark_repetitions=5 --benchmark_min_time=0.2 \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
    --benchmark_format=json --benchmark_out="$out/benchmarks.json" --benchmark_out_format=json \
    >/dev/null

# Starts a virtual X server with a screen of GEOMETRY; NAME names its files in $out. Prints the
# display (":N") and leaves the server's pid in $out/NAME.pid. -noreset keeps the server up
# between one probe's last client and the next one's first.
start_xvfb() {
    local name=$1 geometry=$2
    Xvfb -displayfd 3 -screen 0 "$geometry" -noreset -nolisten tcp 3>"$out/$name.display" \
        2>"$out/$name.log" >/dev/null &
    echo $! >"$out/$name.pid"
    for _ in $(seq 100); do
        [ -s "$out/$name.display" ] && break
        sleep 0.05
    done
    [ -s "$out/$name.display" ] || { echo "Xvfb did not start (see $out/$name.log)" >&2; exit 1; }
    echo ":$(head -1 "$out/$name.display")"
}
echo "== virtual X servers" >&2
# A 4K screen, so that a window at scale 3 (2400 x 1800) fits on it; and a 1080p one, the
# whole screen the picture is fitted to (1440 x 1080) and the menu is shown on.
DISPLAY=$(start_xvfb xvfb 3840x2160x24)
xvfb_pid=$(cat "$out/xvfb.pid")
export DISPLAY
hd_display=$(start_xvfb xvfb-1080p 1920x1080x24)
hd_pid=$(cat "$out/xvfb-1080p.pid")
export SDL_AUDIODRIVER=dummy
# Settings of its own: nothing a player chose changes the windows measured.
export XDG_CONFIG_HOME="$out/config"

# The bare sleeper is a process of its own, so it shares the moment but not the probe's
# processor time.
# Each probe: ball interval (ms), then the probe's further options.
for probe in "5" "15" "30" "30 --scale 2" "30 --scale 3" "30 --pad" "30 --fit" "30 --menu" \
    "30 --race $here/../tests/demos/game.demo"; do
    read -r interval extra <<<"$probe"
    # The fitted whole screen and the menu on the 1080p screen, the rest on the 4K one.
    case "$extra" in --fit | --menu) display=$hd_display ;; *) display=$DISPLAY ;; esac
    echo "== loop probe, ball interval $interval ms ${extra:-}, with a bare sleeper beside it" >&2
    "$build/bench/loop_probe" --bare --interval "$interval" --seconds 12 >>"$out/bare.jsonl" &
    bare_pid=$!
    # shellcheck disable=SC2086
    DISPLAY=$display "$build/bench/loop_probe" --interval "$interval" --seconds 12 --quiet 4 ${extra:-} \
        >>"$out/probe.jsonl" 2>>"$out/probe-worst.txt"
    wait "$bare_pid"
done
echo "== loop probe, start-up and title, with a bare sleeper running beside it" >&2
"$build/bench/loop_probe" --bare --interval 30 --seconds 13 >"$out/bare-title.jsonl" &
bare_pid=$!
"$build/bench/loop_probe" --from-start --seconds 13 --quiet 2 \
    >>"$out/probe.jsonl" 2>>"$out/probe-worst.txt"
wait "$bare_pid"

# The real game: processor time while the window stays black (start-up arms only Timer2, due
# at 2 s), then its resident size a second after the title has appeared, at each scale.
ticks_per_s=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
for scale in 1 2 3; do
    echo "== the game's memory at scale $scale" >&2
    "$build/hopla" --scale "$scale" >"$out/hopla-$scale.log" 2>&1 &
    game_pid=$!
    sleep 0.5
    black_from=$(cpu_ticks "$game_pid")
    sleep 1.4
    black_to=$(cpu_ticks "$game_pid")
    sleep 1.1
    rss_kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$game_pid/status")
    hwm_kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$game_pid/status")
    kill "$game_pid"
    wait "$game_pid" 2>/dev/null || true
    game_pid=
    echo "{\"scale\": $scale, \"rss_kb\": $rss_kb, \"hwm_kb\": $hwm_kb, \"black_cpu_ticks\": $((black_to - black_from)), \"black_seconds\": 1.4, \"ticks_per_s\": $ticks_per_s}" \
        >>"$out/game.jsonl"
done

# The solver on the real game: every stage, two processes at a time, then a whole game.
echo "== hopla-solve: every stage, then a whole game" >&2
mkdir -p "$out/solve"
"$build/hopla-solve" --all --jobs 2 --out-dir "$out/solve" >"$out/solve-stages.txt" || true
"$build/hopla-solve" --game --out "$out/solve/game.demo" >"$out/solve-game.txt" || true
# The exact search on stage 19 (proven) and stage 0 (not): its time, its peak resident memory
# (the bound of every state and the states remembered) and the gap it leaves.
for n in 19 0; do
    /usr/bin/time -f "%M" -o "$out/prove-$n.kb" "$build/hopla-solve" --prove --stage "$n" \
        --time 120 --out "$out/solve/prove-$n.demo" >>"$out/solve-prove.txt" || true
    echo "stage $n peak resident memory: $(($(tail -1 "$out/prove-$n.kb") / 1024)) MB" \
        >>"$out/solve-prove.txt"
done

# Instruction counts: one stage's search and the headless playback of the whole-game demo.
if command -v valgrind >/dev/null; then
    echo "== callgrind: hopla-solve --stage 3, hopla-sim --play game.demo" >&2
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$build/hopla-solve" --stage 3 \
        --out "$out/solve/callgrind-3.demo" >"$out/callgrind-solve.txt" 2>&1 || true
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$build/hopla-sim" \
        --play "$here/../tests/demos/game.demo" >"$out/callgrind-play.txt" 2>&1 || true
fi

# What a player downloads, where those builds are there (make windows): one line a file, its
# bytes and its name.
for file in "$here"/../build-windows/hopla-*-windows-x64.zip \
    "$here"/../build-windows/hopla-*-windows-x64-setup.exe; do
    if [ -f "$file" ]; then printf '%s %s\n' "$(stat -c %s "$file")" "$(basename "$file")"; fi
done >"$out/sizes.txt"

python3 "$here/report.py" "$out"
