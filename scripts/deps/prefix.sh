#!/usr/bin/env bash
# Prints where the libraries of a target are kept outside the clone (common.sh's deps_prefix):
#
#   scripts/deps/prefix.sh windows|web
set -euo pipefail
. "$(dirname "$0")/common.sh"
deps_prefix "${1:?usage: prefix.sh windows|web}"
