// The leading-number parse and isNumericText on any text.
#include <cmath>
#include <cstdint>
#include <string>

#include "check.h"
#include "platform/failure.h"
#include "platform/numbers.h"

using namespace wb;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    double value = 0;
    try {
        value = parseLeadingNumber(text);
    } catch (const RuntimeError& e) {
        FUZZ_CHECK(e.number() == kOverflow);
        return 0;
    }
    FUZZ_CHECK(std::isfinite(value));
    // A text that starts with a byte beyond ASCII (a character beyond it, or a
    // broken sequence) has no leading number.
    if (size > 0 && data[0] >= 0x80) FUZZ_CHECK(value == 0 && !isNumericText(text));

    if (isNumericText(text)) {
        // A whole number reads the same with anything after it.
        FUZZ_CHECK(parseLeadingNumber(text + "x") == value);
        // Its text is a number again and reads back to the value within its
        // 15th significant digit.
        const std::string shown = numberToText(value);
        FUZZ_CHECK(isNumericText(shown));
        try {
            FUZZ_CHECK(std::fabs(parseLeadingNumber(shown) - value) <= std::fabs(value) * 5.1e-15 + 5e-324);
        } catch (const RuntimeError&) {
            FUZZ_CHECK(std::fabs(value) > 1.79769313486231e308);  // rounded past the largest double
        }
    }
    return 0;
}
