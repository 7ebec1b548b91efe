// Printouts of text beyond Latin-1: each character is measured and drawn with
// the report's font, or with the system's fallback font where the face has no
// glyph for it, never as a missing-glyph box.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QFont>
#include <QGlyphRun>
#include <QTemporaryDir>
#include <QTextLayout>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_printer.h"
#include "qt/qt_environment.h"

using namespace wb;

namespace {

const std::string kText = "Oil ‘topped’ — 2 € ✓ Ærø Łódź ΣΩ Жук";

// The glyphs the text is laid out in, with the fallback fonts Qt merges in.
std::vector<quint32> glyphsOf(const std::string& text, const QFont& font) {
    QTextLayout layout(toQString(text), font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    std::vector<quint32> glyphs;
    for (const QGlyphRun& run : layout.glyphRuns())
        for (quint32 g : run.glyphIndexes()) glyphs.push_back(g);
    return glyphs;
}

}  // namespace

TEST(UnicodePrint, EveryCharacterHasAGlyphInTheReportFontOrTheFallback) {
    for (const char* face : {"Arial", "Times New Roman", "MS Sans Serif"}) {
        const std::vector<quint32> glyphs = glyphsOf(kText, QFont(face, 10));
        EXPECT_FALSE(glyphs.empty()) << face;
        for (quint32 g : glyphs) EXPECT_NE(g, 0u) << face;  // glyph 0 is the missing-glyph box
    }
}

TEST(UnicodePrint, TextIsMeasuredAndPrintedAsCharacters) {
    QTemporaryDir dir;
    QtPrinter printer(dir.filePath("Printouts").toStdString(), QtPrinter::Mode::Pdf);
    const Font arial{"Arial", 10, false, false};
    const TextMetrics& metrics = printer.metrics();
    // Each of these is one character wide, not two or three bytes' worth.
    for (const char* one : {"€", "Ł", "—", "✓", "Ж"}) {
        const double width = metrics.textWidth(one, arial);
        EXPECT_GT(width, 0) << one;
        EXPECT_LT(width, 2 * metrics.textWidth("W", arial)) << one;
    }
    printer.Print(kText);
    printer.EndDoc();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(printer.lastPdfPath())));
}
