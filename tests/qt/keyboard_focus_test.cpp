// The keyboard focus as the main window paints it on the offscreen platform:
// a focus frame on the focused button, picture button and check box, in the
// style's own manner, whether the focus came by a key or a click; the grid's
// current cell framed while the grid has the focus, and only then.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <memory>

#include "app/form1.h"
#include "logic/main_window_fixture.h"
#include "platform/qt/form_window.h"
#include "platform/qt/grid_view.h"
#include "qt/input_events.h"
#include "qt/qt_environment.h"

using namespace wb;

namespace {

using namespace wb::testing;

void processEvents() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// Where two pictures of one view differ, and in how many pixels.
struct Difference {
    QRect area;
    int pixels = 0;
};

Difference difference(const QImage& a, const QImage& b) {
    Difference d;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                d.area |= QRect(x, y, 1, 1);
                ++d.pixels;
            }
    return d;
}

class KeyboardFocus : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<FormWindow>(w.f());
        processEvents();
        ASSERT_TRUE(window->isVisible());
    }
    Form1& f() { return w.f(); }
    QWidget* view(const Control& c) {
        QWidget* v = window->viewOf(c);
        EXPECT_NE(v, nullptr) << c.name();
        return v;
    }
    void focus(Control& c) {
        window->deliver([&] { f().userFocus(c); });
        processEvents();
    }
    QImage look(const Control& c) {
        processEvents();
        return view(c)->grab().toImage();
    }
    // What the focus adds to a control: a frame around the whole button, or
    // around a check box's caption, at least as many pixels as an outline.
    void expectFocusFrame(Control& c, const QImage& without, bool wholeControl) {
        SCOPED_TRACE(c.name());
        EXPECT_EQ(QApplication::focusWidget(), view(c));
        const Difference d = difference(without, look(c));
        const QSize size = view(c)->size();
        EXPECT_GE(d.pixels, d.area.width() + d.area.height());
        EXPECT_GE(d.area.width(), size.width() * (wholeControl ? 9 : 3) / 10);
        EXPECT_GE(d.area.height(), size.height() / 2);
    }

    MainWindowFixture w;
    std::unique_ptr<FormWindow> window;
};

TEST_F(KeyboardFocus, ButtonsPictureButtonsAndCheckBoxesShowAFocusFrame) {
    f().Panel3D7.setVisible(true);  // the set-up panel with its check boxes
    processEvents();
    for (Control* c : std::initializer_list<Control*>{&f().Command3D13, &f().Command3D17, &f().Command3D28,
                                                      &f().Check3D1, &f().Check3D4}) {
        focus(f().Text1);
        const QImage without = look(*c);
        focus(*c);
        expectFocusFrame(*c, without, dynamic_cast<CommandButton*>(c) != nullptr);
        focus(f().Text1);
        EXPECT_EQ(look(*c), without) << c->name() << ": the frame goes with the focus";
    }
}

// The keys that reach these controls unseen before: Enter along the set-up
// panel's ring onto a check box, Tab onto a toolbar button, and the focus a
// click leaves on a button, where a stray Enter would press it again.
TEST_F(KeyboardFocus, TheFocusShowsWhereKeysAndClicksLeaveIt) {
    f().Panel3D7.setVisible(true);
    processEvents();
    const QImage check = look(f().Check3D1);
    focus(f().Text26);
    key(view(f().Text26), Qt::Key_Return, "\r");
    ASSERT_EQ(f().focused(), &f().Check3D1);
    expectFocusFrame(f().Check3D1, check, false);

    const QImage next = look(f().Command3D16);
    focus(f().Command3D19);
    for (int i = 0; i < 20 && f().focused() != &f().Command3D16; ++i)
        key(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(f().focused(), &f().Command3D16);
    expectFocusFrame(f().Command3D16, next, true);

    focus(f().Text1);
    const QImage about = look(f().Command3D26);
    click(view(f().Command3D26));
    processEvents();
    ASSERT_EQ(f().focused(), &f().Command3D26);
    ASSERT_TRUE(f().Panel3D4.visible());
    expectFocusFrame(f().Command3D26, about, true);
}

// The frame is two pixels of the text colour along the cell's edges; it shows
// on the cell the keys edit and follows it, and it is gone when the grid loses
// the focus.
TEST_F(KeyboardFocus, TheGridFramesItsCurrentCellWhileItHasTheFocus) {
    auto* grid = dynamic_cast<GridView*>(view(f().Grid1));
    ASSERT_NE(grid, nullptr);
    const QColor text = grid->palette().color(QPalette::Text);
    // Pixels of the text colour on the two outer rings of a cell.
    const auto framed = [&](int row, int col) {
        processEvents();
        const QImage image = grid->viewport()->grab().toImage();
        const QRect cell = grid->cellRect(row, col);
        int on = 0, all = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const int inset = std::min({x - cell.left(), cell.right() - x, y - cell.top(), cell.bottom() - y});
                if (inset > 1) continue;
                ++all;
                on += image.pixelColor(x, y) == text;
            }
        return static_cast<double>(on) / all;
    };

    focus(f().Text1);
    f().Grid1.setRowText(1, "Seat\t\t12.50\t40.00\t500.0\tX\t");
    for (int r = 0; r < 3; ++r) EXPECT_LT(framed(r, 2), 0.2) << "row " << r << " framed without the focus";

    click(grid->viewport(), grid->cellRect(1, 2).center());
    ASSERT_EQ(QApplication::focusWidget(), grid);
    EXPECT_EQ(framed(1, 2), 1.0);  // the whole frame, over the selection's highlight too
    key(grid, Qt::Key_Down);
    EXPECT_EQ(framed(2, 2), 1.0);
    EXPECT_LT(framed(1, 2), 0.2);

    focus(f().Text1);
    EXPECT_LT(framed(2, 2), 0.2);

    // Entered by Tab, as from the header boxes.
    focus(f().Text7);
    for (int i = 0; i < 30 && f().focused() != &f().Grid1; ++i) key(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(f().focused(), &f().Grid1);
    EXPECT_EQ(framed(f().Grid1.row(), f().Grid1.col()), 1.0);
}

}  // namespace
