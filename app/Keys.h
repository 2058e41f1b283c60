// The input the game takes, as the seam names it: the key codes and mouse buttons of
// play/Keys.h.
#pragma once

#include "play/Keys.h"
