#pragma once
// Scripts and output are UTF-8; the program holds text one byte a character.
#include <optional>
#include <string>

namespace wb::scenario {

// Nothing when the text is not valid UTF-8 or holds a character beyond Latin-1.
std::optional<std::string> utf8ToLatin1(const std::string& utf8);
std::string latin1ToUtf8(const std::string& latin1);

// A Latin-1 text as a quoted UTF-8 text with the script's escapes.
std::string quoted(const std::string& latin1);

}  // namespace wb::scenario
