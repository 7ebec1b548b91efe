#include "platform/sqlite/like_pattern.h"

#include <gtest/gtest.h>

namespace wb {
namespace {

struct LikeCase {
    const char* text;
    const char* pattern;
    bool matches;
};

TEST(LikePattern, OldWildcardsAndCase)
{
    const LikeCase cases[] = {
        {"N123AB", "N12*", true},
        {"n123ab", "N12*", true},    // case-insensitive
        {"N123AB", "n12*", true},
        {"N12", "N12*", true},       // * matches nothing
        {"XN12", "N12*", false},
        {"N123", "N1?3", true},
        {"N13", "N1?3", false},      // ? needs one character
        {"N123", "N###", true},
        {"N12A", "N###", false},     // # only digits
        {"Cessna", "[a-c]essna", true},
        {"Dessna", "[a-c]essna", false},
        {"Dessna", "[!a-c]essna", true},
        {"Cessna", "[!a-c]essna", false},
        {"A*B", "A[*]B", true},      // bracketed wildcard stands for itself
        {"AXB", "A[*]B", false},
        {"a[b", "a[b", true},        // a lone [ stands for itself
        {"", "*", true},
        {"", "", true},
        {"x", "", false},
        {"abcabd", "*abd", true},    // backtracking over *
        {"ÉTOILE", "étoile", true},  // accented letters fold too
        {"O'Brien \"X\"", "O'B*\"X\"", true},
        {"100%", "100%", true},      // % and _ are not wildcards here
        {"100x", "100%", false},
        {"a_c", "a_c", true},
        {"abc", "a_c", false},
    };
    for (const LikeCase& c : cases) {
        EXPECT_EQ(likeMatches(c.text, c.pattern), c.matches) << c.text << " Like " << c.pattern;
    }
}

// A range that spans only one case's letters ("[@-_]" holds A-Z, "[`-~]" a-z)
// takes a letter of either case.
TEST(LikePattern, RangesTakeBothCasesOfALetter)
{
    const LikeCase cases[] = {
        {"A", "[@-_]", true},
        {"a", "[@-_]", true},
        {"d", "[\x0F-c]", true},
        {"D", "[\x0F-c]", true},
        {"z", "[`-~]", true},
        {"Z", "[`-~]", true},
        {"é", "[À-Þ]", true},
        {"e", "[!@-_]", false},
        {"[", "[@-_]", true},
        {"{", "[@-_]", false},
    };
    for (const LikeCase& c : cases) {
        EXPECT_EQ(likeMatches(c.text, c.pattern), c.matches) << c.text << " Like " << c.pattern;
    }
}

}  // namespace
}  // namespace wb
