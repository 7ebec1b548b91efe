// The program on Qt: the Qt dialogs, the system clock, the SQLite engine and the
// Qt printer as services; a window for every form the program loads. The
// working folder is the folder the program was started from.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QScreen>
#include <QSessionManager>
#include <memory>

#include "app/form1.h"
#include "app/form2.h"
#include "app/program.h"
#include "platform/clock.h"
#include "platform/qt/form_windows.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_printer.h"
#include "platform/qt/when_painted.h"
#include "platform/qt/window_scale.h"
#include "platform/services.h"
#include "platform/sqlite/sqlite_engine.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Weight and Balance");
    // The installed desktop entry and icon; a run from the source tree has no
    // icon in the theme and keeps the default one.
    QGuiApplication::setDesktopFileName("weight-and-balance");
    QApplication::setWindowIcon(QIcon::fromTheme("weight-and-balance"));
    // The program ends by its own Exit or by closing the main window, never
    // because no window is shown for a moment.
    QApplication::setQuitOnLastWindowClosed(false);
    // The splash and the main window open at the scale whose text matches the
    // desktop's, as far as the main window fits the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        wb::setViewScale(wb::startScale(wb::Form1::kClientWidth, wb::Form1::kClientHeight, screen->availableGeometry()));

    // With no printer installed each printout becomes a PDF file here; the
    // printouts tell the user where.
    const QString pdfFolder = QDir::home().filePath("WeightAndBalance/Printouts");
    wb::QtPrinter printer(pdfFolder.toLocal8Bit().toStdString());
    wb::QtDialogs dialogs([&printer] { return &printer.qPrinter(); });
    wb::SystemClock clock;
    std::unique_ptr<wb::DatabaseEngine> databases = wb::makeSqliteEngine();

    wb::Services services;
    services.dialogs = &dialogs;
    services.clock = &clock;
    services.databases = databases.get();
    services.printer = &printer;
    // Queued, so that an end asked for before the event loop runs still ends it.
    services.endProgram = [] { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); };

    wb::Program program(services);
    wb::FormWindows windows;
    program.formLoaded = [&](wb::Form& form) {
        if (&form == static_cast<wb::Form*>(program.splash()))
            windows.open(form, {.onClose = {}, .onActivate = {}, .splash = true});
        else
            windows.open(form, {.onClose = [&program] { program.closeMainWindowByUser(); },
                                .onActivate = [&program] { program.activateMainWindow(); }});
    };
    program.formUnloading = [&](wb::Form& form) { windows.close(form); };

    // The desktop session is ending: the program ends without a question, so
    // that the session does not wait on a box nobody will answer.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, [&program](QSessionManager&) {
        program.closeMainWindow();
    });

    program.start();
    // Once the splash window is painted, the main window and its views are made
    // while it is shown; when its time is up, the hand-over only shows them.
    if (wb::Form2* splash = program.splash())
        wb::whenPainted(windows.of(*splash), [&program] { program.buildMainWindow(); });
    const int result = program.ended() ? 0 : app.exec();
    windows.clear();
    return result;
}
