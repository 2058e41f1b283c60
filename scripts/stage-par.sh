#!/usr/bin/env bash
# Writes shell/StagePar.h, the par of each stage the records page shows, from the best column
# of docs/stages.md, and each stage's tick bound from its bound column (the tests hold the
# routes of the corpus to it); scripts/stages-table.sh runs it after writing the table.
#
# usage: scripts/stage-par.sh
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
pars=$(awk -F'|' '/^\| [0-9]+ \|/ { gsub(/ /, "", $3); printf "%s%s", sep, $3; sep = ", " }' \
    "$here/docs/stages.md")
bounds=$(awk -F'|' '/^\| [0-9]+ \|/ { gsub(/ /, "", $4); printf "%s%s", sep, $4; sep = ", " }' \
    "$here/docs/stages.md")
count=$(tr ',' '\n' <<<"$pars" | grep -c .)
if [[ $count -ne 21 || $(tr ',' '\n' <<<"$bounds" | grep -c .) -ne 21 ]]; then
    echo "stage-par: docs/stages.md has $count stages, not 21" >&2
    exit 1
fi
cat >"$here/shell/StagePar.h" <<HEADER
// Each stage's par: the fewest ticks of the solver's routes (docs/stages.md), beside the
// player's best on the records page; and its tick bound (no play is quicker). Made by
// scripts/stage-par.sh; do not edit by hand.
#pragma once

#include <array>

namespace hopla {

inline constexpr std::array<int, 21> kStagePar = {$pars};
inline constexpr std::array<int, 21> kStageBound = {$bounds};

}  // namespace hopla
HEADER
# As make format would write it.
if command -v clang-format >/dev/null; then clang-format -i "$here/shell/StagePar.h"; fi
echo "stage-par: wrote shell/StagePar.h" >&2
