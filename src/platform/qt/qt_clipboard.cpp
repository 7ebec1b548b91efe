#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace wb {

std::string QtClipboard::text() const {
    if (!qApp) return {};
    return QGuiApplication::clipboard()->text().toUtf8().toStdString();
}

void QtClipboard::setText(const std::string& text) {
    if (qApp) QGuiApplication::clipboard()->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

Clipboard& systemClipboard() {
    static QtClipboard clipboard;
    return clipboard;
}

}  // namespace wb
