// Writing demo lines and reading a demo file defensively, line by line.
#include "demo/DemoFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "app/Keys.h"
#include "toolkit/Numbers.h"
#include "toolkit/Words.h"

namespace hopla {
namespace {

constexpr std::size_t kMaxLine = 1000;
constexpr std::uint64_t kMaxPoint = 1'000'000'000'000'000;  // handlers; far beyond any game
constexpr std::int64_t kMaxMs = 1'000'000'000'000;          // some thirty years

constexpr std::array<std::pair<DemoMaker, std::string_view>, 4> kMakerWords = {{
    {DemoMaker::Person, "person"},
    {DemoMaker::Solver, "solver"},
    {DemoMaker::Script, "script"},
    {DemoMaker::Assisted, "assisted"},
}};
constexpr std::array<std::string_view, 3> kTargets = {"linux", "windows", "web"};

// A program's name or version in the made line: 1..40 of the bytes `allowed` takes.
template <typename Allowed>
bool IsWord(std::string_view word, Allowed allowed) {
    return !word.empty() && word.size() <= 40 && std::all_of(word.begin(), word.end(), allowed);
}
bool IsProgramChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}
bool IsVersionChar(char c) {
    return IsProgramChar(c) || (c >= 'A' && c <= 'Z') || c == '.' || c == '+' || c == '~' ||
           c == '_';
}

constexpr std::array<std::pair<InputKind, std::string_view>, 4> kInputWords = {{
    {InputKind::KeyDown, "key-down"},
    {InputKind::KeyUp, "key-up"},
    {InputKind::Mouse, "mouse"},
    {InputKind::Close, "close"},
}};

// The check line's fields, in the order they are written. Plain numbers first, then hashes.
struct CheckField {
    enum Type { Number, Timers, Hash };
    std::string_view name;
    Type type;
    int StateCheck::*number;
    std::uint64_t StateCheck::*hash;
    long long min, max;  // a Number's range; each interval's for Timers
};

constexpr long long kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr long long kInt32Max = std::numeric_limits<std::int32_t>::max();

const std::array<CheckField, 11> kCheckFields = {{
    {"stage", CheckField::Number, &StateCheck::stage, nullptr, 0, 21},
    {"balls", CheckField::Number, &StateCheck::balls, nullptr, -32768, 32767},
    {"score", CheckField::Number, &StateCheck::score, nullptr, kInt32Min, kInt32Max},
    {"timers", CheckField::Timers, nullptr, nullptr, 0, kInt32Max},
    {"record", CheckField::Hash, nullptr, &StateCheck::record, 0, 0},
    {"labels", CheckField::Hash, nullptr, &StateCheck::labels, 0, 0},
    {"display", CheckField::Hash, nullptr, &StateCheck::display, 0, 0},
    {"back", CheckField::Hash, nullptr, &StateCheck::back, 0, 0},
    {"dark", CheckField::Hash, nullptr, &StateCheck::dark, 0, 0},
    {"chip", CheckField::Hash, nullptr, &StateCheck::chip, 0, 0},
    {"endchip", CheckField::Hash, nullptr, &StateCheck::endChip, 0, 0},
}};

std::string Hex(std::uint64_t v) {
    std::array<char, 16> digits;
    for (int i = 15; i >= 0; --i, v >>= 4) digits[i] = "0123456789abcdef"[v & 15];
    return std::string(digits.data(), digits.size());
}

std::string FieldValue(const CheckField& f, const StateCheck& c) {
    switch (f.type) {
        case CheckField::Number:
            return std::to_string(c.*f.number);
        case CheckField::Timers: {
            std::string text;
            for (int t : c.timers) {
                if (!text.empty()) text += ',';
                text += std::to_string(t);
            }
            return text;
        }
        case CheckField::Hash:
            break;
    }
    return Hex(c.*f.hash);
}

// A line that is not what it should be; the reader adds the file and line.
struct LineError {
    std::string what;
};

template <typename T>
T Number(std::string_view word, std::string_view what, long long min, long long max) {
    const std::optional<long long> v = ParseNumber<long long>(word);
    if (!v || *v < min || *v > max)
        throw LineError{std::string(what) + " '" + std::string(word) + "' is not a whole number " +
                        std::to_string(min) + ".." + std::to_string(max)};
    return static_cast<T>(*v);
}

std::uint64_t HashValue(std::string_view word, std::string_view what) {
    std::uint64_t v = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v, 16);
    const bool lower = std::all_of(word.begin(), word.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    });
    if (word.size() != 16 || !lower || ec != std::errc() || end != word.data() + word.size())
        throw LineError{std::string(what) + " '" + std::string(word) +
                        "' is not 16 hexadecimal digits"};
    return v;
}

StateCheck ParseCheckFields(const std::vector<std::string_view>& words) {
    // words[0..2] are the point, the time and "check".
    if (words.size() != 3 + kCheckFields.size())
        throw LineError{"a check line has " + std::to_string(kCheckFields.size()) +
                        " fields, this one " + std::to_string(words.size() - 3)};
    StateCheck c;
    for (std::size_t i = 0; i < kCheckFields.size(); ++i) {
        const CheckField& f = kCheckFields[i];
        const std::string_view word = words[3 + i];
        const std::size_t eq = word.find('=');
        if (eq == std::string_view::npos || word.substr(0, eq) != f.name)
            throw LineError{"check field " + std::to_string(i + 1) + " must be " +
                            std::string(f.name) + "=..., not '" + std::string(word) + "'"};
        const std::string_view value = word.substr(eq + 1);
        switch (f.type) {
            case CheckField::Number:
                c.*f.number = Number<int>(value, f.name, f.min, f.max);
                break;
            case CheckField::Timers: {
                std::size_t from = 0;
                for (std::size_t t = 0; t < c.timers.size(); ++t) {
                    const std::size_t comma = value.find(',', from);
                    const bool last = t + 1 == c.timers.size();
                    if (last != (comma == std::string_view::npos))
                        throw LineError{"timers must be " + std::to_string(c.timers.size()) +
                                        " intervals separated by commas"};
                    c.timers[t] =
                        Number<int>(value.substr(from, comma - from), "interval", f.min, f.max);
                    from = comma + 1;
                }
                break;
            }
            case CheckField::Hash:
                c.*f.hash = HashValue(value, f.name);
                break;
        }
    }
    return c;
}

constexpr const char* kCutShort =
    "it was cut short (hopla-sim --salvage keeps it up to its last check)";

// Reads a demo's lines in order: the three header lines (four from version 2 on), then the
// records.
class Reader {
  public:
    explicit Reader(std::string_view name) : name_(name) {}

    Demo read(std::string_view text) {
        readLines(text);
        if (!ended_)
            fail(lastLine_, std::string("the demo stops without its end line: ") + kCutShort);
        return std::move(demo_);
    }

    // Every line read and checked; a missing end line is left to the caller.
    void readLines(std::string_view text) {
        std::size_t at = 0;
        for (int number = 1; at < text.size(); ++number) {
            std::size_t nl = text.find('\n', at);
            if (nl == std::string_view::npos) nl = text.size();  // a last line without newline
            std::string_view line = text.substr(at, nl - at);
            at = nl + 1;
            try {
                if (line.size() > kMaxLine)
                    throw LineError{"the line is longer than " + std::to_string(kMaxLine) +
                                    " characters"};
                if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
                checkText(line);
                const std::size_t checks = demo_.checks.size();
                take(line);
                if (demo_.checks.size() != checks) lastCheckEnd_ = std::min(at, text.size());
            } catch (const LineError& e) {
                // A line the file ends inside is most likely a recording cut by a crash.
                fail(number, nl == text.size() && !line.empty()
                                 ? e.what + "; the file ends inside this line: " + kCutShort
                                 : e.what);
            }
            lastLine_ = number;
        }
        if (header_ < fixedLines())
            fail(lastLine_ + 1, header_ == 0 ? "the file is empty, not a demo"
                                             : "the demo stops inside its header");
    }

    bool ended() const { return ended_; }
    const Demo& demo() const { return demo_; }
    // Where the last check line read ends in the text, its newline included.
    std::size_t lastCheckEnd() const { return lastCheckEnd_; }

  private:
    [[noreturn]] void fail(int line, const std::string& what) const {
        throw DemoError(std::string(name_) + ":" + std::to_string(line) + ": " + what);
    }

    static void checkText(std::string_view line) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            const auto c = static_cast<unsigned char>(line[i]);
            if ((c < 0x20 && c != '\t') || c == 0x7F) {
                constexpr char kHex[] = "0123456789abcdef";
                throw LineError{std::string("not text: byte 0x") + kHex[c >> 4] + kHex[c & 15] +
                                " at column " + std::to_string(i + 1)};
            }
        }
    }

    void take(std::string_view line) {
        const std::vector<std::string_view> words = SplitWords(line);
        if (header_ == 0) return magic(words);
        if (header_ == 1) return seed(words);
        if (header_ == 2) return start(words);
        if (header_ == 3 && version_ >= 2) return made(words);
        if (words.empty() || words[0].front() == '#') return;  // blank or comment
        if (header_ == fixedLines() && words[0] == "stages") return stages(words, line);
        header_ = fixedLines() + 1;  // no stages line: the game's own stages
        if (words[0] == "stages")
            throw LineError{"the stages line comes right after the start line (and the made line)"};
        if (words[0] == "made")
            throw LineError{version_ >= 2 ? "the made line comes once, as the fourth line"
                                          : "a made line belongs to a demo of version 2"};
        for (const auto c : line)
            if (static_cast<unsigned char>(c) >= 0x80)
                throw LineError{"a record is plain ASCII (comments may hold other text)"};
        if (ended_) throw LineError{"nothing but comments may follow the end line"};
        if (words.size() < 3) throw LineError{"expected 'POINT MS WHAT ...'"};
        const auto point = Number<std::uint64_t>(words[0], "point", 0, kMaxPoint);
        const auto ms = Number<std::int64_t>(words[1], "time", 0, kMaxMs);
        if (point < lastPoint_)
            throw LineError{"point " + std::to_string(point) + " comes after point " +
                            std::to_string(lastPoint_)};
        if (ms < lastMs_)
            throw LineError{"time " + std::to_string(ms) + " ms comes after " +
                            std::to_string(lastMs_) + " ms"};
        if (afterInput_ && point == lastPoint_)
            throw LineError{"point " + std::to_string(point) +
                            " again: the input before ran a handler"};
        if (closed_ && ((words[2] != "check" && words[2] != "end") || point != lastPoint_))
            throw LineError{
                "only the final check and the end line, at the close's point, "
                "may follow a close"};
        const std::string_view what = words[2];
        afterInput_ = false;
        if (what == "check") {
            if (demo_.checks.empty() && point != 0)
                throw LineError{"the first check is the start's, at point 0"};
            if (!demo_.checks.empty() && demo_.checks.back().point == point)
                throw LineError{"a second check at point " + std::to_string(point)};
            demo_.checks.push_back({point, ms, ParseCheckFields(words)});
        } else if (what == "end") {
            if (words.size() != 3) throw LineError{"the end line is 'POINT MS end'"};
            if (demo_.checks.empty() || demo_.checks.back().point != point)
                throw LineError{"the end at point " + std::to_string(point) +
                                " has no check line of its own before it"};
            demo_.endPoint = point;
            demo_.endMs = ms;
            ended_ = true;
        } else {
            demo_.inputs.push_back(input(words, point, ms));
            afterInput_ = demo_.inputs.back().kind != InputKind::Close;
            closed_ = !afterInput_;
        }
        if (demo_.checks.empty())
            throw LineError{"the first record is the start's check line, at point 0"};
        lastPoint_ = point;
        lastMs_ = ms;
    }

    static DemoInput input(const std::vector<std::string_view>& words, std::uint64_t point,
                           std::int64_t ms) {
        const auto found = std::find_if(kInputWords.begin(), kInputWords.end(),
                                        [&](const auto& w) { return w.second == words[2]; });
        if (found == kInputWords.end())
            throw LineError{"unknown record '" + std::string(words[2]) +
                            "' (key-down, key-up, mouse, close, check or end)"};
        DemoInput in{point, ms, found->first, 0};
        const std::size_t expected = in.kind == InputKind::Close ? 3 : 4;
        if (words.size() != expected)
            throw LineError{std::string(words[2]) +
                            (expected == 3 ? " takes nothing more" : " takes one number")};
        if (in.kind == InputKind::Mouse) {
            in.code = Number<int>(words[3], "button", kMouseLeft, kMouseMiddle);
            if (!IsMouseButton(in.code))
                throw LineError{"no mouse button 3 (1 left, 2 right, 4 middle)"};
        } else if (in.kind != InputKind::Close) {
            in.code = Number<int>(words[3], "key code", 0, kLastKeyCode);
        }
        return in;
    }

    void magic(const std::vector<std::string_view>& words) {
        if (words.size() != 2 || words[0] != kDemoMagic)
            throw LineError{"not a hopla demo: the first line must be '" + std::string(kDemoMagic) +
                            " " + std::to_string(kDemoVersion) + "'"};
        const int version = Number<int>(words[1], "version", 1, std::numeric_limits<int>::max());
        version_ = version;
        if (version > kDemoVersion)
            throw LineError{"demo format version " + std::to_string(version) +
                            " is newer than this program reads (" + std::to_string(kDemoVersion) +
                            ")"};
        ++header_;
    }

    void seed(const std::vector<std::string_view>& words) {
        if (words.size() != 2 || words[0] != "seed")
            throw LineError{"the second line must be 'seed N'"};
        demo_.seed =
            Number<std::uint32_t>(words[1], "seed", 0, std::numeric_limits<std::uint32_t>::max());
        ++header_;
    }

    void start(const std::vector<std::string_view>& words) {
        if (words.size() == 2 && words[0] == "start" && words[1] == "title") {
            demo_.startStage.reset();
        } else if (words.size() == 3 && words[0] == "start" && words[1] == "stage") {
            demo_.startStage = Number<int>(words[2], "stage", 0, 21);
        } else {
            throw LineError{"the third line must be 'start title' or 'start stage N'"};
        }
        ++header_;
    }

    // "made PROGRAM VERSION TARGET MAKER": the fourth line of a version 2 demo.
    void made(const std::vector<std::string_view>& words) {
        if (words.size() != 5 || words[0] != "made")
            throw LineError{
                "the fourth line of a version 2 demo must be 'made PROGRAM VERSION TARGET "
                "MAKER'"};
        const std::optional<DemoMaker> maker = MakerOfWord(words[4]);
        if (!IsWord(words[1], IsProgramChar))
            throw LineError{"program '" + std::string(words[1]) +
                            "' is not 1..40 of a-z, 0-9 and '-'"};
        if (!IsWord(words[2], IsVersionChar))
            throw LineError{"version '" + std::string(words[2]) +
                            "' is not 1..40 letters, digits and . + ~ _ -"};
        if (!IsTargetWord(words[3]))
            throw LineError{"target '" + std::string(words[3]) + "' is not linux, windows or web"};
        if (!maker)
            throw LineError{"maker '" + std::string(words[4]) +
                            "' is not person, solver, script or assisted"};
        demo_.origin =
            DemoOrigin{std::string(words[1]), std::string(words[2]), std::string(words[3]), *maker};
        ++header_;
    }

    int fixedLines() const { return version_ >= 2 ? 4 : 3; }

    // "stages HASH NAME": the line right after the start line, before any record.
    void stages(const std::vector<std::string_view>& words, std::string_view line) {
        if (words.size() < 3) throw LineError{"the stages line is 'stages HASH NAME'"};
        DemoStages stages{std::string(), HashValue(words[1], "stages hash")};
        const std::size_t from = static_cast<std::size_t>(words[2].data() - line.data());
        const std::size_t to = line.find_last_not_of(" \t");
        stages.name = std::string(line.substr(from, to + 1 - from));
        demo_.stages = std::move(stages);
        header_ = fixedLines() + 1;
    }

    std::string_view name_;
    Demo demo_;
    int header_ = 0;  // header lines read
    int version_ = 1;
    int lastLine_ = 0;
    std::uint64_t lastPoint_ = 0;
    std::int64_t lastMs_ = 0;
    bool afterInput_ = false;  // the record before was an input that ran a handler
    bool closed_ = false;
    bool ended_ = false;
    std::size_t lastCheckEnd_ = 0;
};

// A file whose lines end in a carriage return alone has no line a reader can see: it is named for
// what it is, alike by --play and --salvage, rather than as one over-long or cut line. A return
// that ends the text may be half of a cut "\r\n" and passes.
void RefuseLoneCarriageReturns(std::string_view text, std::string_view name) {
    int line = 1;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\n') ++line;
        if (text[i] == '\r' && text[i + 1] != '\n')
            throw DemoError(std::string(name) + ":" + std::to_string(line) +
                            ": lines end in a lone carriage return (old Mac line ends): convert "
                            "them to \\n");
    }
}

std::string_view InputWord(InputKind kind) {
    for (const auto& [k, word] : kInputWords)
        if (k == kind) return word;
    return "?";
}

}  // namespace

std::string_view MakerWord(DemoMaker maker) {
    for (const auto& [m, word] : kMakerWords)
        if (m == maker) return word;
    return "?";
}

std::optional<DemoMaker> MakerOfWord(std::string_view word) {
    for (const auto& [m, w] : kMakerWords)
        if (w == word) return m;
    return std::nullopt;
}

bool IsTargetWord(std::string_view word) {
    return std::find(kTargets.begin(), kTargets.end(), word) != kTargets.end();
}

std::optional<std::string_view> FirstDifference(const StateCheck& recorded,
                                                const StateCheck& played) {
    for (const CheckField& f : kCheckFields)
        if (FieldValue(f, recorded) != FieldValue(f, played)) return f.name;
    return std::nullopt;
}

std::string FieldText(const StateCheck& check, std::string_view field) {
    for (const CheckField& f : kCheckFields)
        if (f.name == field) return FieldValue(f, check);
    return {};
}

Demo ParseDemo(std::string_view text, std::string_view name) {
    RefuseLoneCarriageReturns(text, name);
    return Reader(name).read(text);
}

std::string SalvageDemo(std::string_view text, std::string_view name) {
    RefuseLoneCarriageReturns(text, name);
    // A last line without its newline is where the recording was cut, and it goes; unless the
    // text is a whole demo as it stands, its end line simply without a newline.
    const std::size_t whole = text.rfind('\n') + 1;  // 0 when there is no newline at all
    if (whole < text.size()) {
        try {
            ParseDemo(text, name);
            return std::string(text);
        } catch (const DemoError&) {
        }
    }
    Reader reader(name);
    reader.readLines(text.substr(0, whole));
    if (reader.ended()) {
        ParseDemo(text, name);  // whole already: kept as it is if it reads as it is
        return std::string(text);
    }
    if (reader.demo().checks.empty())
        throw DemoError(std::string(name) +
                        ": nothing to keep: the recording stops before its first check line");
    const DemoCheck& last = reader.demo().checks.back();
    return std::string(text.substr(0, reader.lastCheckEnd())) + EndLine(last.point, last.ms);
}

std::string DemoHeader(std::uint32_t seed, std::optional<int> startStage,
                       const std::optional<DemoOrigin>& origin,
                       const std::optional<DemoStages>& stages) {
    std::string text =
        std::string(kDemoMagic) + " " + (origin ? "2" : "1") + "\nseed " + std::to_string(seed) +
        "\nstart " + (startStage ? "stage " + std::to_string(*startStage) : std::string("title")) +
        "\n";
    if (origin)
        text += "made " + origin->program + " " + origin->version + " " + origin->target + " " +
                std::string(MakerWord(origin->maker)) + "\n";
    if (stages) {
        // The name as one line of text: no control bytes, not empty.
        std::string name;
        for (const char c : stages->name)
            name += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '_' : c;
        const std::size_t first = name.find_first_not_of(' ');
        name = first == std::string::npos
                   ? std::string("stages")
                   : name.substr(first, name.find_last_not_of(' ') + 1 - first);
        text += "stages " + Hex(stages->hash) + " " + name + "\n";
    }
    return text;
}

std::string InputLine(const DemoInput& input) {
    std::string line = std::to_string(input.point) + " " + std::to_string(input.ms) + " " +
                       std::string(InputWord(input.kind));
    if (input.kind != InputKind::Close) {
        line += ' ';
        line += std::to_string(input.code);
    }
    return line + "\n";
}

std::string CheckLine(const DemoCheck& check) {
    std::string line = std::to_string(check.point) + " " + std::to_string(check.ms) + " check";
    for (const CheckField& f : kCheckFields) {
        line += ' ';
        line += f.name;
        line += '=';
        line += FieldValue(f, check.state);
    }
    return line + "\n";
}

std::string EndLine(std::uint64_t point, std::int64_t ms) {
    return std::to_string(point) + " " + std::to_string(ms) + " end\n";
}

std::string FormatDemo(const Demo& demo) {
    std::string text = DemoHeader(demo.seed, demo.startStage, demo.origin, demo.stages);
    std::size_t i = 0, c = 0;
    // Records in order of point; at one point a check comes before an input.
    while (i < demo.inputs.size() || c < demo.checks.size()) {
        if (c < demo.checks.size() &&
            (i == demo.inputs.size() || demo.checks[c].point <= demo.inputs[i].point)) {
            text += CheckLine(demo.checks[c++]);
        } else {
            text += InputLine(demo.inputs[i++]);
        }
    }
    return text + EndLine(demo.endPoint, demo.endMs);
}

}  // namespace hopla
