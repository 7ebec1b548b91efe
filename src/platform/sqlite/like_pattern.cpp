#include "platform/sqlite/like_pattern.h"

#include <vector>

namespace wb {

namespace {

unsigned char folded(unsigned char c)
{
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    return c;
}

unsigned char raised(unsigned char c)
{
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
    return c;
}

struct Token {
    enum Kind { AnyRun, One, Digit, Set, Literal } kind;
    explicit Token(Kind k) : kind(k) {}
    unsigned char literal = 0;
    bool negated = false;
    std::vector<std::pair<unsigned char, unsigned char>> ranges;

    bool matches(unsigned char c) const
    {
        switch (kind) {
        case One: return true;
        case Digit: return c >= '0' && c <= '9';
        case Literal: return folded(c) == literal;
        case Set: {
            bool in = false;
            // A letter is in a range when either of its cases is.
            const unsigned char lower = folded(c), upper = raised(c);
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

std::vector<Token> tokenize(const std::string& pattern)
{
    std::vector<Token> tokens;
    for (size_t i = 0; i < pattern.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(pattern[i]);
        if (c == '*') {
            tokens.emplace_back(Token::AnyRun);
        } else if (c == '?') {
            tokens.emplace_back(Token::One);
        } else if (c == '#') {
            tokens.emplace_back(Token::Digit);
        } else if (c == '[' && pattern.find(']', i + 1) != std::string::npos) {
            size_t close = pattern.find(']', i + 1);
            Token set(Token::Set);
            size_t j = i + 1;
            if (j < close && pattern[j] == '!') {
                set.negated = true;
                ++j;
            }
            for (; j < close; ++j) {
                unsigned char low = folded(static_cast<unsigned char>(pattern[j]));
                unsigned char high = low;
                if (j + 2 < close && pattern[j + 1] == '-') {
                    high = folded(static_cast<unsigned char>(pattern[j + 2]));
                    j += 2;
                }
                set.ranges.push_back({low, high});
            }
            tokens.push_back(set);
            i = close;
        } else {
            Token t(Token::Literal);
            t.literal = folded(c);
            tokens.push_back(t);
        }
    }
    return tokens;
}

}  // namespace

bool likeMatches(const std::string& text, const std::string& pattern)
{
    std::vector<Token> tokens = tokenize(pattern);
    // Wildcard matching with backtracking to the last "*".
    size_t t = 0, p = 0;
    size_t starToken = std::string::npos, starText = 0;
    while (t < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[t]);
        if (p < tokens.size() && tokens[p].kind == Token::AnyRun) {
            starToken = p++;
            starText = t;
        } else if (p < tokens.size() && tokens[p].matches(c)) {
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
