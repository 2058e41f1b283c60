#!/usr/bin/env bash
# Writes docs/stages.md from hopla-solve --prove: each stage's best ticks, its tick bound, how far
# the exact search proved no quicker route of the solver's moves, the verdict, and its demo in
# the corpus; then shell/StagePar.h from it (scripts/stage-par.sh). Fails when a state along a
# stage's best route has a bound above the ticks the route still took from it. Runs one stage at a time, niced (an hour at most with the default limits).
#
# usage: scripts/stages-table.sh BUILD_DIR [SECONDS_PER_STAGE] [MEGABYTES]
set -euo pipefail

build=$(cd "${1:?usage: stages-table.sh BUILD_DIR [SECONDS_PER_STAGE] [MEGABYTES]}" && pwd)
seconds=${2:-120}
megabytes=${3:-512}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rows=
for n in $(seq 0 20); do
    nn=$(printf '%02d' "$n")
    nice -n 15 "$build/hopla-solve" --prove --stage "$n" --time "$seconds" --memory "$megabytes" \
        --out "$work/stage-$nn.demo" >"$work/stage-$nn.txt" || true
    if grep -q "OVERESTIMATES" "$work/stage-$nn.txt"; then
        echo "stages-table: stage $n: a state's bound is more than the ticks its route still took:" >&2
        cat "$work/stage-$nn.txt" >&2
        exit 1
    fi
    line=$(grep -E "^stage +$n: best " "$work/stage-$nn.txt" | tail -1)
    if [[ -z $line ]]; then
        echo "stages-table: stage $n gave no verdict:" >&2
        cat "$work/stage-$nn.txt" >&2
        exit 1
    fi
    # "stage  3: best 412 ticks, bound 30, none quicker below 35 with the solver's moves: VERDICT  ..."
    best=$(sed -E 's/.*: best ([0-9]+) ticks.*/\1/' <<<"$line")
    bound=$(sed -E 's/.*, bound ([0-9]+),.*/\1/' <<<"$line")
    below=$(sed -E 's/.*none quicker below ([0-9]+) .*/\1/' <<<"$line")
    verdict=$(sed -E "s/.*the solver's moves: (.*)  [0-9.]+ s  .*/\1/" <<<"$line")
    figures=$(sed -E "s/.*the solver's moves: .*  ([0-9.]+ s)  ([0-9]+ steps)  ([0-9]+ states)  ([0-9.]+ MB)$/\1, \2, \3 (\4)/" <<<"$line")
    corpus=$(printf 'tests/demos/stage-%s.demo' "$nn")
    echo "$line" >&2
    rows+="| $n | $best | $bound | $below | $verdict | [$corpus](../$corpus) | $figures |"$'\n'
done

{
    cat <<HEAD
# The stages: best routes, bounds and proofs

Made by \`scripts/stages-table.sh\` from \`hopla-solve --prove --stage N --time $seconds --memory
$megabytes\` (seed 1) on each stage from its start; do not edit by hand. docs/solver.md says what
the figures mean.

- **best**: the fewest ticks (the stage's time) of a route found: the beam search's, or the exact
  search's when it found a quicker one. Every route is a demo that plays back with every check
  matching (\`hopla-solve --prove --stage N --out DEMO\` writes it). The corpus's stage demos
  (the demo column) were made by an earlier solver and some take more ticks.
- **bound**: no play at all is quicker, whatever keys (the tick bound).
- **searched**: the exact search proved that no route made of the solver's moves takes fewer
  ticks than this.
- **verdict**: proven optimal (for the solver's moves) when searched reaches best; else the gap
  and why the search stopped.

| stage | best | bound | searched | verdict | demo | search |
|------:|-----:|------:|---------:|---------|------|--------|
HEAD
    printf '%s' "$rows"
} >"$here/docs/stages.md"
echo "stages-table: wrote docs/stages.md" >&2
"$here/scripts/stage-par.sh"
