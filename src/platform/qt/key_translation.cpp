#include "platform/qt/key_translation.h"

#include <QList>

#include "platform/controls/control.h"
#include "platform/utf8.h"

namespace wb {

namespace {

// Key codes of the keys that are not letters or digits. Shifted symbols report
// the code of the key they are on (US layout), as the runtime does.
int namedKeyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Backspace: return keys::kBack;
    case Qt::Key_Return:
    case Qt::Key_Enter: return keys::kReturn;
    case Qt::Key_Escape: return keys::kEscape;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return keys::kPageUp;
    case Qt::Key_PageDown: return keys::kPageDown;
    case Qt::Key_End: return keys::kEnd;
    case Qt::Key_Home: return keys::kHome;
    case Qt::Key_Left: return keys::kLeft;
    case Qt::Key_Up: return keys::kUp;
    case Qt::Key_Right: return keys::kRight;
    case Qt::Key_Down: return keys::kDown;
    case Qt::Key_Insert: return keys::kInsert;
    case Qt::Key_Delete: return keys::kDelete;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 188;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater: return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 222;
    default: break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F16) return 112 + (qtKey - Qt::Key_F1);
    return 0;
}

int keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;  // 65..90
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (modifiers & Qt::KeypadModifier) ? 96 + (qtKey - Qt::Key_0) : qtKey;
    if (modifiers & Qt::KeypadModifier) {
        switch (qtKey) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period: return 110;
        case Qt::Key_Slash: return 111;
        default: break;
        }
    }
    return namedKeyCode(qtKey);
}

int keyAsciiOf(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
    if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) return keys::kReturn;
    if (qtKey == Qt::Key_Backspace) return keys::kBack;
    // Ctrl and Alt chords type nothing (Ctrl+Alt is AltGr on some systems).
    const bool ctrl = modifiers & Qt::ControlModifier, alt = modifiers & Qt::AltModifier;
    if (ctrl != alt) return -1;
    const QList<uint> chars = text.toUcs4();
    if (chars.size() != 1) return -1;
    const uint c = chars.front();
    if (!utf8::typesCharacter(c)) return -1;
    return static_cast<int>(c);
}

}  // namespace

KeyStroke translateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
    KeyStroke k;
    const bool chord = modifiers & (Qt::ControlModifier | Qt::AltModifier);
    if (!chord && (qtKey == Qt::Key_Tab || qtKey == Qt::Key_Backtab)) {
        k.tab = true;
        k.backwards = qtKey == Qt::Key_Backtab || (modifiers & Qt::ShiftModifier);
        return k;
    }
    if (modifiers & Qt::ShiftModifier) k.shift |= keys::kShiftMask;
    if (modifiers & Qt::ControlModifier) k.shift |= keys::kCtrlMask;
    if (modifiers & Qt::AltModifier) k.shift |= keys::kAltMask;
    k.keyCode = keyCodeOf(qtKey, modifiers);
    k.keyAscii = keyAsciiOf(qtKey, modifiers, text);
    return k;
}

}  // namespace wb
