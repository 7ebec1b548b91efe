#pragma once
// Runtime failures, numbered like the old runtime's errors.
#include <stdexcept>
#include <string>

namespace wb {

enum ErrorNumber {
    kInvalidCall = 5,        // invalid procedure call or argument
    kOverflow = 6,
    kOutOfMemory = 7,
    kSubscriptOutOfRange = 9,
    kPathNotFound = 76,
    kObjectNotSet = 91,      // object variable not set (no open database or record set)
    kTypeMismatch = 13,
    kInvalidUseOfNull = 94,
    kNoCurrentRecord = 3021,
    kRecordDeleted = 3167,
    kFieldTooSmall = 3163,   // the field is too small for the data
    kDataTypeConversion = 3464,
    kCannotOpenDatabase = 3049,
    kFileNotFound = 3024,
    kNotADatabase = 3343,
    kDiskOrNetworkError = 3043,
    kReadOnly = 3027,
    kFileLocked = 3045,
    kPrinterError = 482,     // the printer failed (no printer, a device error)
};

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const std::string& what)
        : std::runtime_error(what), number_(number) {}
    int number() const { return number_; }
private:
    int number_;
};

// Runs one step of a procedure that skips a failing step and goes on.
// Returns false when the step failed.
template <class Step>
bool skipOnFailure(Step&& step) {
    try {
        step();
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

}  // namespace wb
