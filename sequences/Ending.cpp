// The ending's timer: one tick of the step EndPhase names.
#include "sequences/Ending.h"

#include "sequences/EndingSteps.h"

namespace hopla {

void Etimer_Timer(Form1& form, GameState& s) {
    // Read once: a step that moves EndPhase on takes effect at the next tick.
    const int step = s.EndPhase;
    if (step == kEndDissolve)
        EndingDissolveTick(form, s);
    else if (step == kEndReveal)
        EndingRevealTick(form, s);
    else if (step == kEndBallRun)
        EndingBallRunTick(form, s);
    else if (step >= kEndFirstMessage && step <= kEndLastMessage)
        EndingMessageTick(form, s, step);
    else if (step == kEndFinalScreen)
        EndingFinalScreen(form, s);
}

}  // namespace hopla
