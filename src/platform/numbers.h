#pragma once
// Numbers as the worksheet reads and writes them: the leading-number parse,
// the number masks and number-to-text.
#include <string>

namespace wb {

// Reads the leading number of a text: blanks, tabs and line feeds ignored (also
// inside the number), optional sign, digits with at most one ".", an optional
// E or D exponent; "&H" / "&O" start a hexadecimal / octal whole number. Reading
// stops at the first other character. No leading number gives 0. A magnitude
// beyond a double's range fails with RuntimeError 6 (overflow); a tiny one gives 0.
double parseLeadingNumber(const std::string& text);

// Formats through a mask of "0" (digit always shown), "#" (digit shown only when
// significant) and "." (decimal point). Rounds half away from zero on the value's
// decimal form (15 significant digits); integer digits beyond the mask all shown;
// leading "-" (none when every digit shown is 0); no grouping. Characters other
// than "0", "#" and "." in a mask are ignored.
std::string formatMask(double value, const std::string& mask);
// The same for a single-precision value: rounds on its shortest round-trip form,
// so 1.005f shows 1.01 under "#####0.00".
std::string formatMask(float value, const std::string& mask);

// Shortest text that reads back to the same double ("1500", "0.1", "1E+20" style
// as the old runtime writes numbers).
std::string numberToText(double value);
// Shortest plain decimal that reads back to the same single, no exponent.
std::string singleToText(float value);

// True when the whole text is a number as the runtime's conversion accepts it
// (blanks around allowed); used where a text must convert or fail.
bool isNumericText(const std::string& text);

}  // namespace wb
