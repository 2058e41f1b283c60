// Splitting a line of a text file (demos, stage files) into its words.
#pragma once

#include <string_view>
#include <vector>

namespace hopla {

// The words of `line`: runs of characters other than spaces and tabs, in order; none for a
// blank line. The views point into `line`.
inline std::vector<std::string_view> SplitWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

}  // namespace hopla
