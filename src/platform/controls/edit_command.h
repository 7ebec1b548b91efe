#pragma once
// The edit commands of a text box's or a grid's context menu, and the key
// chords that reach them: Ctrl+A select all, Ctrl+C or Ctrl+Insert copy,
// Ctrl+X or Shift+Delete cut, Ctrl+V or Shift+Insert paste, Ctrl+Z undo.
#include <optional>

namespace wb {

enum class EditCommand { Undo, Cut, Copy, Paste, Delete, SelectAll };

// The command a key chord stands for (KeyDown code and shift state); none for
// any other key, and none while Alt is held.
std::optional<EditCommand> editChord(int keyCode, int shift);

}  // namespace wb
