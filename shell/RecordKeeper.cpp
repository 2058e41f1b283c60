// The records' files: read with damage put aside, written atomically, the best game's demo.
#include "shell/RecordKeeper.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "demo/DemoFile.h"
#include "shell/DemoOrigin.h"
#include "toolkit/Escape.h"
#include "toolkit/FilePath.h"

namespace hopla {
namespace {

// Some hundred bytes a game: room for millions of games, read whole.
constexpr std::size_t kMaxRecordsBytes = 512 * 1024 * 1024;
// A window's session of play for many hours: the largest demo a ghost replays.
constexpr std::size_t kMaxRunDemoBytes = 16 * 1024 * 1024;

// The stage file's name as a folder's name: letters, digits, '.', '-' and '_' kept, anything
// else '_', at most 40 bytes; the hash after it keeps apart the names it makes alike.
std::string SafeName(std::string_view name) {
    std::string safe;
    for (const char c : name.substr(0, 40)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        safe += plain ? c : '_';
    }
    if (safe.empty() || safe.front() == '.') safe.insert(0, "_");
    return safe;
}

}  // namespace

std::string DateTimeText(const LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

std::string RecordsPath(const std::string& dir) {
    return JoinPath(dir, "records.txt");
}

std::string StageDemoPath(const std::string& dir, int stage) {
    char name[32];
    std::snprintf(name, sizeof name, "best-stage-%02d.demo", stage);
    return JoinPath(dir, name);
}

LoadedRecords LoadRecords(const std::string& dir, const LocalTime& now) {
    LoadedRecords loaded;
    const std::string path = RecordsPath(dir);
    loaded.target = path;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(PathFromUtf8(dir), error)) {
        const std::u8string name = entry.path().filename().u8string();
        if (name.starts_with(u8"records.txt.damaged-"))
            loaded.putAside.push_back(JoinPath(dir, std::string(name.begin(), name.end())));
    }
    std::sort(loaded.putAside.begin(), loaded.putAside.end());
    const SmallFile file = ReadSmallFile(path, kMaxRecordsBytes);
    if (!file.text) {
        if (file.error.empty()) return loaded;
        // Never replaced: the games since are kept beside it until it can be read again.
        loaded.target = JoinPath(dir, "records-while-unreadable.txt");
        loaded.unreadable = "cannot read " + Escaped(path) + ": " + file.error +
                            "; it is kept as it is, and new games go to " + Escaped(loaded.target);
        const SmallFile since = ReadSmallFile(loaded.target, kMaxRecordsBytes);
        // Told once: while the games go beside it, only --records says so again.
        if (!since.text) loaded.warnings.push_back(loaded.unreadable);
        if (since.text) loaded.records = ParseRecords(*since.text).records;
        return loaded;
    }
    ParsedRecords parsed = ParseRecords(*file.text);
    loaded.records = std::move(parsed.records);
    if (parsed.damagedLines.empty()) return loaded;
    std::string aside = DateTimeText(now);
    for (char& c : aside)
        if (c == 'T' || c == ':') c = '-';
    aside = path + ".damaged-" + aside;
    std::string warning = path + ":" + std::to_string(parsed.damagedLines.front()) +
                          ": not a record (" + std::to_string(parsed.damagedLines.size()) +
                          " damaged lines); ";
    if (const std::optional<std::string> error = RenameFile(path, aside)) {
        loaded.warnings.push_back(warning + "the file is left as it is: " + *error);
        return loaded;
    }
    warning += "the file is kept as " + aside + " and its " +
               std::to_string(loaded.records.games.size()) + " good records carried over";
    if (const std::optional<std::string> error = ReplaceFile(path, FormatRecords(loaded.records))) {
        // A full disk: the file goes back to its name, damaged lines and all, rather than
        // leaving no records where the next start looks.
        const std::optional<std::string> back = RenameFile(aside, path);
        warning = path + ":" + std::to_string(parsed.damagedLines.front()) + ": not a record; " +
                  *error +
                  (back ? "; the whole file stays as " + aside : "; the file is left as it is");
    } else {
        loaded.putAside.push_back(aside);
    }
    loaded.warnings.push_back(warning);
    return loaded;
}

RunDemos LoadRunDemos(const std::string& dir) {
    RunDemos runs;
    if (dir.empty()) return runs;
    std::vector<std::pair<std::string, std::shared_ptr<const Demo>>> read;  // text, demo
    const auto load = [&](const std::string& path) -> std::shared_ptr<const Demo> {
        const SmallFile file = ReadSmallFile(path, kMaxRunDemoBytes);
        if (!file.text) {
            if (!file.error.empty())
                runs.warnings.push_back("no ghost from " + Escaped(path) + ": " + file.error);
            return nullptr;
        }
        for (const auto& [text, demo] : read)
            if (text == *file.text) return demo;
        try {
            auto demo = std::make_shared<const Demo>(ParseDemo(*file.text, path));
            read.emplace_back(*file.text, demo);
            return demo;
        } catch (const DemoError& e) {
            runs.warnings.push_back(std::string("no ghost from ") + e.what());
            return nullptr;
        }
    };
    runs.game = load(JoinPath(dir, "best.demo"));
    for (int s = 0; s < kRecordStages; ++s)
        runs.stages[static_cast<std::size_t>(s)] = load(StageDemoPath(dir, s));
    return runs;
}

KeptRecord KeepRecord(const std::string& dir, const GameRecord& record, std::string_view demo,
                      const LocalTime& now) {
    KeptRecord kept;
    if (dir.empty()) {
        kept.error = "no place for records (neither XDG_DATA_HOME nor HOME is set)";
        return kept;
    }
    LoadedRecords loaded = LoadRecords(dir, now);
    kept.warnings = std::move(loaded.warnings);
    const std::optional<GameRecord> best = BestGame(loaded.records);
    const std::array<std::optional<int>, kRecordStages> stageBest = BestStageTicks(loaded.records);
    loaded.records.games.push_back(record);
    if (std::optional<std::string> error =
            ReplaceFile(loaded.target, FormatRecords(loaded.records))) {
        kept.error = std::move(*error);
        return kept;
    }
    kept.path = loaded.target;
    if (record.from == RecordFrom::Play && !demo.empty()) {
        // A game over did not clear the stage it ended in.
        const int cleared = record.gameOver ? record.reached - 1 : kRecordStages;
        for (int s = 0; s < cleared; ++s) {
            if (stageBest[s] && record.ticks[s] >= *stageBest[s]) continue;
            // The record is kept all the same; the stage's demo before stays.
            if (std::optional<std::string> error = ReplaceFile(StageDemoPath(dir, s), demo)) {
                kept.warnings.push_back("the demo of stage " + std::to_string(s) +
                                        " is not kept: " + *error);
                break;
            }
            kept.stages.push_back(s);
        }
    }
    kept.best = record.from == RecordFrom::Play && !record.gameOver && !demo.empty() &&
                (!best || record.score < best->score);
    if (kept.best)
        if (std::optional<std::string> error = ReplaceFile(JoinPath(dir, "best.demo"), demo)) {
            kept.best = false;
            kept.error = std::move(*error);
        }
    return kept;
}

std::string RecordsDirFor(const std::string& recordsDir, const std::optional<DemoStages>& stages) {
    if (recordsDir.empty() || !stages) return recordsDir;
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(stages->hash));
    return JoinPath(JoinPath(recordsDir, "stages"), SafeName(stages->name) + "-" + hash);
}

RecordKeeper::RecordKeeper(Game& game, const Clock& clock, std::uint32_t seed, std::string dir,
                           RecordFrom from, const std::optional<DemoStages>& stages)
    : game_(game), dir_(std::move(dir)), from_(from) {
    if (from_ != RecordFrom::Demo)
        recorder_ = std::make_unique<Recorder>(
            game, clock, seed, std::nullopt,
            ThisProgram("hopla",
                        from_ == RecordFrom::Assisted ? DemoMaker::Assisted : DemoMaker::Person),
            demo_, stages);
}

void RecordKeeper::slowed(bool slowed) {
    slowed_ = slowed;
    if (slowed && reached_ > 0) assisted_ = true;
}

void RecordKeeper::note(InputKind kind, int code) {
    if (recorder_) recorder_->note(kind, code);
}

void RecordKeeper::check(std::ostream& out, std::ostream& err) {
    const int stage = game_.stage();
    const Game::Tally tally = game_.tally();
    if (stage < kRecordStages) {
        if (reached_ == 0) {  // a new game
            assisted_ = slowed_;
            lostIn_.fill(0);
            lostSeen_ = tally.ballsLost;
        }
        reached_ = stage + 1;
    }
    // A ball lost counts in the stage it was lost in, the last one reached when the game over
    // has already taken the game back to the title room.
    if (reached_ > 0 && tally.ballsLost > lostSeen_) {
        lostIn_[static_cast<std::size_t>(reached_ - 1)] += tally.ballsLost - lostSeen_;
        lostSeen_ = tally.ballsLost;
    }
    if (stage < kRecordStages) return;
    // Back in the title room or in the ending: the game is over when its final screen shows (a
    // demo may begin in the ending) or its last ball is lost; otherwise the player went back to
    // the title room, or the ending still runs.
    const std::optional<Game::FinalScore> score = finished_ ? std::nullopt : game_.finalScore();
    if (!score && reached_ == 0) return;
    GameRecord record;
    record.from =
        from_ == RecordFrom::Play && (assisted_ || slowed_) ? RecordFrom::Assisted : from_;
    if (score) {
        finished_ = true;
        record.score = score->score;
        record.code = score->code;
        record.ballsLost = score->ballsLost;
        record.ticks = score->stageTicks;
    } else if (tally.ballsLeft <= 0) {
        record.gameOver = true;
        record.reached = reached_;
        record.ballsLost = tally.ballsLost;
        // The score so far, as the stage introductions sum it: a tenth of the ticks of each
        // stage reached and 30 a lost ball.
        record.score = 30 * record.ballsLost;
        for (int s = 0; s < reached_; ++s) {
            record.ticks[s] = tally.stageTicks[s];
            record.score += record.ticks[s] / 10;
        }
    } else {
        return;
    }
    // Counted from the game's start; a game that began otherwise keeps only the sum.
    int counted = 0;
    for (int s = 0; s < record.reached; ++s) counted += lostIn_[static_cast<std::size_t>(s)];
    if (counted == record.ballsLost) {
        record.lostIn.emplace();
        std::copy_n(lostIn_.begin(), record.reached, record.lostIn->begin());
    }
    reached_ = 0;
    const LocalTime now = LocalNow();
    record.when = DateTimeText(now);
    keep(record, now, out, err);
}

void RecordKeeper::keep(const GameRecord& record, const LocalTime& now, std::ostream& out,
                        std::ostream& err) {
    // A finished game ends the recording; a game over's demo ends with it, the recording going on
    // into the next game.
    std::string demo;
    if (recorder_ && !record.gameOver) recorder_->finish();
    if (recorder_) demo = demo_.str() + (record.gameOver ? recorder_->endLines() : "");
    const KeptRecord kept = KeepRecord(dir_, record, demo, now);
    for (const std::string& warning : kept.warnings) err << "hopla: " << warning << "\n";
    if (!kept.error.empty()) {
        err << "hopla: the game's record is not kept: " << kept.error << std::endl;
        return;
    }
    out << "hopla: "
        << (record.gameOver
                ? "Game Over in stage " + std::to_string(record.reached - 1) + ", score so far "
                : std::string("score "))
        << record.score << (record.code.empty() ? "" : " (" + record.code + ")") << " recorded in "
        << Escaped(kept.path);
    if (kept.best)
        out << "; your best game, its demo kept as " << Escaped(JoinPath(dir_, "best.demo"));
    if (!kept.stages.empty()) {
        out << "; your fewest ticks yet in stage";
        for (std::size_t i = 0; i < kept.stages.size(); ++i)
            out << (i ? ", " : kept.stages.size() > 1 ? "s " : " ") << kept.stages[i];
        out << ", the demo kept as best-stage-NN.demo";
    }
    out << std::endl;
}

}  // namespace hopla
