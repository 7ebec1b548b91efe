// wb-scenario [--cwd DIR] [--printer record|pdf:DIR] SCRIPT...
// Runs scenario scripts against the program, headless. Exit 0 when every
// expectation held, 1 when one failed, 2 on a script or usage error.
#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/qt_printer.h"
#include "platform/recording_printer.h"
#include "runner.h"

namespace fs = std::filesystem;
using namespace wb;
using namespace wb::scenario;

namespace {

int usage(const std::string& problem) {
    std::cerr << "wb-scenario: " << problem << "\n"
              << "usage: wb-scenario [--cwd DIR] [--printer record|pdf:DIR] SCRIPT...\n";
    return 2;
}

PrinterBackend recordingBackend() {
    return {[] { return std::make_unique<RecordingPrinter>(); },
            [](Printer& p) { return static_cast<RecordingPrinter&>(p).takeLog(); }};
}

PrinterBackend pdfBackend(const std::string& option) {
    return {[option]() -> std::unique_ptr<Printer> { return QtPrinter::fromOption(option); },
            [](Printer& p) {
                std::vector<std::string> lines;
                for (const std::string& file : static_cast<QtPrinter&>(p).takeWrittenPdfs())
                    lines.push_back("pdf " + file);
                return lines;
            }};
}

// A working folder made for this run and removed after it.
struct TemporaryFolder {
    fs::path path;
    ~TemporaryFolder() {
        if (path.empty()) return;
        std::error_code ignored;
        fs::current_path(fs::temp_directory_path(), ignored);
        fs::remove_all(path, ignored);
    }
};

}  // namespace

int main(int argc, char** argv) {
    std::string cwd;
    std::string printerOption = "record";
    std::vector<std::string> scripts;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "--cwd" || arg == "--printer") && i + 1 < argc) {
            (arg == "--cwd" ? cwd : printerOption) = argv[++i];
        } else if (arg.rfind("--", 0) == 0) {
            return usage("unknown option " + arg);
        } else {
            scripts.push_back(fs::absolute(arg).string());
        }
    }
    if (scripts.empty()) return usage("no script");
    bool pdf = printerOption.rfind("pdf:", 0) == 0;
    if (!pdf && printerOption != "record") return usage("unknown printer " + printerOption);

    // Read every script first: a malformed one runs nothing.
    std::vector<std::vector<Command>> commands;
    for (const std::string& script : scripts) {
        std::ifstream in(script);
        if (!in) return usage("cannot read " + script);
        try {
            commands.push_back(readScript(in));
        } catch (const ScriptError& e) {
            std::cout << "script error " << script << " line " << e.line() << ": " << e.what() << "\n";
            std::cout << "0 passed, 0 failed\n";
            return 2;
        }
    }

    std::unique_ptr<QGuiApplication> app;
    if (pdf) {
        const char* platform = std::getenv("QT_QPA_PLATFORM");
        if (!platform || !*platform) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        app = std::make_unique<QGuiApplication>(argc, argv);
        if (!QtPrinter::fromOption(printerOption)) return usage("unknown printer " + printerOption);
    }

    TemporaryFolder temporary;
    std::error_code error;
    if (cwd.empty()) {
        std::string pattern = (fs::temp_directory_path() / "wb-scenario-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return usage("cannot make a temporary folder");
        temporary.path = pattern;
        cwd = pattern;
    } else {
        fs::create_directories(cwd, error);
    }
    fs::current_path(cwd, error);
    if (error) return usage("cannot work in " + cwd + ": " + error.message());

    PrinterBackend backend = pdf ? pdfBackend(printerOption) : recordingBackend();
    int passed = 0, failed = 0;
    int status = 0;
    for (size_t i = 0; i < scripts.size(); ++i) {
        if (scripts.size() > 1) std::cout << "script " << scripts[i] << "\n";
        Runner runner(std::cout, backend);
        try {
            runner.run(commands[i]);
        } catch (const ScriptError& e) {
            std::cout << "script error " << scripts[i] << " line " << e.line() << ": " << e.what() << "\n";
            status = 2;
        }
        passed += runner.passed();
        failed += runner.failed();
        if (status == 2) break;
    }
    std::cout << passed << " passed, " << failed << " failed\n";
    std::cout.flush();
    if (status == 2) return 2;
    return failed ? 1 : 0;
}
