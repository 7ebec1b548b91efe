#pragma once
// Conversions at the Qt boundary: twips to pixels (15 twips a pixel at 96 dpi,
// scaled with the screen and by the view scale), UTF-8 text, fonts and colours
// of the models.
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <string>

#include "platform/controls/control.h"

namespace wb {

// The scale of every view: the twips and the fonts of the forms are drawn this
// many times their size (1 by default). The main window sets it from its size;
// the printouts never use it.
double viewScale();
void setViewScale(double scale);

// Pixels a twip takes on the screen at scale 1.
double screenPixelsPerTwip();
// Twips as pixels of the views, at the view scale.
int twipsToPixels(int twips);
int pixelsToTwips(int pixels);
// A rectangle in twips as pixels; each edge is converted on its own, so that
// neighbouring controls meet without gaps.
QRect twipsToRect(int left, int top, int width, int height);
QRect controlRect(const Control& c);

inline QString toQString(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
// A lone surrogate in the string becomes U+FFFD.
inline std::string fromQString(const QString& s) { return s.toUtf8().toStdString(); }

// The model's font as it is (the font dialog, the printouts' names), and as the
// views draw it, at the view scale.
QFont toQFont(const Font& f);
QFont viewFont(const Font& f);
Font fromQFont(const QFont& f);
inline QColor toQColor(unsigned rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb & 0xFFFFFFu)); }

Qt::Alignment toQtAlignment(Alignment a);

}  // namespace wb
