// parseDate on any text; what it reads formats and reads back, and its serial
// day number comes back to the same date.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "check.h"
#include "platform/dates.h"

using namespace wb;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // No byte beyond ASCII belongs to a date, nor does a broken sequence.
    const bool ascii = std::all_of(data, data + size, [](uint8_t b) { return b < 0x80; });
    if (!ascii) FUZZ_CHECK(!parseDate(text));
    if (auto d = parseDate(text)) {
        FUZZ_CHECK(isValidDate(d->year, d->month, d->day));
        FUZZ_CHECK(parseDate(formatMmDdYyyy(*d)) == d);
        FUZZ_CHECK(parseDate(formatShortDate(*d)) == d);
        FUZZ_CHECK(parseDate(formatIsoDate(*d)) == d);
        FUZZ_CHECK(dateFromSerial(dateSerial(*d)) == *d);
    }

    // The first bytes as a serial day number within a million years of the epoch.
    if (size >= sizeof(int32_t)) {
        int32_t raw;
        std::memcpy(&raw, data, sizeof raw);
        const long serial = static_cast<long>(raw) % 365'000'000L;
        const Date d = dateFromSerial(serial);
        FUZZ_CHECK(d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31);
        FUZZ_CHECK(dateSerial(d) == serial);
        FUZZ_CHECK(dateSerial(dateFromSerial(serial + 1)) == serial + 1);
        FUZZ_CHECK(dateFromSerial(serial + 1) > d);
    }
    return 0;
}
