#!/usr/bin/env bash
# Runs each fuzzer for SECONDS from its seed corpus (fuzz/corpus/NAME, left untouched; new
# inputs go to BUILD/fuzz-corpus/NAME). Stops with a failure at the first finding, whose input
# is kept as BUILD/fuzz-findings/NAME-*. Usage: fuzz/run.sh BUILD SECONDS [NAME...]
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

mkdir -p "$build/fuzz-findings"
for name in "${names[@]}"; do
    options=()
    case $name in
        # A script input may run 20 s of the game; far less than 30 s of real time each.
        script) options=(-dict=fuzz/script.dict -max_len=4096 -timeout=30) ;;
        # A sound's memory follows its length: no single allocation near this.
        wave) options=(-max_len=8192 -malloc_limit_mb=64 -timeout=10) ;;
        bmp) options=(-max_len=10240 -malloc_limit_mb=64 -timeout=10) ;;
        demo) options=(-dict=fuzz/demo.dict -max_len=8192 -timeout=10) ;;
        stages) options=(-dict=fuzz/stages.dict -max_len=16384 -timeout=10) ;;
        text) options=(-max_len=4096 -timeout=10) ;;
        *) echo "fuzz/run.sh: no fuzzer $name" >&2; exit 2 ;;
    esac
    mkdir -p "$build/fuzz-corpus/$name"
    echo "== fuzz_$name for ${seconds} s"
    "$build/fuzz/fuzz_$name" "$build/fuzz-corpus/$name" "fuzz/corpus/$name" \
        -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-findings/$name-" "${options[@]}"
done
