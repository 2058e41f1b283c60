// TEMPORARY during development: handlers not written yet. Each is removed here when its real
// definition lands; this file is deleted when empty.
#include "app/Form1.h"
#include "app/GameState.h"

namespace hopla {
void Timer6_Timer(Form1&, GameState&) {}
}  // namespace hopla
