#include "platform/sqlite/like_pattern.h"

#include <vector>

#include "platform/utf8.h"

namespace wb {

namespace {

using utf8::characters;
using utf8::foldCase;

// The capital whose case-free form is c (c itself when there is none).
char32_t raised(char32_t c)
{
    static const long kOffsets[] = {32, 1, 80, 37, 38, 48, 63, 64, 2, 15, -121};
    for (long offset : kOffsets) {
        const long candidate = static_cast<long>(c) - offset;
        if (candidate > 0 && foldCase(static_cast<char32_t>(candidate)) == c) return static_cast<char32_t>(candidate);
    }
    return c;
}

struct Token {
    enum Kind { AnyRun, One, Digit, Set, Literal } kind;
    explicit Token(Kind k) : kind(k) {}
    char32_t literal = 0;
    bool negated = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;

    bool matches(char32_t c) const
    {
        switch (kind) {
        case One: return true;
        case Digit: return c >= '0' && c <= '9';
        case Literal: return foldCase(c) == literal;
        case Set: {
            bool in = false;
            // A letter is in a range when either of its cases is.
            const char32_t lower = foldCase(c), upper = raised(lower);
            for (auto [low, high] : ranges) {
                if ((lower >= low && lower <= high) || (upper >= low && upper <= high)) in = true;
            }
            return in != negated;
        }
        case AnyRun: return true;
        }
        return false;
    }
};

std::vector<Token> tokenize(const std::u32string& pattern)
{
    std::vector<Token> tokens;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        if (c == '*') {
            tokens.emplace_back(Token::AnyRun);
        } else if (c == '?') {
            tokens.emplace_back(Token::One);
        } else if (c == '#') {
            tokens.emplace_back(Token::Digit);
        } else if (c == '[' && pattern.find(U']', i + 1) != std::u32string::npos) {
            size_t close = pattern.find(U']', i + 1);
            Token set(Token::Set);
            size_t j = i + 1;
            if (j < close && pattern[j] == '!') {
                set.negated = true;
                ++j;
            }
            for (; j < close; ++j) {
                char32_t low = foldCase(pattern[j]);
                char32_t high = low;
                if (j + 2 < close && pattern[j + 1] == '-') {
                    high = foldCase(pattern[j + 2]);
                    j += 2;
                }
                set.ranges.push_back({low, high});
            }
            tokens.push_back(set);
            i = close;
        } else {
            Token t(Token::Literal);
            t.literal = foldCase(c);
            tokens.push_back(t);
        }
    }
    return tokens;
}

}  // namespace

struct LikePattern::Tokens {
    std::vector<Token> list;
};

LikePattern::LikePattern(std::string_view pattern) : tokens_(new Tokens{tokenize(characters(pattern))}) {}

LikePattern::~LikePattern() = default;

bool likeMatches(const std::string& textUtf8, const std::string& patternUtf8)
{
    return LikePattern(patternUtf8).matches(textUtf8);
}

bool LikePattern::matches(std::string_view textUtf8) const
{
    const std::vector<Token>& tokens = tokens_->list;
    const std::u32string text = characters(textUtf8);
    // Wildcard matching with backtracking to the last "*".
    size_t t = 0, p = 0;
    size_t starToken = std::string::npos, starText = 0;
    while (t < text.size()) {
        if (p < tokens.size() && tokens[p].kind == Token::AnyRun) {
            starToken = p++;
            starText = t;
        } else if (p < tokens.size() && tokens[p].matches(text[t])) {
            ++p;
            ++t;
        } else if (starToken != std::string::npos) {
            p = starToken + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < tokens.size() && tokens[p].kind == Token::AnyRun) ++p;
    return p == tokens.size();
}

}  // namespace wb
