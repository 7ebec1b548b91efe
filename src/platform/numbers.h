#pragma once
// Numbers as the worksheet reads and writes them: the leading-number parse,
// the number masks and number-to-text.
#include <string>
#include <string_view>

namespace wb {

// Reads the leading number of a text: blanks, tabs and line feeds ignored (also
// inside the number), optional sign, digits with at most one ".", an optional
// E or D exponent; "&H" / "&O" start a hexadecimal / octal whole number. Reading
// stops at the first other character. No leading number gives 0. A magnitude
// beyond a double's range fails with RuntimeError 6 (overflow); a tiny one gives 0.
double parseLeadingNumber(const std::string& text);
// True when that parse stops at a comma or a decimal point: the text shows more
// of a number than it reads ("1,850.5" reads 1, "1.2.3" reads 1.2).
bool leadingNumberCutShort(const std::string& text);

// Formats through a mask of "0" (digit always shown), "#" (digit shown only when
// significant) and "." (decimal point). Rounds half away from zero on the value's
// decimal form (15 significant digits); integer digits beyond the mask all shown;
// a leading "-" for every value below 0, also when every digit shown is 0
// ("-0.00", "-.0"); no grouping. Characters other than "0", "#" and "." in a
// mask are ignored.
std::string formatMask(double value, std::string_view mask);
// The same for a single-precision value, rounded on its exact value as stored:
// 1524156672.0f shows every one of its digits, 1.005f (1.00499999...) shows 1.00
// under "#####0.00".
std::string formatMask(float value, std::string_view mask);

// The runtime's text form of a double: at most 15 significant digits ("1500",
// "0.1", "0.3" for 0.1 + 0.2); "1E+20", "1.5E-07" from 1E+15 on and below 1E-05.
std::string numberToText(double value);
// The runtime's text form of a single: at most 7 significant digits, as a plain
// decimal without exponent (680.27344f gives "680.2734").
std::string singleToText(float value);

// What the leading-number parse reads from a number's text form
// (parseLeadingNumber of numberToText, or of singleToText), without making the
// text: the value rounded to 15 significant digits (a single's to 7). A value
// whose text form is beyond a double fails with RuntimeError 6 as the parse
// does; a non-finite one gives 0.
double textFormValue(double value);
double textFormValue(float value);

// True when the whole text is a number as the runtime's conversion accepts it
// (blanks around allowed); used where a text must convert or fail.
bool isNumericText(const std::string& text);

}  // namespace wb
