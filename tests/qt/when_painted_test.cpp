// Work that waits for a window's first painting, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <memory>

#include "platform/qt/when_painted.h"
#include "qt/qt_environment.h"

using namespace wb;

namespace {

// A window that counts its paintings; `paintedWhenCalled` is what the count
// was when the waiting work ran (-1: it never ran).
struct CountingWindow : QWidget {
    int paints = 0;
    int calls = 0;
    int paintedWhenCalled = -1;
    CountingWindow() { resize(200, 100); }
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::white);
        ++paints;
    }
    std::function<void()> work() {
        return [this] {
            ++calls;
            paintedWhenCalled = paints;
        };
    }
};

void processEvents() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

TEST(WhenPainted, RunsTheWorkOnceFromTheEventLoopAfterTheWindowsPainting) {
    for (const bool onScreen : {true, false}) {
        SCOPED_TRACE(onScreen ? "a window on screen" : "a window not yet shown");
        CountingWindow w;
        if (onScreen) {
            w.show();
            processEvents();
        }
        whenPainted(w, w.work());
        EXPECT_EQ(w.calls, 0);  // never inside the call
        if (!onScreen) {
            processEvents();
            EXPECT_EQ(w.calls, 0);  // nor before the window is shown
        }
        for (int i = 0; i < 2; ++i) {
            w.hide();
            w.show();
            processEvents();
        }
        EXPECT_EQ(w.calls, 1);
        EXPECT_GE(w.paintedWhenCalled, 1);
    }
}

TEST(WhenPainted, AWindowThatGoesFirstRunsNothing) {
    int calls = 0;
    auto w = std::make_unique<QWidget>();
    whenPainted(*w, [&] { ++calls; });
    w.reset();
    processEvents();
    auto shown = std::make_unique<QWidget>();
    shown->show();
    processEvents();
    whenPainted(*shown, [&] { ++calls; });
    shown.reset();
    processEvents();
    EXPECT_EQ(calls, 0);
}

}  // namespace
