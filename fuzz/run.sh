#!/usr/bin/env bash
# Runs each fuzzer for SECONDS from its seed corpus (fuzz/corpus/NAME, left untouched; new
# inputs go to BUILD/fuzz-corpus/NAME). Fails when any fuzzer finds something; the input is kept
# as BUILD/fuzz-findings/NAME-*. Usage: fuzz/run.sh BUILD SECONDS [NAME...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
seconds=$2
shift 2
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(script wave bmp demo stages text)

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
# The wave fuzzer converts through SDL's audio streams, which need no device.
export SDL_AUDIODRIVER=dummy

mkdir -p "$build/fuzz-findings" "$build/fuzz-logs"
# One fuzzer's run; its output goes to its log, which is shown when it ends.
fuzz_one() {
    local name=$1 options=()
    case $name in
        # A script input may run 20 s of the game; far less than 30 s of real time each.
        script) options=(-dict=fuzz/script.dict -max_len=4096 -timeout=30) ;;
        # A sound's memory follows its length: no single allocation near this.
        wave) options=(-max_len=8192 -malloc_limit_mb=64 -timeout=10) ;;
        bmp) options=(-max_len=10240 -malloc_limit_mb=64 -timeout=10) ;;
        demo) options=(-dict=fuzz/demo.dict -max_len=8192 -timeout=10) ;;
        stages) options=(-dict=fuzz/stages.dict -max_len=16384 -timeout=10) ;;
        text) options=(-max_len=4096 -timeout=10) ;;
    esac
    mkdir -p "$build/fuzz-corpus/$name"
    "$build/fuzz/fuzz_$name" "$build/fuzz-corpus/$name" "fuzz/corpus/$name" \
        -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-findings/$name-" "${options[@]}" \
        >"$build/fuzz-logs/$name.log" 2>&1
}

for name in "${names[@]}"; do
    case $name in
        script | wave | bmp | demo | stages | text) ;;
        *) echo "fuzz/run.sh: no fuzzer $name" >&2; exit 2 ;;
    esac
done

# The fuzzers run side by side, one a core (FUZZ_JOBS, the cores by default), each for its full
# time; every one runs to its end, and the run fails if any found something.
jobs=${FUZZ_JOBS:-$(nproc)}
declare -A pid_of=()
failed=()
finish() {
    local name=$1
    if wait "${pid_of[$name]}"; then
        echo "== fuzz_$name: ${seconds} s, nothing found"
        grep -E '^stat::(number_of_executed_units|new_units_added)' "$build/fuzz-logs/$name.log" || true
    else
        echo "== fuzz_$name FAILED; its log, $build/fuzz-logs/$name.log, ends:"
        tail -n 40 "$build/fuzz-logs/$name.log"
        failed+=("$name")
    fi
    unset "pid_of[$name]"
}
running=()
for name in "${names[@]}"; do
    if [ ${#running[@]} -ge "$jobs" ]; then
        finish "${running[0]}"
        running=("${running[@]:1}")
    fi
    echo "== fuzz_$name for ${seconds} s"
    fuzz_one "$name" &
    pid_of[$name]=$!
    running+=("$name")
done
for name in "${running[@]}"; do finish "$name"; done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz/run.sh: findings in ${failed[*]}; inputs kept in $build/fuzz-findings" >&2
    exit 1
fi
