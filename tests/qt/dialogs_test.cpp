// The real Qt dialogs on the offscreen platform, each inspected and answered
// while it is on screen: message boxes wide enough for their titles, the font
// dialog opening on the face that stands in for the preset, and the printer
// dialog that only chooses.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_printer.h"
#include "qt/qt_environment.h"

using namespace wb;

namespace {

// Runs act on the dialog of type D once it is the visible modal window.
template <class D>
void whenShown(std::function<void(D&)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        act(*dialog);
    });
    poll->start(10);
}

QStringList lineEditTexts(const QWidget& w) {
    QStringList texts;
    for (const QLineEdit* edit : w.findChildren<QLineEdit*>()) texts << edit->text();
    return texts;
}

QPushButton* okButton(const QWidget& dialog) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    return buttons ? buttons->button(QDialogButtonBox::Ok) : nullptr;
}

TEST(MessageBoxes, AreWideEnoughForTheirWholeTitleAndTheTitleBarButtons) {
    const QFontMetrics titleFont(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    const char* titles[] = {
        "No date entered",
        "Search Result",
        "Weight & Balance on screen not saved",
        "Not saved: the settings file SetupVASK.MDB cannot be used",
        "No records: no record database is open",
    };
    QtDialogs dialogs;
    for (const char* title : titles) {
        int width = 0, needed = 0;
        QString shownTitle;
        whenShown<QMessageBox>([&](QMessageBox& box) {
            shownTitle = box.windowTitle();
            width = box.width();
            // The title, then at least three buttons as wide as the bar is high.
            needed = titleFont.horizontalAdvance(box.windowTitle()) +
                     3 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight);
            box.defaultButton()->click();
        });
        EXPECT_EQ(dialogs.MsgBox("Press OK to continue", msgbox::kInformation, title), msgbox::kOk);
        EXPECT_EQ(shownTitle, title);
        EXPECT_GE(width, needed) << title;
    }
}

TEST(MessageBoxes, ALongTextKeepsItsOwnWidth) {
    QtDialogs dialogs;
    const QString text = QString("The printout was saved as the PDF file ") + QString(60, 'x');
    int width = 0;
    whenShown<QMessageBox>([&](QMessageBox& box) {
        width = box.width();
        box.defaultButton()->click();
    });
    dialogs.MsgBox(text.toStdString(), msgbox::kInformation, "Printing");
    EXPECT_GT(width, QFontMetrics(QApplication::font()).horizontalAdvance(QString(60, 'x')));
}

struct FontCase {
    Font preset;
    QString family;  // the installed face the dialog shows
    QString style;
    QString size;
};

class FontDialogPreset : public ::testing::TestWithParam<FontCase> {};

TEST_P(FontDialogPreset, OpensOnTheStandInFaceAndOkKeepsThePreset) {
    const FontCase& c = GetParam();
    QtDialogs dialogs;
    QStringList shown;
    QFont current;
    whenShown<QFontDialog>([&](QFontDialog& dialog) {
        shown = lineEditTexts(dialog);
        current = dialog.currentFont();
        okButton(dialog)->click();
    });
    const std::optional<Font> chosen = dialogs.chooseFont(c.preset);

    EXPECT_TRUE(shown.contains(c.family)) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.contains(c.style)) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.contains(c.size)) << shown.join(" | ").toStdString();
    EXPECT_EQ(QFontInfo(current).family(), c.family);
    EXPECT_EQ(current.bold(), c.preset.bold);
    EXPECT_EQ(current.italic(), c.preset.italic);
    ASSERT_TRUE(chosen.has_value());
    // OK without a change keeps the face, the size (10.5 too, which the dialog
    // can only show as 11) and the style.
    EXPECT_EQ(chosen->name, c.preset.name);
    EXPECT_EQ(chosen->size, c.preset.size);
    EXPECT_EQ(chosen->bold, c.preset.bold);
    EXPECT_EQ(chosen->italic, c.preset.italic);
}

INSTANTIATE_TEST_SUITE_P(
    Presets, FontDialogPreset,
    ::testing::Values(FontCase{Font{"Arial", 18, true, false}, "Liberation Sans", "Bold", "18"},
                      FontCase{Font{"Times New Roman", 10.5, false, true}, "Liberation Serif", "Italic", "11"},
                      FontCase{Font{"Liberation Mono", 12, true, true}, "Liberation Mono", "Bold Italic", "12"}));

TEST(FontDialog, AnotherFaceChosenIsStoredByItsOwnName) {
    QtDialogs dialogs;
    whenShown<QFontDialog>([](QFontDialog& dialog) {
        QFont other("DejaVu Serif");
        other.setPointSize(14);
        dialog.setCurrentFont(other);
        okButton(dialog)->click();
    });
    const std::optional<Font> chosen = dialogs.chooseFont(Font{"Arial", 18, true, false});
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->name, "DejaVu Serif");
    EXPECT_EQ(chosen->size, 14);
    EXPECT_FALSE(chosen->bold);
}

TEST(FontDialog, CancelChoosesNothing) {
    QtDialogs dialogs;
    whenShown<QFontDialog>([](QFontDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(dialogs.chooseFont(Font{"Arial", 18, true, false}).has_value());
}

TEST(PrinterDialog, ConfirmsWithOkAndOffersNoPrintToFile) {
    QPrinter printer;
    const std::unique_ptr<QPrintDialog> dialog = printerDialog(printer, nullptr);
    QPushButton* ok = okButton(*dialog);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    dialog->show();  // the entries are filled in when it is shown
    QApplication::processEvents();
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintToFile));
    for (const QComboBox* combo : dialog->findChildren<QComboBox*>())
        for (int i = 0; i < combo->count(); ++i)
            EXPECT_FALSE(combo->itemText(i).contains("File", Qt::CaseInsensitive)) << combo->itemText(i).toStdString();
    dialog->reject();
}

// OK makes the printer shown in the dialog the printouts' printer, and Cancel
// leaves it as it was; with no printer installed the user is told where the
// printouts go instead.
TEST(PrinterDialog, OkChoosesThePrinterShownAndCancelChangesNothing) {
    QTemporaryDir dir;
    QtPrinter printer(dir.path().toStdString(), QtPrinter::Mode::Pdf);
    QtDialogs dialogs([&printer] { return &printer.qPrinter(); });
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        QString title;
        whenShown<QMessageBox>([&](QMessageBox& box) {
            title = box.windowTitle();
            box.defaultButton()->click();
        });
        EXPECT_FALSE(dialogs.choosePrinter());
        EXPECT_EQ(title, "No printer is installed");
        EXPECT_TRUE(printer.printsToPdf());
        return;
    }
    whenShown<QPrintDialog>([](QPrintDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(dialogs.choosePrinter());
    EXPECT_TRUE(printer.printsToPdf());

    QString shown;
    whenShown<QPrintDialog>([&](QPrintDialog& dialog) {
        if (auto* combo = dialog.findChild<QComboBox*>()) shown = combo->currentText();
        okButton(dialog)->click();
    });
    EXPECT_TRUE(dialogs.choosePrinter());
    EXPECT_FALSE(printer.printsToPdf());
    EXPECT_EQ(printer.qPrinter().printerName(), shown);
}

}  // namespace
