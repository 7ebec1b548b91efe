// Printouts are easy to find: each document is named after the aircraft and the
// report, a PDF file never replaces another, and a job on a real printer carries
// the same title. The last test prints through CUPS on a cups-pdf queue and
// skips itself where there is none.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>

#include "app/form1.h"
#include "logic/main_window_fixture.h"
#include "platform/qt/qt_printer.h"
#include "platform/recording_printer.h"
#include "qt/qt_environment.h"

using namespace wb;

namespace {

QString fileName(const std::string& path) { return QFileInfo(QString::fromStdString(path)).fileName(); }

void printOnePage(Printer& printer, const std::string& name, const std::string& text) {
    printer.setDocumentName(name);
    printer.Print(text);
    printer.EndDoc();
}

TEST(PdfNames, NameAircraftReportAndMinuteAndNeverReplaceOneAnother) {
    QTemporaryDir dir;
    QtPrinter printer(dir.path().toStdString(), QtPrinter::Mode::Pdf);
    printOnePage(printer, "N12ABC-logbook-entry", "first");
    // The PDF's own title, a job's name, is the file's name.
    EXPECT_EQ(printer.qPrinter().docName() + ".pdf", fileName(printer.lastPdfPath()));
    printOnePage(printer, "N12ABC-logbook-entry", "second");
    printOnePage(printer, "N12ABC-logbook-entry", "third");
    const std::vector<std::string> files = printer.takeWrittenPdfs();
    ASSERT_EQ(files.size(), 3u);

    const QRegularExpression named(R"(^N12ABC-logbook-entry-(\d{4}-\d{2}-\d{2}-\d{4})(-[23])?\.pdf$)");
    const QRegularExpressionMatch first = named.match(fileName(files[0]));
    ASSERT_TRUE(first.hasMatch()) << files[0];
    const QDateTime stamp = QDateTime::fromString(first.captured(1), "yyyy-MM-dd-HHmm");
    EXPECT_LE(std::abs(stamp.secsTo(QDateTime::currentDateTime())), 120);
    for (const std::string& f : files) {
        EXPECT_TRUE(named.match(fileName(f)).hasMatch()) << f;
        EXPECT_TRUE(QFileInfo(QString::fromStdString(f)).size() > 0) << f;
    }
    // Each document has a file of its own (the same minute gives -2, -3).
    EXPECT_NE(files[0], files[1]);
    EXPECT_NE(files[1], files[2]);
    EXPECT_NE(files[0], files[2]);
}

TEST(PdfNames, CharactersAFileNameCannotCarryBecomeDashes) {
    QTemporaryDir dir;
    QtPrinter printer(dir.path().toStdString(), QtPrinter::Mode::Pdf);
    struct Case {
        std::string name;
        QString stem;
    } cases[] = {
        {"N/12 AB-weight-and-balance-report", "N-12-AB-weight-and-balance-report-"},
        {"  N12*?-logbook-entry ", "N12---logbook-entry-"},
        {"", "Printout-"},
    };
    for (const Case& c : cases) {
        printOnePage(printer, c.name, "x");
        const QString name = fileName(printer.lastPdfPath());
        EXPECT_TRUE(name.startsWith(c.stem)) << c.name << " gave " << name.toStdString();
        EXPECT_EQ(QFileInfo(QString::fromStdString(printer.lastPdfPath())).absolutePath(), QDir(dir.path()).absolutePath());
    }
}

// Each print button names its document after the tail number, as shown, and
// its report.
TEST(PdfNames, EachPrintButtonNamesItsReport) {
    wb::testing::MainWindowFixture w;
    RecordingPrinter printer;
    w.services.printer = &printer;
    Form1& f = w.f();
    struct Case {
        CommandButton& button;
        std::string tail;
        std::string name;
    } cases[] = {
        {f.Command3D27, "N12ABC", "N12ABC-logbook-entry"},
        {f.Command3D14, " N7 ", "N7-equipment-change-report"},
        {f.Command3D32, "", "weight-and-balance-report"},
    };
    f.Panel3D6.setVisible(true);  // the weight-and-balance report's button is on the CG panel
    for (const Case& c : cases) {
        f.Text1.setText(c.tail);
        c.button.userClick();
        EXPECT_EQ(printer.documentName(), c.name);
    }
}

// Where cups-pdf writes its files: the "Out" folder of its settings.
QString cupsPdfFolder() {
    QString folder = QDir::home().filePath("PDF");
    QFile conf("/etc/cups/cups-pdf.conf");
    if (conf.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : conf.readAll().split('\n')) {
            const QString l = QString::fromUtf8(line).trimmed();
            if (l.startsWith("Out ")) folder = l.mid(4).trimmed().replace("${HOME}", QDir::homePath());
        }
    }
    return folder;
}

TEST(RealPrinter, AJobOnACupsPdfQueueCarriesTheDocumentTitle) {
    QPrinterInfo queue;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        if (info.makeAndModel().contains("CUPS-PDF", Qt::CaseInsensitive)) queue = info;
    if (queue.isNull()) GTEST_SKIP() << "no CUPS scheduler with a cups-pdf printer here";

    QTemporaryDir ownFiles;
    QtPrinter printer(ownFiles.path().toStdString(), QtPrinter::Mode::Pdf);
    printer.usePrinter(queue);
    ASSERT_FALSE(printer.printsToPdf());

    const std::string title = "WBTEST" + QUuid::createUuid().toString(QUuid::Id128).left(8).toStdString() +
                              "-logbook-entry";
    printer.setFontSize(14);
    printOnePage(printer, title, "Logbook entry through CUPS");
    EXPECT_TRUE(printer.documentFiles().empty());  // the queue printed it, not the PDF fallback

    // cups-pdf names its file after the job's title.
    const QDir out(cupsPdfFolder());
    QElapsedTimer waited;
    waited.start();
    QStringList found;
    while (found.isEmpty() && waited.elapsed() < 30000) {
        QThread::msleep(200);
        found = out.entryList({QString::fromStdString(title) + "*.pdf"}, QDir::Files);
    }
    ASSERT_FALSE(found.isEmpty()) << "no file of the job in " << out.path().toStdString();
    EXPECT_TRUE(found.front().startsWith(QString::fromStdString(title) + "-" +
                                         QDateTime::currentDateTime().toString("yyyy-MM-dd")))
        << found.front().toStdString();
    EXPECT_GT(QFileInfo(out.filePath(found.front())).size(), 0);
    for (const QString& f : found) QFile::remove(out.filePath(f));
}

}  // namespace
