#include "platform/qt/qt_printer.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>

#include "platform/qt/qt_convert.h"

namespace wb {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kDrawWidthDpi = 300;  // one DrawWidth pixel is 1/300 inch

[[noreturn]] void printerError(const std::string& detail) {
    throw RuntimeError(kPrinterError, "Printer error: " + detail);
}

QFont qFont(const Font& font) {
    QFont f(toQString(font.name));
    f.setPointSizeF(font.size);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    return f;
}

}  // namespace

double QtTextMetrics::textWidth(const std::string& text, const Font& font) const {
    QFontMetricsF fm(qFont(font), &device_);
    return fm.horizontalAdvance(toQString(text)) * kTwipsPerInch / device_.resolution();
}

double QtTextMetrics::textHeight(const std::string&, const Font& font) const {
    QFontMetricsF fm(qFont(font), &device_);
    return fm.height() * kTwipsPerInch / device_.resolution();
}

QtPrinter::QtPrinter(const std::string& pdfFolder, Mode mode)
    : pdfFolder_(pdfFolder),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      metrics_(*printer_) {
    QPrinterInfo info;
    if (mode == Mode::SystemOrPdf) {
        info = QPrinterInfo::defaultPrinter();
        if (info.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
            info = QPrinterInfo::availablePrinters().first();
    }
    usePrinter(info);
}

QtPrinter::~QtPrinter() {
    // A document still open when the program ends is released as it stands.
    try {
        if (painter_) endDocument();
    } catch (const RuntimeError&) {
    }
}

std::unique_ptr<QtPrinter> QtPrinter::fromOption(std::string_view option) {
    constexpr std::string_view prefix = "pdf:";
    if (option.substr(0, prefix.size()) != prefix) return nullptr;
    return std::make_unique<QtPrinter>(std::string(option.substr(prefix.size())), Mode::Pdf);
}

void QtPrinter::usePrinter(const QPrinterInfo& info) {
    if (painter_) endDocument();
    if (info.isNull()) {
        preparePdf();
    } else {
        printer_->setOutputFormat(QPrinter::NativeFormat);
        printer_->setPrinterName(info.printerName());
    }
}

void QtPrinter::preparePdf() {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                        QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
}

bool QtPrinter::printsToPdf() const {
    return printer_->outputFormat() == QPrinter::PdfFormat;
}

std::vector<std::string> QtPrinter::takeWrittenPdfs() {
    std::vector<std::string> taken;
    taken.swap(writtenPdfs_);
    return taken;
}

float QtPrinter::scaleTop() const { return 0; }

float QtPrinter::scaleWidth() const {
    return static_cast<float>(printer_->pageLayout().paintRect(QPageLayout::Inch).width() *
                              kTwipsPerInch);
}

float QtPrinter::scaleHeight() const {
    return static_cast<float>(printer_->pageLayout().paintRect(QPageLayout::Inch).height() *
                              kTwipsPerInch);
}

// The document's name and the minute it was started, with the characters a
// file name cannot carry replaced: "N12ABC-logbook-entry-2026-12-10-1432".
QString QtPrinter::documentTitle() const {
    QString name = toQString(documentName()).trimmed();
    for (QChar& c : name)
        if (c.isSpace() || !c.isPrint() || QStringLiteral("/\\:*?\"<>|").contains(c)) c = '-';
    if (name.isEmpty()) name = "Printout";
    return name + "-" + QDateTime::currentDateTime().toString("yyyy-MM-dd-HHmm");
}

// A file of the same name is never overwritten: the next free "-2", "-3", ...
std::string QtPrinter::nextPdfPath(const QString& title) const {
    QDir dir(QString::fromLocal8Bit(pdfFolder_.c_str()));
    QString path = dir.filePath(title + ".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(title + "-" + QString::number(n) + ".pdf");
    return path.toLocal8Bit().toStdString();
}

QPainter& QtPrinter::painter() {
    if (painter_) return *painter_;
    currentPdfPath_.clear();
    const QString title = documentTitle();
    printer_->setDocName(title);  // the job's name in the print queue, the PDF's title
    if (printsToPdf()) {
        if (!QDir().mkpath(QString::fromLocal8Bit(pdfFolder_.c_str())))
            printerError("cannot create the folder " + pdfFolder_);
        currentPdfPath_ = nextPdfPath(title);
        printer_->setOutputFileName(QString::fromLocal8Bit(currentPdfPath_.c_str()));
    }
    auto p = std::make_unique<QPainter>();
    if (!p->begin(printer_.get())) printerError("cannot start the document");
    painter_ = std::move(p);
    return *painter_;
}

void QtPrinter::setPen(int width) {
    QPen pen(Qt::black);
    pen.setWidthF(width * printer_->resolution() / kDrawWidthDpi);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_->setPen(pen);
    painter_->setBrush(Qt::NoBrush);
}

void QtPrinter::drawText(float x, float y, const Font& font, const std::string& text) {
    QPainter& p = painter();
    if (text.empty()) return;
    const double scale = printer_->resolution() / kTwipsPerInch;
    QFont f = qFont(font);
    p.setFont(f);
    p.setPen(Qt::black);
    QFontMetricsF fm(f, printer_.get());
    p.drawText(QPointF(x * scale, y * scale + fm.ascent()), toQString(text));
}

void QtPrinter::drawLine(float x1, float y1, float x2, float y2, int width) {
    QPainter& p = painter();
    const double scale = printer_->resolution() / kTwipsPerInch;
    setPen(width);
    p.drawLine(QPointF(x1 * scale, y1 * scale), QPointF(x2 * scale, y2 * scale));
}

void QtPrinter::drawBox(float x1, float y1, float x2, float y2, int width) {
    QPainter& p = painter();
    const double scale = printer_->resolution() / kTwipsPerInch;
    setPen(width);
    p.drawRect(QRectF(QPointF(x1 * scale, y1 * scale), QPointF(x2 * scale, y2 * scale))
                   .normalized());
}

void QtPrinter::endDocument() {
    if (!painter_) return;  // nothing printed: no document to release
    std::unique_ptr<QPainter> p = std::move(painter_);
    bool ok = p->end();
    if (!ok) printerError("the document could not be finished");
    if (!currentPdfPath_.empty()) {
        lastPdfPath_ = currentPdfPath_;
        writtenPdfs_.push_back(currentPdfPath_);
        allPdfs_.push_back(currentPdfPath_);
    }
}

}  // namespace wb
