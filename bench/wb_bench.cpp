// Benchmarks on generated record databases of 100 and 10,000 weighings (130
// equipment rows each): a full Save, the first activation, New, and one bare
// SQLite transaction writing the same rows as the save. Prints a summary with
// the medians, the ratios and the peak memory of the process.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/settings_store.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/sqlite/sqlite_engine.h"
#include "records/record_files.h"

namespace wb {
namespace {

constexpr int kChangeRows = 30, kListRows = 100, kRowsPerWeighing = kChangeRows + kListRows;

// ---- generated databases ---------------------------------------------------

void check(int rc, sqlite3* db, const char* doing) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", doing, sqlite3_errmsg(db));
        std::exit(1);
    }
}

struct Sql {
    sqlite3* db = nullptr;
    explicit Sql(const std::string& path) { check(sqlite3_open(path.c_str(), &db), db, "open"); }
    ~Sql() { sqlite3_close(db); }
    void exec(const char* sql) { check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db, sql); }
    sqlite3_stmt* prepare(const std::string& sql) {
        sqlite3_stmt* st = nullptr;
        check(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), db, sql.c_str());
        return st;
    }
};

std::string isoDate(int serial) {  // a day from 1990 on
    Date d = dateFromSerial(32874 + serial);
    return formatIsoDate(d);
}

std::string aircraftInsertSql() {
    std::string cols, marks;
    const std::vector<TableDef> tables = recordDatabaseTables();
    for (const FieldDef& f : tables[0].fields) {
        if (!cols.empty()) {
            cols += ", ";
            marks += ", ";
        }
        cols.append(1, '"').append(f.name).append(1, '"');
        marks += "?";
    }
    return "INSERT INTO Aircraft (" + cols + ") VALUES (" + marks + ")";
}

const char* kEquipmentInsert =
    "INSERT INTO Equipment (Tail, Date, RowNum, Description, Serial, Weight, Arm, Install, Remove) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)";

// Writes one weighing with its 130 rows through prepared statements.
void insertWeighing(sqlite3_stmt* aircraft, sqlite3_stmt* equipment, const std::string& tail,
                    const std::string& date) {
    sqlite3_reset(aircraft);
    sqlite3_clear_bindings(aircraft);
    sqlite3_bind_text(aircraft, 1, tail.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(aircraft, 2, date.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(aircraft, 4, "Cessna", -1, SQLITE_STATIC);
    sqlite3_bind_double(aircraft, 7, 1500.5);
    sqlite3_bind_double(aircraft, 8, 38.25);
    sqlite3_step(aircraft);
    for (int r = 0; r < kRowsPerWeighing; ++r) {
        const bool change = r < kChangeRows;
        sqlite3_reset(equipment);
        sqlite3_bind_text(equipment, 1, tail.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(equipment, 2, date.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(equipment, 3, change ? r : r - kChangeRows);
        sqlite3_bind_text(equipment, 4, "Equipment item", -1, SQLITE_STATIC);
        sqlite3_bind_text(equipment, 5, "SN-12345", -1, SQLITE_STATIC);
        sqlite3_bind_double(equipment, 6, 2.5);
        sqlite3_bind_double(equipment, 7, 41.0);
        sqlite3_bind_int(equipment, 8, change ? -1 : 0);
        sqlite3_bind_int(equipment, 9, 0);
        sqlite3_step(equipment);
    }
}

struct ShopFolder {
    std::string folder;
    std::string records() const { return folder + "/" + kRecordDatabaseName; }
};

// A folder with a record database of `weighings` weighings and a settings
// database whose DataPath names the folder. Made once per size.
const ShopFolder& shop(int weighings) {
    static std::map<int, ShopFolder> made;
    auto found = made.find(weighings);
    if (found != made.end()) return found->second;

    std::string pattern = (std::filesystem::temp_directory_path() / "wbbench-XXXXXX").string();
    ShopFolder s{mkdtemp(pattern.data())};
    auto engine = makeSqliteEngine();
    {
        auto db = createRecordDatabase(*engine, s.records());
        auto company = db->CreateDynaset("CompanyInfo");
        company->Edit();
        for (const char* field : {"CompName", "CompAddress", "FormTitle", "Mechanic", "Cert"})
            company->setField(field, "Bench Aviation");
        company->Update();
        db->Close();
    }
    {
        auto settings = createSettingsDatabase(*engine, s.folder + "/" + kSettingsDatabaseName);
        auto row = settings->CreateDynaset("Company");
        row->Edit();
        row->setField("DataPath", s.folder);
        row->Update();
        settings->Close();
    }
    Sql sql(s.records());
    sql.exec("BEGIN");
    sqlite3_stmt* aircraft = sql.prepare(aircraftInsertSql());
    sqlite3_stmt* equipment = sql.prepare(kEquipmentInsert);
    char tail[16];
    for (int w = 0; w < weighings; ++w) {
        std::snprintf(tail, sizeof tail, "N%d", w % 700);
        insertWeighing(aircraft, equipment, tail, isoDate(w));
    }
    sqlite3_finalize(aircraft);
    sqlite3_finalize(equipment);
    sql.exec("COMMIT");
    return made.emplace(weighings, s).first->second;
}

// ---- a headless main window -------------------------------------------------

struct QuietDialogs : Dialogs {
    int MsgBox(const std::string&, int, const std::string&) override { return msgbox::kOk; }
    std::optional<Font> chooseFont(const Font&) override { return std::nullopt; }
    bool choosePrinter() override { return false; }
};

struct Window {
    QuietDialogs dialogs;
    FixedClock clock{Date{2010, 6, 15}};
    std::unique_ptr<DatabaseEngine> engine = makeSqliteEngine();
    Services services;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<Form1> form;

    // Loads and shows the window; the record sets are opened by `activate` or
    // by `openRecordSets`.
    Window() {
        services.dialogs = &dialogs;
        services.clock = &clock;
        services.databases = engine.get();
        services.endProgram = [] {};
        store = std::make_unique<SettingsStore>(services);
        form = std::make_unique<Form1>(services, *store);
        form->dispatch([&] { form->Load(); });
        form->setVisible(true);
    }
    void activate() { form->dispatch([&] { form->Activate(); }); }
    void openRecordSets(const std::string& path) {
        Form1& f = *form;
        f.dbRecords = openRecordDatabase(*engine, path);
        f.rsAircraft = f.dbRecords->CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
        f.rsCompanyInfo = f.dbRecords->CreateDynaset("CompanyInfo");
        f.rsEquipment = f.dbRecords->CreateDynaset("Equipment");
        f.rsFound = f.dbRecords->CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
        f.NewRecord();
    }
    // A full worksheet: the header, 30 change rows and 100 list rows.
    void fill(const std::string& tail) {
        Form1& f = *form;
        f.Text1.setText(tail);
        f.Text7.setText("06-15-2010");
        f.Text2.setText("17265432");
        f.Text3.setText("Cessna");
        f.Text4.setText("172N");
        f.Text9.setText("1500.5");
        f.Text10.setText("38.25");
        f.Text11.setText("2300");
        for (int i = 0; i < kChangeRows; ++i) {
            f.ws.ChangeDesc[i] = i == 0 ? "Previous A/C Empty" : "Change " + std::to_string(i);
            f.ws.ChangeSerial[i] = "SN-" + std::to_string(i);
            f.ws.ChangeWeight[i] = "2.5";
            f.ws.ChangeArm[i] = "41";
            f.ws.ChangeInstalled[i] = i == 0 ? "//////" : "X";
        }
        for (int i = 0; i < kListRows; ++i) {
            f.ws.ListDesc[i] = "Item " + std::to_string(i);
            f.ws.ListSerial[i] = "L-" + std::to_string(i);
            f.ws.ListWeight[i] = "1.25";
            f.ws.ListArm[i] = "60";
        }
    }
};

// ---- medians ------------------------------------------------------------------

std::map<std::string, double> medianMs;

// Times each step, with an untimed `prepare` before it, and keeps the median.
template <class Prepare, class Step>
void timedAfter(benchmark::State& state, const std::string& name, Prepare prepare, Step step) {
    std::vector<double> ms;
    for (auto _ : state) {
        prepare();
        auto start = std::chrono::steady_clock::now();
        step();
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        ms.push_back(took.count() * 1000);
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms.empty() ? 0 : ms[ms.size() / 2];
    state.counters["median_ms"] = median;
    medianMs[name] = median;
}

template <class Step>
void timed(benchmark::State& state, const std::string& name, Step step) {
    timedAfter(state, name, [] {}, step);
}

std::string sized(const char* what, int weighings) { return std::string(what) + "@" + std::to_string(weighings); }

void BM_Save(benchmark::State& state) {
    const int weighings = static_cast<int>(state.range(0));
    const ShopFolder& s = shop(weighings);
    Window w;
    w.openRecordSets(s.records());
    w.fill("BENCH");
    timed(state, sized("save", weighings), [&] { w.form->userClick(w.form->Command3D13); });
}

// The same rows as a save, in one transaction of prepared statements.
void BM_BareTransaction(benchmark::State& state) {
    const int weighings = static_cast<int>(state.range(0));
    Sql sql(shop(weighings).records());
    sqlite3_stmt* aircraft = sql.prepare(aircraftInsertSql());
    sqlite3_stmt* equipment = sql.prepare(kEquipmentInsert);
    sqlite3_stmt* dropAircraft = sql.prepare("DELETE FROM Aircraft WHERE Tail = ? AND Date = ?");
    sqlite3_stmt* dropEquipment = sql.prepare("DELETE FROM Equipment WHERE Tail = ? AND Date = ?");
    const std::string date = "2010-06-15";
    auto drop = [&](sqlite3_stmt* st) {
        sqlite3_reset(st);
        sqlite3_bind_text(st, 1, "BARE", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 2, date.c_str(), -1, SQLITE_STATIC);
        sqlite3_step(st);
    };
    timed(state, sized("bare", weighings), [&] {
        sql.exec("BEGIN");
        drop(dropEquipment);
        drop(dropAircraft);
        insertWeighing(aircraft, equipment, "BARE", date);
        sql.exec("COMMIT");
    });
    for (sqlite3_stmt* st : {aircraft, equipment, dropAircraft, dropEquipment}) sqlite3_finalize(st);
}

// The main window's first activation on the stored folder (settings store,
// record database, its four sets, the set-up panel).
void BM_FirstActivation(benchmark::State& state) {
    const int weighings = static_cast<int>(state.range(0));
    const ShopFolder& s = shop(weighings);
    const auto home = std::filesystem::current_path();
    std::filesystem::current_path(s.folder);  // where the settings database is looked for
    std::vector<double> ms;
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<Window>();
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        w->activate();
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        ms.push_back(took.count() * 1000);
        state.PauseTiming();
        if (!w->form->dbRecords) state.SkipWithError("the activation opened no record database");
        w.reset();
        state.ResumeTiming();
    }
    std::filesystem::current_path(home);
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) medianMs[sized("activation", weighings)] = ms[ms.size() / 2];
}

// New: NewRecord with its record sets, on an open record database.
void BM_New(benchmark::State& state) {
    const int weighings = static_cast<int>(state.range(0));
    Window w;
    w.openRecordSets(shop(weighings).records());
    timed(state, sized("new", weighings), [&] { w.form->NewRecord(); });
}

BENCHMARK(BM_Save)->Arg(100)->Arg(10000)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareTransaction)->Arg(100)->Arg(10000)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstActivation)->Arg(100)->Arg(10000)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_New)->Arg(100)->Arg(10000)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

// ---- browsing, search by example, previous equipment list -------------------


// A new record as New makes it, whose only search example is `text` in `box`
// (none when empty).
void exampleOnly(Form1& f, TextBox& box, const std::string& text) {
    f.ws.MoveDirection = 0;
    f.ws.SearchActive = 0;
    f.ws.BrowseStarted = 0;
    f.NewRecord();
    for (TextBox* b : {&f.Text6, &f.Text7, &f.Text22}) b->setText("");
    box.setText(text);
}

// Next showing the following record of the browse set (130 finds each).
void BM_Next(benchmark::State& state) {
    const int weighings = static_cast<int>(state.range(0));
    Window w;
    w.openRecordSets(shop(weighings).records());
    Form1& f = *w.form;
    exampleOnly(f, f.Text1, "");
    int full = 0;
    timedAfter(
        state, sized("next", weighings),
        [&] {
            // Past the last record: back to the first one, untimed.
            if (f.rsAircraft->IsEOF()) f.rsAircraft->MoveFirst();
        },
        [&] {
            w.form->userClick(f.Command3D16);
            if (!f.Grid3.cell(99, 0).empty()) ++full;
        });
    if (full < state.iterations() / 2) state.SkipWithError(("Next showed no full record: " + f.lastFailure()).c_str());
}

// Next on a new record with one search box filled: the search by example and
// the first match shown.
void BM_SearchByExample(benchmark::State& state) {
    const int weighings = static_cast<int>(state.range(0));
    Window w;
    w.openRecordSets(shop(weighings).records());
    Form1& f = *w.form;
    timedAfter(
        state, sized("search", weighings), [&] { exampleOnly(f, f.Text1, "N12"); },
        [&] { w.form->userClick(f.Command3D16); });
    if (f.ws.SearchActive != 1 || f.Text1.text() != "N12")
        state.SkipWithError(("the search showed no match: " + f.Text1.text()).c_str());
}

// The previous equipment list of a tail on a new record.
void BM_LoadPreviousEquipment(benchmark::State& state) {
    const int weighings = static_cast<int>(state.range(0));
    Window w;
    w.openRecordSets(shop(weighings).records());
    Form1& f = *w.form;
    timedAfter(
        state, sized("previous", weighings), [&] { exampleOnly(f, f.Text1, "N12"); },
        [&] { f.LoadPreviousEquipment(); });
    if (f.Grid3.cell(99, 0).empty()) state.SkipWithError("no list brought forward");
}

BENCHMARK(BM_Next)->Arg(100)->Arg(10000)->UseManualTime()->Iterations(300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchByExample)->Arg(100)->Arg(10000)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPreviousEquipment)->Arg(100)->Arg(10000)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

void printBrowseSummary() {
    auto at = [](const std::string& k) { auto f = medianMs.find(k); return f == medianMs.end() ? 0.0 : f->second; };
    for (int n : {100, 10000})
        std::printf("  %5d weighings: Next %.3f, one-field search %.3f, previous equipment list %.3f\n", n,
                    at(sized("next", n)), at(sized("search", n)), at(sized("previous", n)));
    const double small = at(sized("next", 100)), large = at(sized("next", 10000));
    std::printf("  next@10000 / next@100: %.2f (target <= 2)\n", small > 0 ? large / small : 0.0);
    std::printf("  targets at 10000: Next <= 3 ms, search <= 10 ms, previous list <= 3 ms; peak memory <= 150 MB\n");
}

void printSummary() {
    auto at = [](const std::string& k) { auto f = medianMs.find(k); return f == medianMs.end() ? 0.0 : f->second; };
    std::printf("\nMedians (ms) and targets\n");
    for (int n : {100, 10000}) {
        const double save = at(sized("save", n)), bare = at(sized("bare", n));
        std::printf("  %5d weighings: save %.3f, bare transaction %.3f, save/bare %.2f, activation %.3f, New %.3f\n",
                    n, save, bare, bare > 0 ? save / bare : 0.0, at(sized("activation", n)), at(sized("new", n)));
    }
    const double small = at(sized("save", 100)), large = at(sized("save", 10000));
    std::printf("  save@10000 / save@100: %.2f (target <= 1.5)\n", small > 0 ? large / small : 0.0);
    std::printf("  targets: save@10000 <= 5 ms and <= 3 x bare; activation <= 10 ms; New <= 5 ms\n");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("  peak memory: %.1f MB (target <= 100 MB)\n", usage.ru_maxrss / 1024.0);
}

}  // namespace
}  // namespace wb

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wb::printSummary();
    wb::printBrowseSummary();
    return 0;
}
