// Script line reading for hopla-sim.
#include "tools/sim/ScriptLine.h"

#include <cmath>
#include <optional>

#include "toolkit/Numbers.h"
#include "tools/sim/Json.h"

namespace hopla {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

void Words::skipBlanks() {
    while (!rest_.empty() && IsBlank(rest_.front())) rest_.remove_prefix(1);
}

std::string_view Words::next(std::string_view what) {
    if (rest_.empty()) throw BadLine("missing " + std::string(what));
    std::size_t end = 0;
    while (end < rest_.size() && !IsBlank(rest_[end])) ++end;
    const std::string_view word = rest_.substr(0, end);
    rest_.remove_prefix(end);
    skipBlanks();
    return word;
}

std::string_view Words::takeRest() {
    std::string_view rest = rest_;
    while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
    rest_ = {};
    return rest;
}

void Words::expectEnd() const {
    if (!rest_.empty()) throw BadLine("unexpected '" + std::string(rest_) + "'");
}

long long IntegerArg(Words& words, std::string_view what, long long min, long long max) {
    const std::string_view word = words.next(what);
    const std::optional<long long> parsed = ParseNumber<long long>(word);
    if (!parsed) {
        throw BadLine(std::string(what) + " is not an integer: '" + std::string(word) + "'");
    }
    const long long value = *parsed;
    if (value < min || value > max) {
        throw BadLine(std::string(what) + " " + std::string(word) + " out of range " +
                      std::to_string(min) + ".." + std::to_string(max));
    }
    return value;
}

double NumberArg(Words& words, std::string_view what, double min, double max) {
    const std::string_view word = words.next(what);
    const std::optional<double> parsed = ParseNumber<double>(word);
    if (!parsed) {
        throw BadLine(std::string(what) + " is not a number: '" + std::string(word) + "'");
    }
    const double value = *parsed;
    if (value < min || value > max) {
        throw BadLine(std::string(what) + " " + std::string(word) + " out of range");
    }
    return value;
}

// A text argument: the rest of the line, or a JSON string literal when it starts with '"'.
std::string TextArg(Words& words, std::string_view what) {
    const std::string_view rest = words.takeRest();
    if (rest.empty()) throw BadLine("missing " + std::string(what));
    std::optional<std::string> text = std::string(rest);
    if (rest.front() == '"') {
        text = ParseJsonString(rest);
        if (!text) throw BadLine("malformed quoted " + std::string(what));
    }
    // A NUL would silently cut the text where a file name is handed on.
    if (text->find('\0') != std::string::npos) throw BadLine(std::string(what) + " holds a NUL");
    return *text;
}

}  // namespace hopla
