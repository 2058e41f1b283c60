// Writing the best run's stage times as a LiveSplit splits file.
#include "shell/Splits.h"

#include <algorithm>
#include <cstdio>

#include "toolkit/Escape.h"

namespace hopla {
namespace {

// "HH:MM:SS.fffffff", the timer's own way of writing a time.
std::string TimeText(long long ticks) {
    const long long ms = ticks * kSplitTickMs;
    char text[40];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld0000", ms / 3'600'000,
                  ms / 60'000 % 60, ms / 1000 % 60, ms % 1000);
    return text;
}

// Text as XML character data or an attribute's value: well-formed UTF-8 without control
// characters, the five special characters as entities.
std::string XmlText(std::string_view text) {
    std::string out;
    for (const char c : CleanedLabel(text, 100)) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Times(const std::string& indent, long long ticks) {
    return indent + "<RealTime>" + TimeText(ticks) + "</RealTime>\n" + indent + "<GameTime>" +
           TimeText(ticks) + "</GameTime>\n";
}

}  // namespace

std::optional<std::string> LiveSplitFile(const Records& records, std::string_view category) {
    const std::optional<GameRecord> best = BestGame(records);
    if (!best) return std::nullopt;
    const auto stages = BestStageTicks(records);
    const auto attempts =
        std::count_if(records.games.begin(), records.games.end(),
                      [](const GameRecord& g) { return g.from == RecordFrom::Play; });
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Run version=\"1.7.0\">\n"
        "  <GameIcon />\n"
        "  <GameName>Hopla</GameName>\n"
        "  <CategoryName>" +
        XmlText(category) +
        "</CategoryName>\n"
        "  <Metadata>\n"
        "    <Run id=\"\" />\n"
        "    <Platform usesEmulator=\"False\"></Platform>\n"
        "    <Region></Region>\n"
        "    <Variables />\n"
        "  </Metadata>\n"
        "  <Offset>00:00:00</Offset>\n"
        "  <AttemptCount>" +
        std::to_string(attempts) +
        "</AttemptCount>\n"
        "  <AttemptHistory />\n"
        "  <Segments>\n";
    long long split = 0;
    for (int s = 0; s < kRecordStages; ++s) {
        split += best->ticks[s];
        // A best game clears every stage, so each has its fewest ticks.
        const long long fewest = stages[s].value_or(best->ticks[s]);
        xml +=
            "    <Segment>\n"
            "      <Name>Stage " +
            std::to_string(s) +
            "</Name>\n"
            "      <Icon />\n"
            "      <SplitTimes>\n"
            "        <SplitTime name=\"Personal Best\">\n" +
            Times("          ", split) +
            "        </SplitTime>\n"
            "      </SplitTimes>\n"
            "      <BestSegmentTime>\n" +
            Times("        ", fewest) +
            "      </BestSegmentTime>\n"
            "      <SegmentHistory />\n"
            "    </Segment>\n";
    }
    return xml +
           "  </Segments>\n"
           "  <AutoSplitterSettings />\n"
           "</Run>\n";
}

}  // namespace hopla
