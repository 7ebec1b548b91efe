#pragma once
// Key and mouse events as the window system delivers them to a widget.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace wb::testing {

inline void key(QWidget* w, int qtKey, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
    QApplication::sendEvent(w, &release);
}

// Each character as the keyboard sends it (a sign beyond ASCII has no key code).
inline void type(QWidget* w, const QString& chars) {
    for (QChar c : chars) key(w, c.unicode() < 128 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown), QString(c));
}

// A press, move or release of the left button (held as buttons says).
inline void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void click(QWidget* w, QPoint at) {
    mouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, at, Qt::NoButton);
}

inline void click(QWidget* w) { click(w, w->rect().center()); }

}  // namespace wb::testing
