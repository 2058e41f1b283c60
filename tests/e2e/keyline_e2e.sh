#!/usr/bin/env bash
# The menu's key line in the real window on a handheld's screen: the tests' key line test (a
# virtual controller of each maker pressed, then a key, the window's picture read back after
# each) on a virtual X server of 1280 x 800, where the game starts on the whole screen.
#
# usage: keyline_e2e.sh HOPLA_TESTS
# Exit status 77 means the test could not run here (skipped).
set -uo pipefail

tests=${1:?usage: keyline_e2e.sh HOPLA_TESTS}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

source "$here/common.sh"
e2e_setup keyline-e2e Xvfb xdotool

e2e_start_xvfb 1280x800x24
export SDL_AUDIODRIVER=dummy
HOPLA_TEST_VIDEO=x11 "$tests" --gtest_filter='SdlApp.TheKeyLineNamesTheButtonsOrKeysPressedLast' \
    >"$work/test.log" 2>&1 || { cat "$work/test.log"; fail "the key line in the X server's window"; }
grep -q '^\[  PASSED  \] 1 test' "$work/test.log" || { cat "$work/test.log"; fail "the test did not run"; }
echo "the key line follows the controller and the keyboard in a 1280 x 800 window"
