// The records file's lines and the records page.
#include "shell/Records.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

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

std::optional<GameRecord> ParseRecord(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::string_view field : Split(line, ' '))
        if (!field.empty()) fields.push_back(field);
    if (fields.empty() || !IsDateTime(fields[0])) return std::nullopt;
    GameRecord record;
    record.when = fields[0];
    // Each of the five fields once; a later version's further fields are passed over.
    unsigned seen = 0;
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
        } else if (key == "ticks") {
            const std::vector<std::string_view> ticks = Split(value, ',');
            if (ticks.size() != record.ticks.size()) return std::nullopt;
            for (std::size_t s = 0; s < ticks.size(); ++s) {
                const std::optional<int> n = Number(ticks[s]);
                if (!n) return std::nullopt;
                record.ticks[s] = *n;
            }
            bit = 8;
        } else if (key == "from") {
            if (value != "play" && value != "demo") return std::nullopt;
            record.fromDemo = value == "demo";
            bit = 16;
        }
        if (seen & bit) return std::nullopt;
        seen |= bit;
    }
    if (seen != 31) return std::nullopt;
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
                       " lost=" + std::to_string(r.ballsLost) + " ticks=";
    for (std::size_t s = 0; s < r.ticks.size(); ++s)
        line += (s ? "," : "") + std::to_string(r.ticks[s]);
    return line + " from=" + (r.fromDemo ? "demo" : "play");
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
        if (!game.fromDemo && (!best || game.score < best->score)) best = game;
    return best;
}

std::vector<std::string> RecordsSummary(const Records& records) {
    const std::optional<GameRecord> best = BestGame(records);
    const auto played = std::count_if(records.games.begin(), records.games.end(),
                                      [](const GameRecord& g) { return !g.fromDemo; });
    std::vector<std::string> lines;
    if (!best) {
        lines.push_back("No game finished yet.");
        return lines;
    }
    lines.push_back("Best game: score " + std::to_string(best->score) +
                    (best->code.empty() ? "" : " (" + best->code + ")") + ", " +
                    std::to_string(best->ballsLost) +
                    (best->ballsLost == 1 ? " ball lost" : " balls lost"));
    lines.push_back("  played " + Date(*best) + "; games finished: " + std::to_string(played));
    lines.push_back("Fewest ticks in each stage:");
    // Four stages a line, so that the page fits the menu's panel.
    constexpr int kPerLine = 4;
    std::string line;
    for (int s = 0; s < kRecordStages; ++s) {
        int fewest = -1;
        for (const GameRecord& game : records.games)
            if (!game.fromDemo && (fewest < 0 || game.ticks[s] < fewest)) fewest = game.ticks[s];
        char entry[32];
        std::snprintf(entry, sizeof entry, "%s%2d: %5d", s % kPerLine ? "    " : "  ", s, fewest);
        line += entry;
        if (s % kPerLine == kPerLine - 1 || s == kRecordStages - 1) {
            lines.push_back(line);
            line.clear();
        }
    }
    return lines;
}

}  // namespace hopla
