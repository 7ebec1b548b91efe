#pragma once
// A Qt key event as the runtime delivers it: Tab moves the focus; every other
// key is a KeyDown with the runtime's key code and shift state, and a character
// key (Enter and Backspace included) is also a KeyPress with its character's
// code point (any Unicode character).
#include <QString>
#include <Qt>

namespace wb {

struct KeyStroke {
    bool tab = false;       // Tab or Shift+Tab: the focus moves, nothing else
    bool backwards = false;
    int keyCode = 0;        // KeyDown code; 0 for a key the runtime has no code for
    int shift = 0;          // keys::kShiftMask | kCtrlMask | kAltMask
    int keyAscii = -1;      // KeyPress code; -1 when the key types no character
};

KeyStroke translateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

}  // namespace wb
