#pragma once
// The old engine's Like patterns on UTF-8 text, character by character (a
// broken byte reads as U+FFFD): "*" any run of characters, "?" one character,
// "#" one digit, "[abc]" / "[a-z]" one of a set, "[!abc]" one character not in
// it; letters match regardless of case (utf8::foldCase). A "[" without its "]"
// stands for itself.
#include <string>

namespace wb {

bool likeMatches(const std::string& text, const std::string& pattern);

}  // namespace wb
