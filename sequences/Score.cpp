// The score total and its code, shared by the stage introduction and the final screen.
#include "sequences/Score.h"

namespace hopla {
namespace {

// Int(n / 10): the largest whole number not above the quotient.
int TenthsDown(int n) {
    return n >= 0 ? n / 10 : -((-n + 9) / 10);
}

}  // namespace

void SumScore(GameState& s) {
    s.Score = 0;
    // StageTime.at: a StageNo set from outside the game stops here, not past the table.
    for (int i = 0; i <= s.StageNo; ++i) s.Score += TenthsDown(s.StageTime.at(i));
    s.Score += (kBallsPerGame - s.BallsLeft) * 30;
}

std::string ScoreCodeOf(int score) {
    const int q0 = score / 26, d0 = score % 26;
    const int q1 = q0 / 26, d1 = q0 % 26;
    const int d2 = q1 % 26, d3 = q1 / 26;
    std::string code;
    for (int digit : {d0, d1, d2, d3}) code += static_cast<char>('a' + digit);
    return code;
}

}  // namespace hopla
