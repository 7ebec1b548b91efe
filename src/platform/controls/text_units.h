#pragma once
// What a text box's editing steps over, on UTF-8 text with positions in
// characters: a line break ("\r\n") is one step, words are runs of non-blank
// characters, and the clipboard holds "\n" line breaks.
#include <string>
#include <utility>
#include <vector>

namespace wb::text_units {

// The position one step before / after pos (pos clamped to the text).
int stepBack(const std::string& text, int pos);
int stepForward(const std::string& text, int pos);
// pos clamped to the text and moved off the middle of a line break.
int snap(const std::string& text, int pos);

// The word (or run of blanks) at pos as [from, to); nothing on a line break.
std::pair<int, int> wordAt(const std::string& text, int pos);
// The start of the word before pos, and of the word after it.
int wordLeft(const std::string& text, int pos);
int wordRight(const std::string& text, int pos);

// Where each line starts, lines ending at line breaks.
std::vector<int> hardLineStarts(const std::string& text);
// The last caret position of line i (before its line break).
int lineEnd(const std::string& text, const std::vector<int>& starts, int i);
// The line holding pos.
int lineOf(const std::vector<int>& starts, int pos);

// Text as the clipboard takes it: "\r\n" becomes "\n".
std::string toClipboard(const std::string& text);
// Clipboard text as a box takes it: broken UTF-8 repaired, control characters
// other than tab dropped, line breaks as "\r\n" where the box shows several
// lines and the end of the text where it shows one; then cut to room
// characters (negative: no limit) without splitting a line break.
std::string pastable(const std::string& clip, bool severalLines, int room);

}  // namespace wb::text_units
