// A game on the virtual clock, all timers stopped, with stages drawn from rows given by a test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless/SimCore.h"
#include "play/BallTick.h"
#include "shell/GameFiles.h"
#include "stage/StageLoad.h"
#include "stage/StageTable.h"
#include "support/SoundLog.h"

namespace hopla::testing {

// Twenty empty cells: test maps are written as a list of (row, text) changes to this.
inline const std::string kEmptyRow(20, '0');

struct MapRow {
    int row;
    std::string cells;  // 20 digits
};

class Playfield {
  public:
    explicit Playfield(std::uint32_t seed = 1) : sim(seed, HOPLA_BUILD_DIR, WaveFileLength) {
        stopAllTimers();
    }

    SimCore sim;
    SoundLog soundLog{sim.sound()};
    GameState& s() { return sim.state(); }
    Form1& f() { return sim.form(); }

    void stopAllTimers() {
        for (Timer Form1::*t : Form1::kTimers) (sim.form().*t).setInterval(0);
    }

    // Writes the map into StageMap(stage), empty except for `rows`, with its start point, and
    // plays the end of the introduction: Timer5's loading tick draws it and starts Timer1.
    void load(int stage, const std::vector<MapRow>& rows, int startX, int startY) {
        GameState& st = s();
        for (int r = 0; r < 15; ++r) st.StageMap[stage][r] = kEmptyRow;
        for (const MapRow& r : rows) st.StageMap[stage][r.row] = r.cells;
        st.StartX[stage] = startX;
        st.StartY[stage] = static_cast<std::int16_t>(startY);
        st.StageNo = stage;
        PutBallAtStart(st, stage);
        st.Tick = 6;
        Timer5_Timer(f(), st);
        soundLog.clear();
    }

    // Runs Timer1 ticks directly, at most n, stopping early when `until` holds.
    template <typename Pred>
    int tickUntil(int n, Pred until) {
        for (int i = 1; i <= n; ++i) {
            Timer1_Timer(f(), s());
            if (until()) return i;
        }
        return -1;
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i) Timer1_Timer(f(), s());
    }

    // The sound calls so far as file names, "stop" for a stop request; waiting plays get a
    // trailing " wait".
    std::vector<std::string> sounds() {
        std::vector<std::string> names;
        for (const RecordingSound::Call& c : soundLog.calls()) {
            if (!c.path) {
                names.push_back("stop");
                continue;
            }
            std::string name = c.path->substr(c.path->find_last_of('/') + 1);
            names.push_back(c.wait ? name + " wait" : name);
        }
        return names;
    }
    bool played(const std::string& name) {
        for (const std::string& n : sounds())
            if (n == name) return true;
        return false;
    }
};

// True when every pixel of the rectangle has colour c.
inline bool AllOf(const Picture& p, int x0, int y0, int x1, int y1, Color c) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (p.point(x, y) != c) return false;
    return true;
}

// True when the 40 x 40 cell (column, row) of `p` holds sheet cell `sheetCell` of `chip`.
inline bool CellShows(const Picture& p, int column, int row, const Picture& chip, int sheetCell) {
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if (p.point(40 * column + x, 40 * row + y) != chip.point(40 * sheetCell + x, y))
                return false;
    return true;
}

inline bool SameImage(const Picture& a, const Picture& b) {
    return a.image().pixels == b.image().pixels;
}

}  // namespace hopla::testing
