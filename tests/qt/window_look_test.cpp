// What the user sees of the main window and the splash window on the offscreen
// platform: a picture of its own and a tooltip on every picture button, yellow
// captions that can be read, and a splash picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "app/form1.h"
#include "app/form2.h"
#include "app/program.h"
#include "logic/main_window_fixture.h"
#include "platform/qt/form_window.h"
#include "qt/qt_environment.h"

using namespace wb;

namespace {

void processEvents() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// WCAG 2 relative luminance and contrast ratio.
double luminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour most pixels of the image have.
QColor commonest(const QImage& image) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
    auto most = std::max_element(counts.begin(), counts.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    return QColor::fromRgb(most->first);
}

class MainWindowLook : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<FormWindow>(w.f());
        processEvents();
    }
    Form1& f() { return w.f(); }
    QWidget* view(const Control& c) {
        QWidget* v = window->viewOf(c);
        EXPECT_NE(v, nullptr) << c.name();
        return v;
    }
    // The text and ground colours the view's palette gives the control.
    std::pair<QColor, QColor> colours(const Control& c) {
        QWidget* v = view(c);
        const bool button = qobject_cast<QPushButton*>(v) != nullptr;
        const QPalette& p = v->palette();
        return {p.color(QPalette::Active, button ? QPalette::ButtonText : QPalette::WindowText),
                p.color(QPalette::Active, button ? QPalette::Button : QPalette::Window)};
    }

    wb::testing::MainWindowFixture w;
    std::unique_ptr<FormWindow> window;
};

TEST_F(MainWindowLook, EveryPictureButtonHasAPictureOfItsOwnAndATooltip) {
    const CommandButton* pictureButtons[] = {
        &f().Command3D17, &f().Command3D16, &f().Command3D23, &f().Command3D27,
        &f().Command3D26, &f().Command3D14, &f().Command3D32, &f().Command3D29,
    };
    std::vector<QImage> pictures;
    std::set<QString> tips;
    for (const CommandButton* b : pictureButtons) {
        auto* button = qobject_cast<QPushButton*>(view(*b));
        ASSERT_NE(button, nullptr) << b->name();
        ASSERT_FALSE(button->icon().isNull()) << b->name();
        pictures.push_back(button->icon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32));
        EXPECT_FALSE(button->toolTip().isEmpty()) << b->name();
        tips.insert(button->toolTip());
    }
    EXPECT_EQ(tips.size(), std::size(pictureButtons));  // each names its own action

    // Any two pictures differ in at least a tenth of their pixels.
    for (size_t i = 0; i < pictures.size(); ++i)
        for (size_t j = i + 1; j < pictures.size(); ++j) {
            int differing = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) differing += pictures[i].pixel(x, y) != pictures[j].pixel(x, y);
            EXPECT_GT(differing, 32 * 32 / 10)
                << pictureButtons[i]->name() << " and " << pictureButtons[j]->name() << " look alike";
        }

    // No picture button anywhere is left without its tooltip.
    for (Control* c : f().controls()) {
        if (auto* b = dynamic_cast<CommandButton*>(c); b && !b->picture().empty()) {
            EXPECT_FALSE(view(*b)->toolTip().isEmpty()) << b->name();
        }
    }
}

TEST_F(MainWindowLook, YellowCaptionsAndTheLegendStandOutFromTheirGround) {
    const Control* yellow[] = {
        &f().Command3D1,  &f().Command3D2,  &f().Command3D3,  &f().Command3D4,   // over the change list
        &f().Command3D34, &f().Command3D37, &f().Command3D36, &f().Command3D35,  // over the equipment list
        &f().Label23,                                                            // the legend
    };
    f().Panel3D6.setVisible(true);  // the equipment list's captions are drawn only when shown
    processEvents();
    for (const Control* c : yellow) {
        const auto [text, ground] = colours(*c);
        EXPECT_EQ(text, QColor(Qt::yellow)) << c->name();
        EXPECT_GE(contrast(text, ground), 4.5) << c->name();
        // What is drawn: the ground most of the control shows.
        const QColor drawn = commonest(view(*c)->grab().toImage());
        EXPECT_GE(contrast(text, drawn), 4.5) << c->name() << " drawn on " << drawn.name().toStdString();
    }
}

TEST_F(MainWindowLook, RedAndBlueCaptionsStillRead) {
    const Control* others[] = {&f().Command3D7, &f().Command3D22, &f().Command3D5, &f().Command3D6[0],
                               &f().Label24,    &f().Label25,     &f().Command3D6[1]};
    for (const Control* c : others) {
        const auto [text, ground] = colours(*c);
        EXPECT_NE(text, QColor(Qt::yellow)) << c->name();
        EXPECT_GE(contrast(text, ground), 3.0) << c->name();
    }
}

TEST(SplashLook, ThePictureAreaShowsAPicture) {
    Services services;
    Program program(services);
    Form2 splash(program, program.settings());
    FormWindow window(splash, FormWindow::Options{{}, {}, true});
    splash.setVisible(true);
    processEvents();

    QWidget* picture = window.viewOf(splash.Picture1);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->size(), QSize(542, 381));
    const QImage image = picture->grab().toImage();
    std::set<QRgb> colours;
    int light = 0, dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            colours.insert(c.rgb());
            (c.lightness() > 200 ? light : dark)++;
        }
    EXPECT_GT(colours.size(), 50u);  // not a blank box
    // Light lines and lettering on a darker ground, the ground filling most of it.
    EXPECT_GT(light, 500);
    EXPECT_GT(dark, light);
}

}  // namespace
