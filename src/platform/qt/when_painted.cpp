#include "platform/qt/when_painted.h"

#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <utility>

namespace wb {

namespace {

// Watches the window's exposure. An exposure is painted while it is handled,
// so a call posted on seeing it runs once the painting is done.
class FirstExposure : public QObject {
public:
    FirstExposure(QWidget& window, std::function<void()> then)
        : QObject(&window), window_(window), then_(std::move(then)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && then_ && static_cast<QWindow*>(watched)->isExposed()) {
            QTimer::singleShot(0, &window_, std::exchange(then_, nullptr));
            deleteLater();
        }
        return false;
    }

private:
    QWidget& window_;
    std::function<void()> then_;
};

}  // namespace

void whenPainted(QWidget& window, std::function<void()> then) {
    window.winId();  // makes the native window when it has none yet
    QWindow* handle = window.windowHandle();
    if (handle->isExposed()) {
        window.repaint();
        QTimer::singleShot(0, &window, std::move(then));
        return;
    }
    handle->installEventFilter(new FirstExposure(window, std::move(then)));
}

}  // namespace wb
