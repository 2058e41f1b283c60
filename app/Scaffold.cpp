// TEMPORARY during development: handlers not written yet. Each is removed here when its real
// definition lands; this file is deleted when empty.
#include "app/Form1.h"
#include "app/GameState.h"

namespace hopla {
void Timer1_Timer(Form1&, GameState&) {}
void Timer2_Timer(Form1&, GameState&) {}
void Timer3_Timer(Form1&, GameState&) {}
void Timer4_Timer(Form1&, GameState&) {}
void Timer5_Timer(Form1&, GameState&) {}
void Timer6_Timer(Form1&, GameState&) {}
void Etimer_Timer(Form1&, GameState&) {}
void Form_KeyDown(Form1&, GameState&, int, int) {}
void Form_KeyUp(Form1&, GameState&, int, int) {}
void Display_MouseDown(Form1&, GameState&, int, int, float, float) {}
}  // namespace hopla
