#include "platform/qt/qt_convert.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace wb {

namespace {

double currentScale = 1.0;

double pixelsPerTwip() { return screenPixelsPerTwip() * currentScale; }

// The old fonts have metric-compatible stand-ins on this system.
void installFontSubstitutes() {
    static const bool installed = [] {
        QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
        QFont::insertSubstitution("Arial", "Liberation Sans");
        QFont::insertSubstitution("Times New Roman", "Liberation Serif");
        QFont::insertSubstitution("Courier New", "Liberation Mono");
        return true;
    }();
    (void)installed;
}

}  // namespace

double screenPixelsPerTwip() {
    double dpi = 96.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const double logical = screen->logicalDotsPerInchY();
        if (logical > 0) dpi = logical;
    }
    return dpi / 1440.0;
}

double viewScale() { return currentScale; }

void setViewScale(double s) { currentScale = s; }

int twipsToPixels(int twips) { return static_cast<int>(std::lround(twips * pixelsPerTwip())); }

int pixelsToTwips(int pixels) { return static_cast<int>(std::lround(pixels / pixelsPerTwip())); }

QRect twipsToRect(int left, int top, int width, int height) {
    const int x = twipsToPixels(left), y = twipsToPixels(top);
    return QRect(x, y, twipsToPixels(left + width) - x, twipsToPixels(top + height) - y);
}

QRect controlRect(const Control& c) { return twipsToRect(c.left(), c.top(), c.width(), c.height()); }

QFont toQFont(const Font& f) {
    installFontSubstitutes();
    QFont font(toQString(f.name));
    if (f.size > 0) font.setPointSizeF(f.size);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    return font;
}

QFont viewFont(const Font& f) {
    QFont font = toQFont(f);
    if (f.size > 0) font.setPointSizeF(f.size * currentScale);
    return font;
}

Font fromQFont(const QFont& f) {
    Font font;
    font.name = fromQString(f.family());
    font.size = f.pointSizeF() > 0 ? f.pointSizeF() : 10.0;
    font.bold = f.bold();
    font.italic = f.italic();
    return font;
}

Qt::Alignment toQtAlignment(Alignment a) {
    switch (a) {
    case Alignment::Center: return Qt::AlignHCenter;
    case Alignment::Right: return Qt::AlignRight;
    case Alignment::Left: break;
    }
    return Qt::AlignLeft;
}

}  // namespace wb
