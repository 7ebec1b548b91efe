// formatMask with any value and any mask, double and single.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "check.h"
#include "platform/failure.h"
#include "platform/numbers.h"

using namespace wb;

namespace {

struct MaskShape {
    bool point = false;
    size_t decimals = 0;     // "0" and "#" after the point
    size_t minDecimals = 0;  // up to the last "0" after the point
};

MaskShape shapeOf(const std::string& mask) {
    MaskShape s;
    size_t point = mask.find('.');
    s.point = point != std::string::npos;
    if (!s.point) return s;
    for (size_t i = point + 1; i < mask.size(); ++i) {
        if (mask[i] == '0' || mask[i] == '#') ++s.decimals;
        if (mask[i] == '0') s.minDecimals = s.decimals;
    }
    return s;
}

// The output is "-"?digits("."digits)?, with as many decimals as the mask allows,
// and reads back to the value within the rounding of the mask and of 15 digits.
template <class T>
void checkFormatted(T value, const std::string& mask, int significantDigits) {
    const std::string out = formatMask(value, mask);
    if (!std::isfinite(value)) {
        FUZZ_CHECK(out == "NaN" || out == "Infinity" || out == "-Infinity");
        return;
    }
    const MaskShape shape = shapeOf(mask);
    size_t i = out.empty() || out[0] != '-' ? 0 : 1;
    while (i < out.size() && out[i] >= '0' && out[i] <= '9') ++i;
    FUZZ_CHECK((i < out.size()) == shape.point);
    if (shape.point) {
        FUZZ_CHECK(out[i] == '.');
        const size_t decimals = out.size() - i - 1;
        FUZZ_CHECK(decimals >= shape.minDecimals && decimals <= shape.decimals);
        for (size_t j = i + 1; j < out.size(); ++j) FUZZ_CHECK(out[j] >= '0' && out[j] <= '9');
    }
    FUZZ_CHECK((!out.empty() && out[0] == '-') == (value < 0));  // every value below 0, only those

    double back = 0;
    try {
        back = parseLeadingNumber(out);
    } catch (const RuntimeError&) {
        FUZZ_CHECK(std::fabs(static_cast<double>(value)) > 1e307);  // rounded past the largest double
        return;
    }
    const double v = static_cast<double>(value);
    const double tolerance = (shape.decimals < 400 ? 0.5 * std::pow(10.0, -static_cast<double>(shape.decimals)) : 0) +
                             std::fabs(v) * 6 * std::pow(10.0, -significantDigits) +
                             std::fabs(static_cast<double>(std::nextafter(value, T(0)) - value));
    FUZZ_CHECK(std::fabs(back - v) <= tolerance);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < sizeof(double) + sizeof(float)) return 0;
    double d;
    float f;
    std::memcpy(&d, data, sizeof d);
    std::memcpy(&f, data + sizeof d, sizeof f);
    const std::string mask(reinterpret_cast<const char*>(data) + sizeof d + sizeof f,
                           size - sizeof d - sizeof f);
    checkFormatted(d, mask, 15);
    checkFormatted(f, mask, 7);
    return 0;
}
