// The forms drawn at a scale on the offscreen platform (96 dpi: 15 twips a
// pixel at scale 1): the main window's size sets one factor for positions,
// sizes, fonts, the grids' rows and columns and the pictures, the form centred;
// the program opens at the scale of the desktop's font within the work area;
// the splash window and the message boxes take the scale; the printouts do not.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <cmath>
#include <memory>

#include "app/form1.h"
#include "app/form2.h"
#include "app/program.h"
#include "logic/main_window_fixture.h"
#include "platform/qt/form_window.h"
#include "platform/qt/grid_view.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_printer.h"
#include "platform/qt/window_scale.h"
#include "qt/qt_environment.h"

using namespace wb;

namespace {

void processEvents() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// Twips as pixels at 96 dpi and a scale, worked out here on their own.
int px(int twips, double scale) { return static_cast<int>(std::lround(twips / 15.0 * scale)); }

// Every test leaves the scale as it found it.
class Scaled : public ::testing::Test {
protected:
    void TearDown() override { setViewScale(1.0); }
};

class MainWindowScale : public Scaled {
protected:
    void SetUp() override {
        window = std::make_unique<FormWindow>(w.f());
        processEvents();
    }
    Form1& f() { return w.f(); }
    QWidget* view(const Control& c) { return window->viewOf(c); }
    void resize(int width, int height) {
        window->resize(width, height);
        processEvents();
        ASSERT_EQ(window->size(), QSize(width, height));
    }

    wb::testing::MainWindowFixture w;
    std::unique_ptr<FormWindow> window;
};

TEST_F(MainWindowScale, TheWholeFormScalesByOneFactorAtThreeSizes) {
    struct Size {
        int width, height;
        double scale;  // the form's 641 x 460 pixels at scale 1 fill the window's narrower way
    };
    const Size sizes[] = {{641, 460, 1.0}, {1282, 920, 2.0}, {1600, 900, 900.0 / 460}, {962, 1100, 962.0 / 641}};
    auto* grid = dynamic_cast<GridView*>(view(f().Grid1));
    ASSERT_NE(grid, nullptr);
    auto* save = qobject_cast<QPushButton*>(view(f().Command3D13));
    auto* previous = qobject_cast<QPushButton*>(view(f().Command3D17));
    ASSERT_NE(save, nullptr);
    ASSERT_NE(previous, nullptr);
    QWidget* check = view(f().Check3D1);
    const double baseFont = view(f().Text1)->font().pointSizeF();
    const int baseIcon = previous->iconSize().width();
    const int baseIndicator = check->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, check);
    const int baseScrollBar = grid->verticalScrollBar()->width();

    for (const Size& s : sizes) {
        SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
        resize(s.width, s.height);
        EXPECT_NEAR(viewScale(), s.scale, 1e-3);
        const double k = viewScale();

        // The form, centred: the main data panel's corner and the toolbar's end.
        const QPoint corner = view(f().Panel3D1)->mapTo(window.get(), QPoint(0, 0));
        EXPECT_EQ(corner, QPoint((s.width - px(9615, k)) / 2, (s.height - px(6900, k)) / 2));
        const QRect exit = view(f().Command3D16)->geometry();
        EXPECT_EQ(exit.right() + 1, px(9150 + 465, k));
        EXPECT_EQ(exit.bottom() + 1, px(6315 + 585, k));

        // A control's geometry and its font by the same factor.
        EXPECT_EQ(save->geometry(), QRect(px(7200, k), px(6315, k), px(7200 + 975, k) - px(7200, k),
                                          px(6315 + 585, k) - px(6315, k)));
        EXPECT_NEAR(save->font().pointSizeF(), f().Command3D13.font().size * k, 1e-6);
        EXPECT_EQ(view(f().Text1)->geometry(), QRect(px(75, k), px(75, k), px(75 + 810, k) - px(75, k),
                                                     px(75 + 270, k) - px(75, k)));
        EXPECT_NEAR(view(f().Text1)->font().pointSizeF() / baseFont, k, 1e-6);

        // The grid's rows, columns and scroll bar; a picture button's picture,
        // a check box's indicator.
        EXPECT_EQ(grid->cellRect(0, 0).height(), px(240, k));
        EXPECT_EQ(grid->cellRect(0, 1).left(), px(2790, k));
        EXPECT_EQ(grid->cellRect(3, 2).top(), 3 * px(240, k));
        EXPECT_NEAR(grid->verticalScrollBar()->width(), baseScrollBar * k, 1.0);
        EXPECT_NEAR(previous->iconSize().width(), baseIcon * k, 1.0);
        EXPECT_NEAR(check->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, check), baseIndicator * k, 1.0);
    }

    // Back to the size it opened at, back to scale 1.
    resize(641, 460);
    EXPECT_EQ(viewScale(), 1.0);
    EXPECT_EQ(view(f().Panel3D1)->mapTo(window.get(), QPoint(0, 0)), QPoint(0, 0));
}

TEST_F(MainWindowScale, TheWindowOpensAtTheScaleInForceAndCanBeMaximised) {
    setViewScale(1.5);
    wb::testing::MainWindowFixture other;
    FormWindow opened(other.f());
    processEvents();
    EXPECT_EQ(opened.size(), QSize(px(9615, 1.5), px(6900, 1.5)));
    EXPECT_EQ(viewScale(), 1.5);
    EXPECT_EQ(opened.viewOf(other.f().Command3D13)->width(), px(7200 + 975, 1.5) - px(7200, 1.5));
    EXPECT_LT(opened.minimumWidth(), opened.width());
    EXPECT_GT(opened.maximumWidth(), opened.width());
    EXPECT_TRUE(opened.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(Scaled, TheProgramOpensAtTheDesktopsTextSizeWithinTheWorkArea) {
    const QFont desktop = QApplication::font();
    const QStyle& style = *QApplication::style();
    const int frameWidth = 2 * frameEdgeWidth(style), frameHeight = titleBarHeight(style) + 2 * frameEdgeWidth(style);
    struct Case {
        double points;
        QRect workArea;
        double scale;  // -1: the largest that fits
    };
    const Case cases[] = {
        {9, {0, 0, 1920, 1080}, 9 / 8.25},  {8.25, {0, 0, 1024, 768}, 1.0},
        {12, {0, 0, 1920, 1080}, 12 / 8.25}, {16, {0, 0, 1024, 768}, -1},
        {9, {0, 0, 800, 600}, 9 / 8.25},     {9, {0, 0, 640, 480}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.points) + " pt on " + std::to_string(c.workArea.width()));
        QFont font = desktop;
        font.setPointSizeF(c.points);
        QApplication::setFont(font);
        const double scale = startScale(Form1::kClientWidth, Form1::kClientHeight, c.workArea);
        if (c.scale > 0) {
            EXPECT_NEAR(scale, c.scale, 1e-9);
        }
        // The window with its frame fits; where the screen limits it, a little
        // more would not.
        EXPECT_LE(px(9615, scale) + frameWidth, c.workArea.width());
        EXPECT_LE(px(6900, scale) + frameHeight, c.workArea.height());
        if (c.scale < 0) {
            EXPECT_LT(scale, c.points / 8.25);
            EXPECT_TRUE(px(9615, scale * 1.01) + frameWidth > c.workArea.width() ||
                        px(6900, scale * 1.01) + frameHeight > c.workArea.height());
        }
    }
    QApplication::setFont(desktop);
}

TEST_F(Scaled, TheSplashOpensAtTheScaleAndKeepsItsSize) {
    setViewScale(1.5);
    Services services;
    Program program(services);
    Form2 splash(program, program.settings());
    FormWindow window(splash, FormWindow::Options{{}, {}, true});
    splash.setVisible(true);
    processEvents();
    EXPECT_EQ(window.size(), QSize(px(8250, 1.5), px(5895, 1.5)));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.viewOf(splash.Picture1)->size(), QSize(px(542 * 15, 1.5), px(381 * 15, 1.5)));
    window.resize(300, 200);
    processEvents();
    EXPECT_EQ(viewScale(), 1.5);
}

TEST_F(Scaled, MessageBoxesTakeTheScale) {
    QtDialogs dialogs;
    for (double scale : {1.0, 2.0}) {
        setViewScale(scale);
        double shown = 0;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->font().pointSizeF();
                box->accept();
            }
        });
        dialogs.MsgBox("Press OK to continue", msgbox::kInformation, "No aircraft identified.");
        EXPECT_NEAR(shown, 8.25 * scale, 1e-6);
    }
}

TEST_F(Scaled, ThePrintoutsMeasureTextAsAtScaleOne) {
    QtPrinter printer(::testing::TempDir(), QtPrinter::Mode::Pdf);
    printer.setFontName("Arial");
    printer.setFontSize(18);
    printer.setFontBold(true);
    const float width = printer.TextWidth("Korrin Aviation"), height = printer.TextHeight("Korrin Aviation");
    setViewScale(2.0);
    EXPECT_EQ(printer.TextWidth("Korrin Aviation"), width);
    EXPECT_EQ(printer.TextHeight("Korrin Aviation"), height);
}

}  // namespace
