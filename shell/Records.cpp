// The records file's lines and the records page.
#include "shell/Records.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "shell/StagePar.h"

namespace hopla {
namespace {

std::optional<int> Number(std::string_view text) {
    int n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || n < 0)
        return std::nullopt;
    return n;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    while (true) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

// "2026-12-08T10:31:05": digits where digits go.
bool IsDateTime(std::string_view text) {
    constexpr std::string_view kShape = "0000-00-00T00:00:00";
    if (text.size() != kShape.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (kShape[i] == '0' ? !std::isdigit(static_cast<unsigned char>(text[i]))
                             : text[i] != kShape[i])
            return false;
    return true;
}

// The words of `from=`, in the order of RecordFrom.
constexpr std::array<std::string_view, 3> kFromWords = {"play", "demo", "assisted"};

std::optional<GameRecord> ParseRecord(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::string_view field : Split(line, ' '))
        if (!field.empty()) fields.push_back(field);
    if (fields.empty() || !IsDateTime(fields[0])) return std::nullopt;
    GameRecord record;
    record.when = fields[0];
    // Each of the five fields once (ticks or reached), lost_in at most once; a later version's
    // further fields are passed over.
    unsigned seen = 0;
    std::vector<std::string_view> lostIn;
    for (std::size_t i = 1; i < fields.size(); ++i) {
        const std::size_t eq = fields[i].find('=');
        if (eq == std::string_view::npos) return std::nullopt;
        const std::string_view key = fields[i].substr(0, eq), value = fields[i].substr(eq + 1);
        unsigned bit = 0;
        if (key == "score") {
            const std::optional<int> n = Number(value);
            if (!n) return std::nullopt;
            record.score = *n;
            bit = 1;
        } else if (key == "code") {
            if (value != "-" &&
                (value.size() != 4 || !std::all_of(value.begin(), value.end(),
                                                   [](char c) { return c >= 'a' && c <= 'z'; })))
                return std::nullopt;
            record.code = value == "-" ? "" : std::string(value);
            bit = 2;
        } else if (key == "lost") {
            const std::optional<int> n = Number(value);
            if (!n || *n > 9) return std::nullopt;
            record.ballsLost = *n;
            bit = 4;
        } else if (key == "ticks" || key == "reached") {
            // A finished game's ticks of all stages; a game over's of the stages it reached.
            const std::vector<std::string_view> ticks = Split(value, ',');
            record.gameOver = key == "reached";
            if (ticks.size() > record.ticks.size() ||
                (!record.gameOver && ticks.size() != record.ticks.size()))
                return std::nullopt;
            for (std::size_t s = 0; s < ticks.size(); ++s) {
                const std::optional<int> n = Number(ticks[s]);
                if (!n) return std::nullopt;
                record.ticks[s] = *n;
            }
            record.reached = static_cast<int>(ticks.size());
            bit = 8;
        } else if (key == "lost_in") {
            lostIn = Split(value, ',');
            bit = 32;
        } else if (key == "from") {
            const auto found = std::find(kFromWords.begin(), kFromWords.end(), value);
            if (found == kFromWords.end()) return std::nullopt;
            record.from = static_cast<RecordFrom>(found - kFromWords.begin());
            bit = 16;
        }
        if (seen & bit) return std::nullopt;
        seen |= bit;
    }
    if ((seen & 31) != 31) return std::nullopt;
    if (seen & 32) {
        // A count for each stage reached, adding up to the balls lost.
        if (static_cast<int>(lostIn.size()) != record.reached) return std::nullopt;
        record.lostIn.emplace();
        int sum = 0;
        for (std::size_t s = 0; s < lostIn.size(); ++s) {
            const std::optional<int> n = Number(lostIn[s]);
            if (!n || *n > 9) return std::nullopt;
            (*record.lostIn)[s] = *n;
            sum += *n;
        }
        if (sum != record.ballsLost) return std::nullopt;
    }
    return record;
}

std::string Date(const GameRecord& record) {
    std::string date = record.when;
    date[10] = ' ';
    return date.substr(0, 16);  // to the minute
}

}  // namespace

std::string FormatRecord(const GameRecord& r) {
    std::string line = r.when + " score=" + std::to_string(r.score) +
                       " code=" + (r.code.empty() ? "-" : r.code) +
                       " lost=" + std::to_string(r.ballsLost);
    const int stages = r.gameOver ? std::clamp(r.reached, 1, kRecordStages) : kRecordStages;
    if (r.lostIn) {
        line += " lost_in=";
        for (int s = 0; s < stages; ++s) line += (s ? "," : "") + std::to_string((*r.lostIn)[s]);
    }
    line += r.gameOver ? " reached=" : " ticks=";
    for (int s = 0; s < stages; ++s) line += (s ? "," : "") + std::to_string(r.ticks[s]);
    return line + " from=" + std::string(kFromWords[static_cast<std::size_t>(r.from)]);
}

std::string FormatRecords(const Records& records) {
    std::string text =
        "# Hopla's records: one finished game a line, the oldest first; the format is in\n"
        "# the manual page hopla(6), FILES, and in docs/records-format.md of the sources.\n";
    for (const GameRecord& game : records.games) text += FormatRecord(game) + "\n";
    return text;
}

ParsedRecords ParseRecords(std::string_view text) {
    ParsedRecords parsed;
    int number = 0;
    for (std::string_view line : Split(text, '\n')) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#') continue;
        if (std::optional<GameRecord> record = ParseRecord(line))
            parsed.records.games.push_back(std::move(*record));
        else
            parsed.damagedLines.push_back(number);
    }
    return parsed;
}

std::optional<GameRecord> BestGame(const Records& records) {
    std::optional<GameRecord> best;
    for (const GameRecord& game : records.games)
        if (game.from == RecordFrom::Play && !game.gameOver && (!best || game.score < best->score))
            best = game;
    return best;
}

std::array<std::optional<int>, kRecordStages> BestStageTicks(const Records& records) {
    std::array<std::optional<int>, kRecordStages> best;
    for (const GameRecord& game : records.games) {
        if (game.from != RecordFrom::Play) continue;
        // A game over did not clear the stage it ended in.
        const int cleared = game.gameOver ? game.reached - 1 : kRecordStages;
        for (int s = 0; s < cleared; ++s)
            if (!best[s] || game.ticks[s] < *best[s]) best[s] = game.ticks[s];
    }
    return best;
}

std::vector<std::string> RecordsSummary(const Records& records, bool withPar) {
    const std::optional<GameRecord> best = BestGame(records);
    const auto finished = std::count_if(records.games.begin(), records.games.end(), [](auto& g) {
        return g.from == RecordFrom::Play && !g.gameOver;
    });
    std::vector<std::string> lines;
    if (best) {
        lines.push_back("Best game: score " + std::to_string(best->score) +
                        (best->code.empty() ? "" : " (" + best->code + ")") + ", " +
                        std::to_string(best->ballsLost) +
                        (best->ballsLost == 1 ? " ball lost" : " balls lost"));
        lines.push_back("  played " + Date(*best) +
                        "; games finished: " + std::to_string(finished));
    } else {
        lines.push_back("No game finished yet.");
    }
    const std::array<std::optional<int>, kRecordStages> stages = BestStageTicks(records);
    if (std::any_of(stages.begin(), stages.end(), [](const auto& t) { return t.has_value(); })) {
        lines.push_back(withPar ? "Fewest ticks in each stage (par: the solver's):"
                                : "Fewest ticks in each stage:");
        // Three stages a line, so that the page fits the menu's panel.
        static_assert(kStagePar.size() == kRecordStages);
        constexpr int kPerLine = 3;
        std::string line;
        int sum = 0, score = 0, cleared = 0;
        for (int s = 0; s < kRecordStages; ++s) {
            char entry[40];
            const std::string ticks = stages[s] ? std::to_string(*stages[s]) : "-";
            const std::string par =
                withPar ? " (" + std::to_string(kStagePar[static_cast<std::size_t>(s)]) + ")" : "";
            std::snprintf(entry, sizeof entry, "%s%2d: %5s%s", s % kPerLine ? "    " : "  ", s,
                          ticks.c_str(), par.c_str());
            line += entry;
            if (s % kPerLine == kPerLine - 1 || s == kRecordStages - 1) {
                lines.push_back(line);
                line.clear();
            }
            if (!stages[s]) continue;
            sum += *stages[s];
            score += *stages[s] / 10;  // a tenth of the ticks, as the game's score counts them
            ++cleared;
        }
        lines.push_back(
            "Sum of best stages: score " + std::to_string(score) + " (" + std::to_string(sum) +
            " ticks" +
            (cleared < kRecordStages ? ", " + std::to_string(cleared) + " of 21 stages)" : ")"));
    }
    // The newest games first, the assisted ones in a list of their own.
    const auto listLast = [&](RecordFrom from, const char* title, std::size_t most) {
        std::vector<std::string> list;
        for (auto game = records.games.rbegin(); game != records.games.rend(); ++game) {
            if (game->from != from) continue;
            if (list.size() == most) break;
            list.push_back("  " + Date(*game) + "  " +
                           (game->gameOver
                                ? "Game Over in stage " + std::to_string(game->reached - 1)
                                : std::string("finished")) +
                           ", score " + std::to_string(game->score));
        }
        if (list.empty()) return;
        lines.push_back(title);
        lines.insert(lines.end(), list.begin(), list.end());
    };
    listLast(RecordFrom::Play, "Last games:", 5);
    listLast(RecordFrom::Assisted, "Assisted games (kept apart):", 3);
    return lines;
}

}  // namespace hopla
