// Taking a script line apart: words, numbers in range, texts; a line that is wrong is a BadLine,
// a command that cannot do its work a CommandFailed.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "toolkit/Escape.h"

namespace hopla {

// A line that is not a valid command; what() says why, the script's control bytes escaped
// (toolkit/Escape.h) as in CommandFailed.
struct BadLine : std::runtime_error {
    explicit BadLine(std::string_view what) : std::runtime_error(Escaped(what)) {}
};

// A valid command that could not do its work (a shot file); what() says why.
struct CommandFailed : std::runtime_error {
    explicit CommandFailed(std::string_view what) : std::runtime_error(Escaped(what)) {}
};

// The words of one line, taken one at a time; the rest of the line serves texts.
class Words {
  public:
    explicit Words(std::string_view line) : rest_(line) { skipBlanks(); }

    bool empty() const { return rest_.empty(); }
    // The next word; a BadLine naming `what` was expected when there is none.
    std::string_view next(std::string_view what);
    // Everything left, without trailing blanks; nothing is left after it.
    std::string_view takeRest();
    // A BadLine when anything is left.
    void expectEnd() const;

  private:
    void skipBlanks();
    std::string_view rest_;
};

// The next word as a whole number in min..max.
long long IntegerArg(Words& words, std::string_view what, long long min, long long max);
// The next word as a finite number in min..max.
double NumberArg(Words& words, std::string_view what, double min, double max);
// The rest of the line as a text, or a JSON string literal when it starts with '"'; a text
// holding a NUL is a bad line.
std::string TextArg(Words& words, std::string_view what);

}  // namespace hopla
