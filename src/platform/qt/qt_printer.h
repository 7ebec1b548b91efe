#pragma once
// The printer object on Qt: a QPrinter for the chosen printer or the system
// default (CUPS). With no printer installed, or in PDF mode, each document is
// written as a PDF file (Letter, quarter-inch margins) into a folder, named
// after the document and the minute it was started; a job on a printer carries
// the same title. Text is measured with QFontMetricsF at the printer's
// resolution and converted to twips. DrawWidth counts pixels of 1/300 inch.
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/printer.h"

class QPainter;

namespace wb {

class QtTextMetrics : public TextMetrics {
public:
    explicit QtTextMetrics(QPrinter& device) : device_(device) {}
    double textWidth(const std::string& text, const Font& font) const override;
    double textHeight(const std::string& text, const Font& font) const override;

private:
    QPrinter& device_;
};

class QtPrinter : public Printer {
public:
    enum class Mode {
        SystemOrPdf,  // the system default printer; PDF files when none is installed
        Pdf,          // always PDF files
    };

    QtPrinter(const std::string& pdfFolder, Mode mode = Mode::SystemOrPdf);
    ~QtPrinter() override;

    // "pdf:DIR" gives a printer in PDF mode writing into DIR; any other option
    // gives null.
    static std::unique_ptr<QtPrinter> fromOption(std::string_view option);

    // Prints on that printer from the next document on (the printer dialog's
    // choice). A null info goes back to PDF files.
    void usePrinter(const QPrinterInfo& info);
    // The QPrinter itself, for a QPrintDialog to set up between documents. When
    // its output format is PDF, documents still go to files in the PDF folder.
    QPrinter& qPrinter() { return *printer_; }

    bool printsToPdf() const;
    const std::string& pdfFolder() const { return pdfFolder_; }
    // The path of the last PDF file written ("" before the first).
    const std::string& lastPdfPath() const { return lastPdfPath_; }
    // The PDF files written since the last call, so that the caller can tell the
    // user once per printout.
    std::vector<std::string> takeWrittenPdfs();
    const std::vector<std::string>& documentFiles() const override { return allPdfs_; }

    float scaleTop() const override;
    float scaleWidth() const override;
    float scaleHeight() const override;
    const TextMetrics& metrics() const override { return metrics_; }

protected:
    void drawText(float x, float y, const Font& font, const std::string& text) override;
    void drawLine(float x1, float y1, float x2, float y2, int width) override;
    void drawBox(float x1, float y1, float x2, float y2, int width) override;
    void endDocument() override;

private:
    QPainter& painter();  // begins the document on first use
    void setPen(int width);
    void preparePdf();
    QString documentTitle() const;
    std::string nextPdfPath(const QString& title) const;

    std::string pdfFolder_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    QtTextMetrics metrics_;
    std::string currentPdfPath_;
    std::string lastPdfPath_;
    std::vector<std::string> writtenPdfs_;
    std::vector<std::string> allPdfs_;
};

}  // namespace wb
