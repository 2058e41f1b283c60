// Text from outside (a file's line, a file name, a script's word) made safe to print on a
// terminal: the one helper behind every message that quotes such text.
#pragma once

#include <string>
#include <string_view>

namespace hopla {

// `text` with every control byte (C0, DEL and the C1 controls U+0080..U+009F) and every byte
// that is not part of well-formed UTF-8 written as \xHH; tabs, printable ASCII and other UTF-8
// characters stay as they are. Applying it twice changes nothing more. The readers' errors
// (demo, stage and script lines) and the settings warnings pass through it.
std::string Escaped(std::string_view text);

// The length in bytes of the well-formed UTF-8 character at `text[i]` (1 for any ASCII byte),
// 0 when none starts there. The stage file reader checks its text with it too.
std::size_t Utf8CharacterLength(std::string_view text, std::size_t i);

// The characters of `text`: a well-formed UTF-8 character counts one, and so does each byte
// that is not part of one, so that the count of any bytes ends.
std::size_t Utf8Characters(std::string_view text);

// `text` made fit to be a name or an author: each byte that is not part of well-formed UTF-8
// becomes U+FFFD, each control character a space, the spaces at its ends go, and it is cut to
// its first `maxCharacters` characters (the spaces at the new end going too). The editor names
// a new stage file after its file name, which may be any bytes.
std::string CleanedLabel(std::string_view text, std::size_t maxCharacters);

}  // namespace hopla
