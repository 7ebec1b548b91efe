#pragma once
// Key and mouse events as the window system delivers them to a widget, and a
// context menu answered as a user would.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

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

// Runs the next context menu: records which items are enabled and picks one.
struct MenuPick {
    QString enabled;  // "1"/"0" a item, separators left out
    void pickNext(const QString& item) {
        QTimer::singleShot(0, [this, item] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            QAction* chosen = nullptr;
            for (QAction* a : menu->actions()) {
                if (a->isSeparator()) continue;
                enabled += a->isEnabled() ? '1' : '0';
                if (a->text() == item) chosen = a;
            }
            if (chosen && chosen->isEnabled()) {
                menu->setActiveAction(chosen);
                key(menu, Qt::Key_Return, "\r");
            } else {
                menu->close();
            }
        });
    }
};

}  // namespace wb::testing
