// The records' files: read with damage put aside, written atomically, the best game's demo.
#include "shell/RecordKeeper.h"
#include "toolkit/FilePath.h"

#include <cstdio>

namespace hopla {
namespace {

// Some hundred bytes a game: room for tens of thousands of games.
constexpr std::size_t kMaxRecordsBytes = 16 * 1024 * 1024;

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

LoadedRecords LoadRecords(const std::string& dir, const LocalTime& now) {
    LoadedRecords loaded;
    const std::string path = RecordsPath(dir);
    const SmallFile file = ReadSmallFile(path, kMaxRecordsBytes);
    if (!file.text) {
        if (!file.error.empty())
            loaded.warnings.push_back("cannot read " + path + ": " + file.error);
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
    if (const std::optional<std::string> error = ReplaceFile(path, FormatRecords(loaded.records)))
        warning += ", but " + *error;
    loaded.warnings.push_back(warning);
    return loaded;
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
    loaded.records.games.push_back(record);
    if (std::optional<std::string> error =
            ReplaceFile(RecordsPath(dir), FormatRecords(loaded.records))) {
        kept.error = std::move(*error);
        return kept;
    }
    kept.best = !record.fromDemo && !demo.empty() && (!best || record.score < best->score);
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
    return JoinPath(JoinPath(recordsDir, "stages"), stages->name + "-" + hash);
}

RecordKeeper::RecordKeeper(Game& game, const Clock& clock, std::uint32_t seed, std::string dir,
                           bool fromDemo, const std::optional<DemoStages>& stages)
    : game_(game), dir_(std::move(dir)), fromDemo_(fromDemo) {
    if (!fromDemo_)
        recorder_ = std::make_unique<Recorder>(game, clock, seed, std::nullopt, demo_, stages);
}

void RecordKeeper::note(InputKind kind, int code) {
    if (recorder_) recorder_->note(kind, code);
}

void RecordKeeper::check(std::ostream& out, std::ostream& err) {
    if (kept_) return;
    const std::optional<Game::FinalScore> score = game_.finalScore();
    if (!score) return;
    kept_ = true;
    GameRecord record;
    const LocalTime now = LocalNow();
    record.when = DateTimeText(now);
    record.score = score->score;
    record.code = score->code;
    record.ballsLost = score->ballsLost;
    record.ticks = score->stageTicks;
    record.fromDemo = fromDemo_;
    if (recorder_) recorder_->finish();
    const KeptRecord kept = KeepRecord(dir_, record, recorder_ ? demo_.str() : "", now);
    for (const std::string& warning : kept.warnings) err << "hopla: " << warning << "\n";
    if (!kept.error.empty()) {
        err << "hopla: the game's record is not kept: " << kept.error << std::endl;
        return;
    }
    out << "hopla: score " << record.score << (record.code.empty() ? "" : " (" + record.code + ")")
        << " recorded in " << RecordsPath(dir_);
    if (kept.best) out << "; your best game, its demo kept as " << dir_ << "/best.demo";
    out << std::endl;
}

}  // namespace hopla
