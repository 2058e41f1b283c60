// The start-up procedure of the window, in its fourteen steps.
#include "app/StartUp.h"

#include <random>
#include <utility>

#include "stage/StageTable.h"

namespace hopla {
namespace {

// A uniform real in [0, 1) with 53 random bits; never 1, whatever the library does.
double Random01(std::mt19937& rng) {
    const double a = static_cast<double>(rng() >> 5), b = static_cast<double>(rng() >> 6);
    return (a * 67108864.0 + b) / 9007199254740992.0;
}

// Int(random x n): 0..n-1.
int RandomBelow(std::mt19937& rng, int n) {
    return static_cast<int>(Random01(rng) * n);
}

const char* const kTitleWord[5] = {"Ｈ", "Ｈｏ", "Ｈｏｐ", "Ｈｏｐｌ", "Ｈｏｐｌａ"};
const char* const kGameOver[5] = {"Ga", "Game", "Game O", "Game Ove", "Game Over"};

}  // namespace

std::string SoundDirFrom(const std::string& exeDir) {
    // Windows names the folder with its own separator, which then goes on.
    if (!exeDir.empty() && (exeDir.back() == '/' || exeDir.back() == '\\')) return exeDir;
    return exeDir + "/";
}

void Form_Load(Form1& form, GameState& s, std::uint32_t seed, const std::string& exeDir) {
    std::mt19937 rng(seed);  // 1. the runner seeds from the clock (hopla-sim from its option)
    // 2. The window's size and black back colour are fixed: the frontend opens it so.
    form.Display.setPenWidth(3);  // 3.
    form.Dark.setPenWidth(3);     // 4. (5: Back keeps pen width 1; all three are 800 x 600)

    s.KeyDirection[37] = -1;  // 6.
    s.KeyDirection[39] = 1;
    s.StageNo = kTitleStage;  // 7.
    s.BallsLeft = 1;
    s.BallInterval = 30;

    // 8. Band order: each step swaps with an entry drawn from 0..39, the whole range.
    for (int i = 0; i <= 40; ++i) s.BandOrder[i] = static_cast<std::int16_t>(15 * i);
    for (int i = 0; i <= 40; ++i) std::swap(s.BandOrder[i], s.BandOrder[RandomBelow(rng, 40)]);

    for (int i = 0; i < 5; ++i) {  // 9.
        s.TypingSteps[0][i] = kTitleWord[i];
        s.TypingSteps[1][i] = kGameOver[i];
    }

    for (int y = 0; y <= 18; ++y)  // 10. identity
        for (int x = 0; x <= 24; ++x) {
            s.CellOrderX[x][y] = x;
            s.CellOrderY[x][y] = static_cast<std::int16_t>(y);
        }
    for (int y = 0; y <= 18; ++y)  // 11. shuffle the pairs together
        for (int x = 0; x <= 24; ++x) {
            const int rx = RandomBelow(rng, 25);
            const int ry = RandomBelow(rng, 19);
            std::swap(s.CellOrderX[x][y], s.CellOrderX[rx][ry]);
            std::swap(s.CellOrderY[x][y], s.CellOrderY[rx][ry]);
        }

    Hsyoki(form, s);                    // 12.
    s.SoundDir = SoundDirFrom(exeDir);  // 13.
    form.Timer2.setInterval(2000);      // 14.
}

}  // namespace hopla
