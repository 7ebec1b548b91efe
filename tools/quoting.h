#pragma once
// Texts as a script writes them.
#include <string>

namespace wb::scenario {

// A text in double quotes with the script's escapes.
std::string quoted(const std::string& text);

}  // namespace wb::scenario
