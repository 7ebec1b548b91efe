#pragma once
// A key press and release as the window system delivers them to a widget.
#include <QApplication>
#include <QKeyEvent>

namespace wb::testing {

inline void key(QWidget* w, int qtKey, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
    QApplication::sendEvent(w, &release);
}

}  // namespace wb::testing
