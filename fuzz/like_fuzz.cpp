// The Like matcher on any text and pattern: it ends, ignores the case of letters,
// and a text matches itself with its wildcards bracketed.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "check.h"
#include "platform/sqlite/like_pattern.h"

using namespace wb;

namespace {

bool isUpperLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7); }
bool isLowerLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7); }

std::string swapCase(const std::string& s) {
    std::string out = s;
    for (char& ch : out) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (isUpperLetter(c)) ch = static_cast<char>(c + 32);
        else if (isLowerLetter(c)) ch = static_cast<char>(c - 32);
    }
    return out;
}

std::string literalPattern(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '*' || c == '?' || c == '#' || c == '[') out += std::string("[") + c + "]";
        else out += c;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string pattern = in.ConsumeRandomLengthString(256);
    const std::string text = in.ConsumeRemainingBytesAsString();

    const bool matches = likeMatches(text, pattern);
    FUZZ_CHECK(likeMatches(swapCase(text), pattern) == matches);
    FUZZ_CHECK(likeMatches(text, swapCase(pattern)) == matches);

    FUZZ_CHECK(likeMatches(text, "*"));
    FUZZ_CHECK(likeMatches(text, literalPattern(text)));
    FUZZ_CHECK(likeMatches(text + pattern, literalPattern(text) + "*"));
    FUZZ_CHECK(likeMatches(text, literalPattern(text + "x")) == false);
    return 0;
}
