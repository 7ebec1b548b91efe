#pragma once
// The old engine's Like patterns on UTF-8 text, character by character (a
// broken byte reads as U+FFFD): "*" any run of characters, "?" one character,
// "#" one digit, "[abc]" / "[a-z]" one of a set, "[!abc]" one character not in
// it; letters match regardless of case (utf8::foldCase). A "[" without its "]"
// stands for itself.
#include <memory>
#include <string>
#include <string_view>

namespace wb {

// A pattern read once, for matching many texts.
class LikePattern {
public:
    explicit LikePattern(std::string_view pattern);
    ~LikePattern();
    LikePattern(const LikePattern&) = delete;
    LikePattern& operator=(const LikePattern&) = delete;

    bool matches(std::string_view text) const;

private:
    struct Tokens;
    std::unique_ptr<Tokens> tokens_;
};

bool likeMatches(const std::string& text, const std::string& pattern);

}  // namespace wb
