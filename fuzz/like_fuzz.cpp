// The Like matcher on any bytes as text and pattern: it ends, reads a broken
// sequence as U+FFFD, ignores the case of letters, and a text matches itself
// with its wildcards bracketed.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "check.h"
#include "platform/sqlite/like_pattern.h"
#include "platform/utf8.h"

using namespace wb;

namespace {

// Every letter in its case-free form.
std::string folded(const std::string& s) {
    std::string out;
    for (size_t pos = 0; pos < s.size();) out += utf8::encode(utf8::foldCase(utf8::decode(s, pos)));
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
    const std::string raw = in.ConsumeRemainingBytesAsString();
    const std::string text = utf8::sanitize(raw);

    const bool matches = likeMatches(text, pattern);
    FUZZ_CHECK(likeMatches(raw, pattern) == matches);
    FUZZ_CHECK(likeMatches(text, utf8::sanitize(pattern)) == matches);
    FUZZ_CHECK(likeMatches(folded(text), pattern) == matches);
    FUZZ_CHECK(likeMatches(text, folded(pattern)) == matches);
    FUZZ_CHECK(folded(folded(text)) == folded(text));

    FUZZ_CHECK(likeMatches(text, "*"));
    FUZZ_CHECK(likeMatches(text, literalPattern(text)));
    FUZZ_CHECK(likeMatches(text + pattern, literalPattern(text) + "*"));
    FUZZ_CHECK(likeMatches(text, literalPattern(text + "x")) == false);
    return 0;
}
