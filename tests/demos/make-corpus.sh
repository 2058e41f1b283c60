#!/usr/bin/env bash
# Writes the replay corpus again from its sources: each script under scripts/ recorded by
# hopla-sim --record, every stage and a whole game found by hopla-solve, a description comment
# in each. window-*.demo are recordings of the real window (tests/e2e/demo_e2e.sh writes one)
# and are kept as they are.
#
# usage: tests/demos/make-corpus.sh BUILD_DIR    (with hopla-sim and hopla-solve built)
set -euo pipefail

build=$(cd "${1:?usage: make-corpus.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
sim="$build/hopla-sim"
solve="$build/hopla-solve"

# The seeds that change what is seen: the band wipes and the ending's cell orders.
declare -A seeds=([new-game]=0 [ending]=4294967295 [title]=7)

# Puts the lines of $2 (comments) after the demo's header lines: three, and its made line.
describe() {
    local demo=$1 text=$2 tmp lines=3
    tmp=$(mktemp)
    if sed -n 4p "$demo" | grep -q '^made '; then lines=4; fi
    { head -$lines "$demo"; printf '%s\n' "$text"; tail -n +$((lines + 1)) "$demo"; } >"$tmp"
    mv "$tmp" "$demo"
}

for script in "$here"/scripts/*.sim; do
    name=$(basename "$script" .sim)
    "$sim" --seed "${seeds[$name]:-1}" --record "$here/$name.demo" "$script" >/dev/null
    describe "$here/$name.demo" "$(grep '^#' "$script")"
done

# The slowest pace: the right button pressed until the interval stops at 65535 ms.
{
    printf 'stage 0\nwait 2500\n'
    for _ in $(seq 4400); do echo 'mouse 2'; done
    echo 'wait 5000'
} | "$sim" --seed 1 --record "$here/speed-slowest.demo" >/dev/null
describe "$here/speed-slowest.demo" \
    "# The right button pressed 4400 times on stage 0: the pace stops at 65535 ms a tick."

"$solve" --all --out-dir "$here"
for n in $(seq 0 20); do
    describe "$here/$(printf 'stage-%02d' "$n").demo" \
        "# hopla-solve --stage $n: stage $n cleared from its start on the real game."
done
"$solve" --game --out "$here/game.demo"
describe "$here/game.demo" \
    "# hopla-solve --game: start-up, the title room, stages 0 to 20 without a lost ball, the
# ending, the final screen with the score and its code, and the closing click."
"$solve" --game --linger 33000 --out "$here/slow-game.demo"
describe "$here/slow-game.demo" \
    "# hopla-solve --game --linger 33000: a slow player's whole game. The ball is left bouncing
# at the start of every stage where it can be until the stage's time stops at 32767; the
# introductions' score passes 32767 and the final score (over 10000) has no code."
