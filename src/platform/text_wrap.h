#pragma once
// Word wrap of a multi-line text box's text at a width, as the box itself breaks
// it into the lines it shows: hard breaks ("\r\n" or "\n") kept, words wrapped at
// blanks (a blank at a soft break stays at the end of its line), a word wider
// than the whole width broken where it no longer fits. Every soft break starts a
// line of its own; an empty text is one empty line, and a text ending in a hard
// break has an empty last line.
#include <string>
#include <vector>

#include "platform/printer.h"  // TextMetrics, Font

namespace wb {

// The lines, each without its line break. Width in twips.
std::vector<std::string> wrapTextLines(const std::string& text, double width,
                                       const Font& font, const TextMetrics& metrics);

// The number of lines (never below 1).
int wrappedLineCount(const std::string& text, double width, const Font& font,
                     const TextMetrics& metrics);

// Line `index` (zero-based) without its break; "" when there is no such line.
std::string wrappedLine(const std::string& text, double width, const Font& font,
                        const TextMetrics& metrics, int index);

// A line as copied into a buffer of `bufferLen` characters: cut to that many
// characters (nothing when the length is below 1).
std::string cutToBuffer(const std::string& line, int bufferLen);

// The whole buffer after a line was copied into it: the buffer starts as the
// character bufferLen % 256, the character bufferLen / 256 and bufferLen - 2
// blanks; the line, cut to bufferLen, overwrites its start. Fails with 5 when
// bufferLen is below 2.
std::string fillLineBuffer(const std::string& line, int bufferLen);

}  // namespace wb
