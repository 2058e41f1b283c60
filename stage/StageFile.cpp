// Reading a stage file defensively, line by line, and writing one.
#include "stage/StageFile.h"

#include <array>
#include <charconv>
#include <optional>

#include "form/Playfield.h"
#include "toolkit/Escape.h"
#include "toolkit/Numbers.h"
#include "toolkit/Words.h"

namespace hopla {
namespace {

constexpr std::size_t kMaxLine = 1000;

// A line that is not what it should be; the reader adds the file and the line, this one's
// unless `line` names another.
struct LineError {
    std::string what;
    int line = 0;
};

std::string ByteHex(unsigned char c) {
    constexpr char kHex[] = "0123456789abcdef";
    return std::string("0x") + kHex[c >> 4] + kHex[c & 15];
}

// Refuses control bytes (a tab aside) and anything that is not well-formed UTF-8.
void CheckText(std::string_view line) {
    for (std::size_t i = 0; i < line.size();) {
        const auto c = static_cast<unsigned char>(line[i]);
        const std::string at = " at column " + std::to_string(i + 1);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t') || c == 0x7F)
                throw LineError{"not text: byte " + ByteHex(c) + at};
            ++i;
            continue;
        }
        const std::size_t length = Utf8CharacterLength(line, i);
        if (length == 0) throw LineError{"not UTF-8 text: byte " + ByteHex(c) + at};
        i += length;
    }
}

// Characters of well-formed UTF-8: bytes that do not continue one.
int Characters(std::string_view text) {
    int n = 0;
    for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

int Number(std::string_view word, std::string_view what, int min, int max) {
    const std::optional<int> v = ParseNumber<int>(word);
    if (!v || *v < min || *v > max)
        throw LineError{std::string(what) + " '" + std::string(word) + "' is not a whole number " +
                        std::to_string(min) + ".." + std::to_string(max)};
    return *v;
}

// The stage block being read, with the lines its parts came from.
struct Open {
    StageBlock block;
    int stageLine = 0;
    int startLine = 0;
    int rows = 0;
};

// Reads a stage file's lines in order: the magic line, name and author, then stage blocks.
class Reader {
  public:
    explicit Reader(std::string_view fileName) : fileName_(fileName) {}

    StageFile read(std::string_view text) {
        std::size_t at = 0;
        int number = 1;
        for (; at < text.size(); ++number) {
            std::size_t nl = text.find('\n', at);
            if (nl == std::string_view::npos) nl = text.size();  // a last line without newline
            std::string_view line = text.substr(at, nl - at);
            at = nl + 1;
            run(number, [&] {
                if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
                CheckText(line);  // first: binary bytes are named as such, however long the line
                if (static_cast<std::size_t>(Characters(line)) > kMaxLine)
                    throw LineError{"the line is longer than " + std::to_string(kMaxLine) +
                                    " characters"};
                take(line, number);
            });
        }
        run(number, [&] {
            if (number == 1) throw LineError{"the file is empty, not a stage file"};
            closeStage();
            if (!named_) throw LineError{"the file has no name line"};
        });
        return std::move(file_);
    }

  private:
    template <typename Step>
    void run(int number, Step step) {
        try {
            step();
        } catch (const LineError& e) {
            throw StageFileError(std::string(fileName_) + ":" +
                                 std::to_string(e.line ? e.line : number) + ": " + e.what);
        }
    }

    void take(std::string_view line, int number) {
        const std::vector<std::string_view> words = SplitWords(line);
        if (number == 1) return magic(line, words);
        if (words.empty() || words[0].front() == '#') return;  // blank or comment
        const std::string_view word = words[0];
        if (word == "name" || word == "author") return label(line, words, number);
        if (word == "stage") return stage(words, number);
        if (word == "start") return start(words, number);
        if (word == "row") return row(words);
        throw LineError{"unknown line '" + std::string(word) +
                        "' (name, author, stage, start, row or a # comment)"};
    }

    static void magic(std::string_view line, const std::vector<std::string_view>& words) {
        const std::string expected =
            std::string(kStageFileMagic) + " " + std::to_string(kStageFileVersion);
        if (line == expected) return;
        if (line.substr(0, 3) == "\xEF\xBB\xBF")
            throw LineError{"the file starts with a byte order mark: save it as UTF-8 without"};
        if (words.size() == 2 && words[0] == kStageFileMagic) {
            int version = 0;
            const auto [end, ec] =
                std::from_chars(words[1].data(), words[1].data() + words[1].size(), version);
            if (ec == std::errc() && end == words[1].data() + words[1].size() &&
                version > kStageFileVersion)
                throw LineError{"stage file format version " + std::to_string(version) +
                                " is newer than this program reads (" +
                                std::to_string(kStageFileVersion) + ")"};
        }
        throw LineError{"not a hopla stage file: the first line must be '" + expected + "'"};
    }

    void label(std::string_view line, const std::vector<std::string_view>& words, int number) {
        const bool isName = words[0] == "name";
        int& seenAt = isName ? nameLine_ : authorLine_;
        if (seenAt)
            throw LineError{"a second " + std::string(words[0]) + " line (the first is line " +
                            std::to_string(seenAt) + ")"};
        if (stageSeen_)
            throw LineError{std::string(words[0]) + " must come before the first stage"};
        // The text is the rest of the line after the word, without spaces at its ends.
        const std::string_view text = Trim(Trim(line).substr(words[0].size()));
        const int n = Characters(text);
        if (n < 1 || n > kMaxStageNameLength)
            throw LineError{std::string(words[0]) + " has " + std::to_string(n) +
                            " characters, not 1.." + std::to_string(kMaxStageNameLength)};
        (isName ? file_.name : file_.author) = std::string(text);
        seenAt = number;
        named_ = named_ || isName;
    }

    void stage(const std::vector<std::string_view>& words, int number) {
        closeStage();
        if (!named_) throw LineError{"the name line must come before the first stage"};
        if (words.size() != 2) throw LineError{"a stage line is 'stage N'"};
        if (words[1] == "21")
            throw LineError{"stage 21 is the title room: a stage file cannot replace it"};
        const int n = Number(words[1], "stage", 0, kTitleStage - 1);
        if (stageLines_[n])
            throw LineError{"stage " + std::to_string(n) + " again (the first is at line " +
                            std::to_string(stageLines_[n]) + ")"};
        stageLines_[n] = number;
        stageSeen_ = true;
        open_.emplace();
        open_->block.stage = n;
        open_->stageLine = number;
    }

    void start(const std::vector<std::string_view>& words, int number) {
        Open& s = inStage("start");
        if (s.startLine)
            throw LineError{"stage " + std::to_string(s.block.stage) +
                            " has a second start line (the first is line " +
                            std::to_string(s.startLine) + ")"};
        if (words.size() != 3) throw LineError{"a start line is 'start X Y'"};
        s.block.startX = Number(words[1], "start x", kMinStartX, kMaxStartX);
        s.block.startY = Number(words[2], "start y", kMinStartY, kMaxStartY);
        s.startLine = number;
    }

    void row(const std::vector<std::string_view>& words) {
        Open& s = inStage("row");
        if (s.rows == kStageRowCount)
            throw LineError{"stage " + std::to_string(s.block.stage) + " already has its " +
                            std::to_string(kStageRowCount) + " rows"};
        if (words.size() != 2)
            throw LineError{"a row line is 'row' and " + std::to_string(kStageColumnCount) +
                            " digits 0..6 without spaces"};
        const std::string_view digits = words[1];
        if (digits.size() != static_cast<std::size_t>(kStageColumnCount))
            throw LineError{"row has " + std::to_string(digits.size()) + " characters, not " +
                            std::to_string(kStageColumnCount) + " digits"};
        for (std::size_t i = 0; i < digits.size(); ++i)
            if (digits[i] < '0' || digits[i] > '6')
                throw LineError{"row: '" + std::string(1, digits[i]) + "' at digit " +
                                std::to_string(i + 1) + " is not a tile code 0..6"};
        s.block.rows[s.rows++] = std::string(digits);
    }

    Open& inStage(std::string_view word) {
        if (!open_)
            throw LineError{"a " + std::string(word) +
                            " line outside a stage (a stage begins with 'stage N')"};
        return *open_;
    }

    // The stage block being read is whole: its rows, its start, its start in an empty cell.
    void closeStage() {
        if (!open_) return;
        const Open s = std::move(*open_);
        open_.reset();
        const std::string stage = "stage " + std::to_string(s.block.stage);
        if (s.rows != kStageRowCount)
            throw LineError{stage + " has " + std::to_string(s.rows) + " rows, not " +
                                std::to_string(kStageRowCount),
                            s.stageLine};
        if (!s.startLine) throw LineError{stage + " has no start line", s.stageLine};
        // The ball stands in the cell that holds its point, as a landing finds the tile.
        const int column = s.block.startX / kTileSize, row = s.block.startY / kTileSize;
        const char code = s.block.rows[row][column];
        if (code != '0')
            throw LineError{"the start point " + std::to_string(s.block.startX) + " " +
                                std::to_string(s.block.startY) + " lies in a tile: digit " +
                                std::to_string(column + 1) + " of row " + std::to_string(row + 1) +
                                " is " + code + ", not 0",
                            s.startLine};
        file_.stages.push_back(s.block);
    }

    std::string_view fileName_;
    StageFile file_;
    bool named_ = false;
    bool stageSeen_ = false;
    int nameLine_ = 0;
    int authorLine_ = 0;
    std::array<int, kTitleStage> stageLines_{};  // where each stage began; 0: not yet
    std::optional<Open> open_;
};

}  // namespace

StageFile ParseStages(std::string_view text, std::string_view fileName) {
    return Reader(fileName).read(text);
}

std::string FormatStages(const StageFile& file) {
    constexpr std::string_view kWritten = "the stages to write";
    for (const std::string* text : {&file.name, &file.author})
        if (text->find_first_of("\r\n") != std::string::npos || Trim(*text) != *text)
            throw StageFileError(std::string(kWritten) +
                                 ": a name or author holds a line break or spaces at its ends");
    std::string text = std::string(kStageFileMagic) + " " + std::to_string(kStageFileVersion) +
                       "\nname " + file.name + "\n";
    if (!file.author.empty()) text += "author " + file.author + "\n";
    for (const StageBlock& b : file.stages) {
        text += "\nstage " + std::to_string(b.stage) + "\nstart " + std::to_string(b.startX) + " " +
                std::to_string(b.startY) + "\n";
        for (const std::string& row : b.rows) text += "row " + row + "\n";
    }
    // Every other rule is the reader's: what it refuses is refused here, not written.
    if (!(ParseStages(text, kWritten) == file))
        throw StageFileError(std::string(kWritten) + ": a row holds a line break");
    return text;
}

}  // namespace hopla
