#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>

#include "platform/qt/qt_printer.h"

using namespace wb;

namespace {

class QtPrinterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "qt_printer_test";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
    QTemporaryDir dir;
    std::string folder() const { return dir.filePath("Printouts").toStdString(); }
};

}  // namespace

TEST_F(QtPrinterTest, PdfModeWritesEachDocumentToItsOwnFile) {
    auto printer = QtPrinter::fromOption("pdf:" + folder());
    ASSERT_NE(printer, nullptr);
    EXPECT_TRUE(printer->printsToPdf());
    EXPECT_EQ(printer->lastPdfPath(), "");

    // Letter with quarter-inch margins, as the layouts assume.
    EXPECT_NEAR(printer->scaleWidth(), 11520, 1);
    EXPECT_NEAR(printer->scaleHeight(), 15120, 1);
    EXPECT_EQ(printer->scaleTop(), 0);

    printer->setScaleMode(1);
    printer->setCurrentY(50);
    printer->setFontSize(18);
    printer->setFontBold(true);
    printer->setCurrentX((printer->scaleWidth() - printer->TextWidth("Shop")) / 2);
    printer->Print("Shop");
    printer->setDrawWidth(4);
    printer->Line(100, 1000, 11510, 1000);
    printer->setDrawWidth(1);
    printer->Box(100, 1100, 11510, 3000);
    printer->EndDoc();

    std::string first = printer->lastPdfPath();
    ASSERT_FALSE(first.empty());
    QFileInfo file(QString::fromStdString(first));
    EXPECT_TRUE(file.exists());
    EXPECT_GT(file.size(), 0);
    EXPECT_EQ(file.absolutePath(), QDir(QString::fromStdString(folder())).absolutePath());

    printer->Print("second document");
    printer->EndDoc();
    std::string second = printer->lastPdfPath();
    EXPECT_NE(second, first);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(second)));
    EXPECT_EQ(printer->takeWrittenPdfs(), (std::vector<std::string>{first, second}));
    EXPECT_TRUE(printer->takeWrittenPdfs().empty());
}

TEST_F(QtPrinterTest, EndDocWithNothingPrintedWritesNoFile) {
    QtPrinter printer(folder(), QtPrinter::Mode::Pdf);
    printer.EndDoc();
    EXPECT_EQ(printer.lastPdfPath(), "");
    EXPECT_TRUE(printer.takeWrittenPdfs().empty());
}

TEST_F(QtPrinterTest, RealFontMetricsInTwips) {
    QtPrinter printer(folder(), QtPrinter::Mode::Pdf);
    printer.setFontName("Arial");
    printer.setFontSize(10);
    float height10 = printer.TextHeight("X");
    // A 10-point line is a little over 200 twips (10 pt = 200 twips).
    EXPECT_GT(height10, 200);
    EXPECT_LT(height10, 300);
    float narrow = printer.TextWidth("iiii");
    float wide = printer.TextWidth("WWWW");
    EXPECT_GT(narrow, 0);
    EXPECT_GT(wide, narrow * 2);
    printer.setFontSize(20);
    EXPECT_NEAR(printer.TextWidth("WWWW"), wide * 2, wide * 0.1);
    printer.setFontBold(true);
    EXPECT_GT(printer.TextWidth("WWWW"), 0);
    // Advancing the print position uses the same measure.
    printer.setCurrentX(100);
    printer.PrintSameLine("abc");
    EXPECT_FLOAT_EQ(printer.currentX(), 100 + printer.TextWidth("abc"));
}

TEST_F(QtPrinterTest, AFolderThatCannotBeMadeIsAPrinterError) {
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QtPrinter printer(dir.filePath("file/sub").toStdString(), QtPrinter::Mode::Pdf);
    try {
        printer.Print("x");
        FAIL() << "printing succeeded";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), kPrinterError);
    }
    printer.EndDoc();  // no document is open: nothing to release, no failure
    EXPECT_EQ(printer.lastPdfPath(), "");
}

TEST(QtPrinterOption, OnlyPdfOptionsMakeAPrinter) {
    EXPECT_EQ(QtPrinter::fromOption("record"), nullptr);
    EXPECT_EQ(QtPrinter::fromOption(""), nullptr);
}

TEST_F(QtPrinterTest, WithoutAnInstalledPrinterDocumentsBecomePdfFiles) {
    QtPrinter printer(folder());
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        EXPECT_TRUE(printer.printsToPdf());
        printer.Print("x");
        printer.EndDoc();
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(printer.lastPdfPath())));
    }
    // Going back from a chosen printer to PDF files.
    printer.usePrinter(QPrinterInfo());
    EXPECT_TRUE(printer.printsToPdf());
}
