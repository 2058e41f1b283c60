#!/usr/bin/env bash
# Writes shell/StagePar.h, the par of each stage the records page shows, from the best column
# of docs/stages.md (scripts/stages-table.sh runs it after writing the table).
#
# usage: scripts/stage-par.sh
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
pars=$(awk -F'|' '/^\| [0-9]+ \|/ { gsub(/ /, "", $3); printf "%s%s", sep, $3; sep = ", " }' \
    "$here/docs/stages.md")
count=$(tr ',' '\n' <<<"$pars" | grep -c .)
if [[ $count -ne 21 ]]; then
    echo "stage-par: docs/stages.md has $count stages, not 21" >&2
    exit 1
fi
cat >"$here/shell/StagePar.h" <<HEADER
// Each stage's par: the fewest ticks of the solver's routes (docs/stages.md), beside the
// player's best on the records page. Made by scripts/stage-par.sh; do not edit by hand.
#pragma once

#include <array>

namespace hopla {

inline constexpr std::array<int, 21> kStagePar = {$pars};

}  // namespace hopla
HEADER
# As make format would write it.
if command -v clang-format >/dev/null; then clang-format -i "$here/shell/StagePar.h"; fi
echo "stage-par: wrote shell/StagePar.h" >&2
