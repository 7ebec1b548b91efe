#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/qt/qt_convert.h"

namespace wb {

std::string QtClipboard::text() const {
    if (!qApp) return {};
    return fromQString(QGuiApplication::clipboard()->text());
}

void QtClipboard::setText(const std::string& text) {
    if (qApp) QGuiApplication::clipboard()->setText(toQString(text));
}

Clipboard& systemClipboard() {
    static QtClipboard clipboard;
    return clipboard;
}

}  // namespace wb
