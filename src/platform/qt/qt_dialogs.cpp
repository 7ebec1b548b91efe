#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QGridLayout>
#include <QPushButton>
#include <QSpacerItem>
#include <QStyle>
#include <cmath>

#include "platform/qt/qt_convert.h"
#include "platform/qt/window_scale.h"

namespace wb {

namespace {
// Answers the header has no name for.
constexpr int kAbort = 3, kRetry = 4, kIgnore = 5;
constexpr int kAbortRetryIgnore = 2, kRetryCancel = 5;
constexpr int kDefaultButton3 = 512;

// A dialog shows the arrow even while a form shows the hourglass.
class ArrowWhileAsking {
public:
    ArrowWhileAsking() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowWhileAsking() { QApplication::restoreOverrideCursor(); }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;
};

QWidget* dialogParent() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

// Qt sizes a message box by its text alone, so a short text under a long title
// would have the window manager cut the title. A spacer as wide as the title
// needs widens the box's layout, and so every size Qt gives the box.
void widenForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const int wanted = titleBarWidth(box.windowTitle(), *box.style());
    grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0,
                  1, grid->columnCount());
}

}  // namespace

int titleBarWidth(const QString& title, const QStyle& style) {
    const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    // The window icon on the left, minimise, maximise and close on the right,
    // each about as wide as the bar is high, and the frame's edges.
    return metrics.horizontalAdvance(title) + 4 * titleBarHeight(style) + 2 * frameEdgeWidth(style) +
           metrics.averageCharWidth() * 2;
}

QFont resolvedFont(const Font& font) {
    QFont wanted = toQFont(font);
    QFont resolved(QFontInfo(wanted).family());
    resolved.setPointSizeF(wanted.pointSizeF());
    resolved.setBold(font.bold);
    resolved.setItalic(font.italic);
    return resolved;
}

MsgBoxLayout msgBoxLayout(int style) {
    using B = QMessageBox;
    MsgBoxLayout layout;
    switch (style & 7) {
    case msgbox::kOkCancel: layout.buttons = {B::Ok, B::Cancel}; break;
    case kAbortRetryIgnore: layout.buttons = {B::Abort, B::Retry, B::Ignore}; break;
    case msgbox::kYesNoCancel: layout.buttons = {B::Yes, B::No, B::Cancel}; break;
    case msgbox::kYesNo: layout.buttons = {B::Yes, B::No}; break;
    case kRetryCancel: layout.buttons = {B::Retry, B::Cancel}; break;
    default: layout.buttons = {B::Ok}; break;
    }
    switch (style & 0x70) {
    case msgbox::kCritical: layout.icon = B::Critical; break;
    case msgbox::kQuestion: layout.icon = B::Question; break;
    case msgbox::kExclamation: layout.icon = B::Warning; break;
    case msgbox::kInformation: layout.icon = B::Information; break;
    default: break;
    }
    std::size_t which = 0;
    if ((style & 0x300) == msgbox::kDefaultButton2) which = 1;
    if ((style & 0x300) == kDefaultButton3) which = 2;
    if (which >= layout.buttons.size()) which = 0;
    layout.defaultButton = layout.buttons[which];
    // Escape answers Cancel where there is one, else No, else a lone OK.
    for (auto b : layout.buttons)
        if (b == B::Cancel || (b == B::No && layout.escapeButton == B::NoButton)) layout.escapeButton = b;
    if (layout.buttons.size() == 1) layout.escapeButton = layout.buttons[0];
    return layout;
}

int msgBoxAnswer(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Ok: return msgbox::kOk;
    case QMessageBox::Cancel: return msgbox::kCancel;
    case QMessageBox::Abort: return kAbort;
    case QMessageBox::Retry: return kRetry;
    case QMessageBox::Ignore: return kIgnore;
    case QMessageBox::Yes: return msgbox::kYes;
    case QMessageBox::No: return msgbox::kNo;
    default: return msgbox::kOk;
    }
}

QtDialogs::QtDialogs(std::function<QPrinter*()> printer) : printer_(std::move(printer)) {}

int QtDialogs::MsgBox(const std::string& text, int style, const std::string& title) {
    const MsgBoxLayout layout = msgBoxLayout(style);
    QMessageBox box(dialogParent());
    box.setFont(dialogFont());
    box.setWindowTitle(toQString(title));
    box.setText(toQString(text));
    box.setIcon(layout.icon);
    for (auto b : layout.buttons) box.addButton(b);
    box.setDefaultButton(layout.defaultButton);
    if (layout.escapeButton != QMessageBox::NoButton) box.setEscapeButton(layout.escapeButton);
    widenForTitle(box);
    ArrowWhileAsking arrow;
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked) return msgBoxAnswer(layout.escapeButton != QMessageBox::NoButton ? layout.escapeButton
                                                                                  : layout.defaultButton);
    return msgBoxAnswer(box.standardButton(clicked));
}

// The dialog lists installed families only: a preset such as "Arial" opens on
// the family that stands in for it. Confirming that same family keeps the
// preset's name, so the stored face does not change by itself; the dialog
// offers whole point sizes only, so a size it shows rounded (10.5 as 11) and
// confirmed stays as it was.
std::optional<Font> QtDialogs::chooseFont(const Font& preset) {
    ArrowWhileAsking arrow;
    const QFont shown = resolvedFont(preset);
    QFontDialog dialog(dialogParent());
    dialog.setFont(dialogFont());
    // Scalable fonts are the ones the printer and the PDF files can use.
    dialog.setOptions(QFontDialog::ScalableFonts | QFontDialog::DontUseNativeDialog);
    dialog.setCurrentFont(shown);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QFont selected = dialog.selectedFont();
    Font chosen = fromQFont(selected);
    if (selected.family() == shown.family()) chosen.name = preset.name;
    if (std::lround(selected.pointSizeF()) == std::lround(preset.size)) chosen.size = preset.size;
    return chosen;
}

std::unique_ptr<QPrintDialog> printerDialog(QPrinter& printer, QWidget* parent) {
    auto dialog = std::make_unique<QPrintDialog>(&printer, parent);
    dialog->setFont(dialogFont());
    dialog->setOption(QAbstractPrintDialog::PrintToFile, false);
    if (auto* buttons = dialog->findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(QDialog::tr("OK"));
    return dialog;
}

// The dialog only chooses the printer; the printouts print. It works on a
// scratch printer, so that Cancel leaves the printouts' printer exactly as it
// was; OK puts the chosen printer into it. With no printer installed there is
// nothing to choose: the user is told where the printouts go instead.
bool QtDialogs::choosePrinter() {
    QPrinter* printer = printer_ ? printer_() : nullptr;
    if (!printer) return false;
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        MsgBox("Each printout is saved as a PDF file, and the program says where.", msgbox::kInformation,
               "No printer is installed");
        return false;
    }
    ArrowWhileAsking arrow;
    QPrinter scratch;
    if (printer->outputFormat() == QPrinter::NativeFormat) scratch.setPrinterName(printer->printerName());
    const std::unique_ptr<QPrintDialog> dialog = printerDialog(scratch, dialogParent());
    if (dialog->exec() != QDialog::Accepted) return false;
    if (scratch.outputFormat() != QPrinter::NativeFormat || scratch.printerName().isEmpty()) return false;
    printer->setOutputFormat(QPrinter::NativeFormat);
    printer->setPrinterName(scratch.printerName());
    return true;
}

}  // namespace wb
