#pragma once
// The old engine's Like patterns on Latin-1 text: "*" any run of characters,
// "?" one character, "#" one digit, "[abc]" / "[a-z]" one of a set, "[!abc]"
// one character not in it; letters match regardless of case. A "[" without
// its "]" stands for itself.
#include <string>

namespace wb {

bool likeMatches(const std::string& text, const std::string& pattern);

}  // namespace wb
