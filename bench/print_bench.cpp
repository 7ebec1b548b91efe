// Each printout of a full worksheet written as a PDF file through the Qt
// printer: 29 change rows, 100 equipment rows, three scale rows, two fluids,
// letterhead and notes. Run with --benchmark_repetitions for the median.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "app/form1.h"
#include "app/settings_store.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/qt/qt_printer.h"
#include "platform/sqlite/sqlite_engine.h"
#include "records/record_files.h"
#include "reports/reports.h"

namespace {

using namespace wb;

class QuietDialogs : public Dialogs {
public:
    int MsgBox(const std::string&, int, const std::string&) override { return msgbox::kOk; }
    std::optional<Font> chooseFont(const Font&) override { return std::nullopt; }
    bool choosePrinter() override { return false; }
};

struct Bench {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("wb-print-bench-" + std::to_string(getpid()));
    QuietDialogs dialogs;
    FixedClock clock{Date{2004, 3, 9}};
    std::unique_ptr<DatabaseEngine> engine = makeSqliteEngine();
    std::unique_ptr<QtPrinter> printer;
    Services services;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<Form1> form;
    std::unique_ptr<Reports> reports;

    Bench() {
        std::filesystem::create_directories(folder);
        printer = std::make_unique<QtPrinter>((folder / "pdf").string(), QtPrinter::Mode::Pdf);
        services.dialogs = &dialogs;
        services.clock = &clock;
        services.databases = engine.get();
        services.printer = printer.get();
        store = std::make_unique<SettingsStore>(services);
        form = std::make_unique<Form1>(services, *store);
        form->dispatch([&] { form->Load(); });
        reports = std::make_unique<Reports>(*form);
        fill();
    }
    ~Bench() {
        reports.reset();
        form.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    void fill() {
        Form1& f = *form;
        f.dbRecords = createRecordDatabase(*engine, (folder / "KORRIN.MDB").string());
        auto shop = f.dbRecords->CreateDynaset("CompanyInfo");
        shop->Edit();
        for (auto [column, text] : {std::pair{"CompName", "Skyline Aviation Services"},
                                    {"CompAddress", "1200 Airport Road, Hangar 4"},
                                    {"CompCSZ", "Springfield, IL 62707"},
                                    {"CompPhone", "(217) 555-0142"},
                                    {"FormTitle", "Equipment List / Weight & Balance Change"},
                                    {"EquipTitle", "Weight and Balance Report"}})
            shop->setField(column, Value(text));
        shop->Update();
        f.rsCompanyInfo = f.dbRecords->CreateDynaset("CompanyInfo");
        for (CheckBox* c : {&f.Check3D1, &f.Check3D2, &f.Check3D3, &f.Check3D4}) c->setValue(1);

        f.Text1.setText("N733KM");
        f.Text2.setText("17261234");
        f.Text3.setText("Cessna");
        f.Text4.setText("172N");
        f.Text5.setText("1978");
        f.Text6.setText("Jo Smith");
        f.Text22.setText("A&P 1234567");
        f.Text8.setText("4321.5");
        f.Text9.setText("1432.5");
        f.Text10.setText("39.61");
        f.Text11.setText("2300");
        f.Text12.setText("WO-0815");
        f.Text14.setText("35.0 to 47.3");
        f.Text15.setText("35.0 to 47.3");
        f.Text16.setText("none given");
        f.Text23.setText("1401.20");
        f.Text24.setText("38.97");
        std::string notes;
        for (int i = 0; i < 6; ++i)
            notes += "Aircraft weighed on three calibrated platform scales, level, fuel drained "
                     "to unusable, oil full; equipment changes per the work order.\r\n";
        f.Text13.setText(notes);

        WorksheetState& ws = f.ws;
        for (int i = 0; i < 3; ++i) {
            ws.JackDesc[i] = i == 2 ? "Nose" : "Main";
            ws.JackTare[i] = "12.5";
            ws.JackWeight[i] = "510.4";
            ws.JackArm[i] = i == 2 ? "-7.2" : "58.9";
        }
        ws.FluidDesc[0] = "Forward Tanks";
        ws.FluidWeight[0] = "24";
        ws.FluidArm[0] = "48";
        ws.FluidDesc[1] = "Aft Tanks";
        ws.FluidWeight[1] = "-9";
        ws.FluidArm[1] = "-15";
        ws.WeighedWeight = 1395.9f;
        ws.WeighedCG = 39.08f;
        ws.WeighedMoment = 54550.4f;
        ws.NewEmptyWeight = 1401.2f;
        ws.NewEmptyCG = 38.97f;
        ws.NewEmptyMoment = 54605.9f;
        ws.ChangeMoment[0] = 56741.3;
        for (int i = 1; i <= 29; ++i) {
            ws.ChangeDesc[i] = "Item " + std::to_string(i);
            ws.ChangeSerial[i] = "SN-" + std::to_string(100 + i);
            ws.ChangeWeight[i] = "5.2";
            ws.ChangeArm[i] = "14.0";
            ws.ChangeMoment[i] = "72.8";
            (i % 2 ? ws.ChangeInstalled : ws.ChangeRemoved)[i] = "X";
        }
        for (int i = 0; i < 100; ++i) {
            ws.ListDesc[i] = "Equipment item " + std::to_string(i);
            ws.ListSerial[i] = "SN-" + std::to_string(1000 + i);
            ws.ListWeight[i] = std::to_string(i % 40 + 1) + ".5";
            ws.ListArm[i] = std::to_string(i % 120 - 10) + ".5";
        }
    }

    void removePdfs() {
        std::error_code ignored;
        for (const std::filesystem::directory_entry& e :
             std::filesystem::directory_iterator(folder / "pdf", ignored))
            std::filesystem::remove(e.path(), ignored);
    }
};

Bench& bench() {
    static Bench b;
    return b;
}

void run(benchmark::State& state, void (Reports::*printout)()) {
    Bench& b = bench();
    for (auto _ : state) {
        (b.reports.get()->*printout)();
        state.PauseTiming();
        b.removePdfs();
        state.ResumeTiming();
    }
}

void BM_WeightAndBalanceReport(benchmark::State& s) { run(s, &Reports::PrintWeighingReport); }
void BM_LogbookEntry(benchmark::State& s) { run(s, &Reports::PrintLogbookEntry); }
void BM_EquipmentChangeReport(benchmark::State& s) { run(s, &Reports::PrintEquipmentChangeReport); }

BENCHMARK(BM_WeightAndBalanceReport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogbookEntry)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EquipmentChangeReport)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
