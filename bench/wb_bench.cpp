// Benchmarks on record databases of 100 and 10,000 weighings (130 equipment
// rows each). Three figures of the program are measured beside their floor, a
// plain SQLite program doing the same work on the same file in the same run:
// - Next (through the main window) against one indexed step to the next
//   weighing in date order and one indexed query of its rows;
// - search by example (a tail typed on a new record, then Next) against the
//   plain indexed query of the first match and the query of its rows;
// - Save (a weighing and its 130 rows replacing the stored one) against a
//   bare transaction of the same DELETEs and INSERTs, in the same journal mode
//   with synchronous FULL, on a copy of the file of its own.
// Also the first activation, New and the previous equipment list. Prints the
// medians, each ratio and each growth from 100 to 10,000 weighings against
// its target, and the peak memory of the process.
//
// The generated files are made once, with plain SQLite in one transaction, and
// kept in bench-data/ beside this program; each run works on copies of them
// (shop_files.h).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/settings_store.h"
#include "platform/clock.h"
#include "shop_files.h"

namespace wb::bench {
namespace {

constexpr int kSizes[] = {100, 10000};

// ---- a headless main window -------------------------------------------------

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

// ---- the floor of showing a weighing ------------------------------------------

// One row of a query copied into plain values.
struct PlainRow {
    std::vector<std::string> text;
    std::vector<double> number;
    void read(sqlite3_stmt* st) {
        const int n = sqlite3_column_count(st);
        text.resize(static_cast<size_t>(n));
        number.resize(static_cast<size_t>(n));
        for (int c = 0; c < n; ++c) {
            const size_t i = static_cast<size_t>(c);
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_NULL: text[i].clear(); break;
            case SQLITE_TEXT:
                text[i].assign(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                               static_cast<size_t>(sqlite3_column_bytes(st, c)));
                break;
            default: number[i] = sqlite3_column_double(st, c);
            }
        }
    }
};

// What a plain SQLite program does to show a weighing: its Aircraft row, then
// its equipment rows in one indexed query, each placed by list and row number.
struct PlainReader {
    static constexpr const char* kRows =
        "SELECT Description, Install, Remove, RowNum, Serial, Weight, Arm FROM Equipment "
        "WHERE Tail = ?1 AND Date = ?2";
    // The next weighing in date order (ties in row id order) after a key.
    static constexpr const char* kNext =
        "SELECT rowid, * FROM Aircraft WHERE (Date, rowid) > (?1, ?2) ORDER BY Date, rowid LIMIT 1";
    // The first weighing in date order whose tail begins with a text.
    static constexpr const char* kFirstMatch =
        "SELECT rowid, * FROM Aircraft WHERE Tail LIKE ?1 || '%' ORDER BY Date, rowid LIMIT 1";

    Sql sql;
    sqlite3_stmt* next;
    sqlite3_stmt* firstMatch;
    sqlite3_stmt* rows;
    PlainRow weighing;
    std::array<PlainRow, kChangeRows> changeRows;
    std::array<PlainRow, kListRows> listRows;
    std::string date = "";  // the key of the weighing shown
    sqlite3_int64 rowid = -1;
    int shownRows = 0;

    explicit PlainReader(const std::string& path)
        : sql(path), next(sql.prepare(kNext)), firstMatch(sql.prepare(kFirstMatch)), rows(sql.prepare(kRows)) {}
    ~PlainReader() {
        for (sqlite3_stmt* st : {next, firstMatch, rows}) sqlite3_finalize(st);
    }

    void restart() {
        date.clear();
        rowid = -1;
    }
    bool atLast() {
        sqlite3_reset(next);
        bindText(next, 1, date);
        sqlite3_bind_int64(next, 2, rowid);
        const bool last = sqlite3_step(next) != SQLITE_ROW;
        sqlite3_reset(next);
        return last;
    }
    // Next: the following weighing and its rows; false past the last one.
    bool showNext() {
        sqlite3_reset(next);
        bindText(next, 1, date);
        sqlite3_bind_int64(next, 2, rowid);
        return show(next);
    }
    // Search: the first weighing whose tail begins with `tail`, and its rows.
    bool showFirstMatch(const std::string& tail) {
        sqlite3_reset(firstMatch);
        bindText(firstMatch, 1, tail);
        return show(firstMatch);
    }

private:
    bool show(sqlite3_stmt* weighingQuery) {
        // Each statement is reset once read, so no read lock outlasts the step.
        const bool found = sqlite3_step(weighingQuery) == SQLITE_ROW;
        if (found) {
            weighing.read(weighingQuery);
            rowid = sqlite3_column_int64(weighingQuery, 0);
        }
        sqlite3_reset(weighingQuery);
        if (!found) return false;
        date = weighing.text[2];
        sqlite3_reset(rows);
        bindText(rows, 1, weighing.text[1]);
        bindText(rows, 2, date);
        shownRows = 0;
        while (sqlite3_step(rows) == SQLITE_ROW) {
            const bool change = sqlite3_column_int(rows, 1) != 0 || sqlite3_column_int(rows, 2) != 0 ||
                                columnIs(rows, 0, "Previous A/C Empty");
            const int n = sqlite3_column_int(rows, 3);
            if (change && n >= 0 && n < kChangeRows) changeRows[static_cast<size_t>(n)].read(rows);
            if (!change && n >= 0 && n < kListRows) listRows[static_cast<size_t>(n)].read(rows);
            ++shownRows;
        }
        sqlite3_reset(rows);
        return true;
    }
};

// ---- medians ------------------------------------------------------------------

std::map<std::string, double> medianMs;

double median(std::vector<double> ms) {
    if (ms.empty()) return 0;
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

template <class Step>
double msOf(Step&& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Times each step, with an untimed `prepare` before it, and keeps the median.
template <class Prepare, class Step>
void timedAfter(benchmark::State& state, const std::string& name, Prepare prepare, Step step) {
    std::vector<double> ms;
    for (auto _ : state) {
        prepare();
        const double took = msOf(step);
        state.SetIterationTime(took / 1000);
        ms.push_back(took);
    }
    state.counters["median_ms"] = medianMs[name] = median(ms);
}

template <class Step>
void timed(benchmark::State& state, const std::string& name, Step step) {
    timedAfter(state, name, [] {}, step);
}

// The processor time of this thread, in ms: a wait for the disk is not in it.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The program's step and its floor's, one after the other in each iteration
// (after an untimed `prepare`), so both meet the same load of the machine. The
// medians of the processor time are kept as well, under NAME-cpu.
template <class Prepare, class Program, class Floor>
void timedBesideFloor(benchmark::State& state, const std::string& name, const std::string& floorName,
                      Prepare prepare, Program program, Floor floor) {
    std::vector<double> programMs, floorMs, programCpu, floorCpu;
    for (auto _ : state) {
        prepare();
        double cpu = cpuMs();
        const double took = msOf(program);
        programCpu.push_back(cpuMs() - cpu);
        cpu = cpuMs();
        floorMs.push_back(msOf(floor));
        floorCpu.push_back(cpuMs() - cpu);
        state.SetIterationTime(took / 1000);
        programMs.push_back(took);
    }
    state.counters["median_ms"] = medianMs[name] = median(programMs);
    state.counters["floor_ms"] = medianMs[floorName] = median(floorMs);
    medianMs[name + "-cpu"] = median(programCpu);
    medianMs[floorName + "-cpu"] = median(floorCpu);
}

std::string sized(const char* what, int weighings) { return std::string(what) + "@" + std::to_string(weighings); }

// ---- Save ---------------------------------------------------------------------

// Save's floor: the same rows as a save in one transaction of prepared
// statements, in the program's journal mode (TRUNCATE) with synchronous FULL.
class BareSave {
public:
    explicit BareSave(const std::string& path) : sql_(path) {
        sql_.exec("PRAGMA journal_mode = TRUNCATE");
        sql_.exec("PRAGMA synchronous = FULL");
        aircraft_ = sql_.prepare(aircraftInsertSql());
        equipment_ = sql_.prepare(kEquipmentInsert);
        dropAircraft_ = sql_.prepare("DELETE FROM Aircraft WHERE Tail = ? AND Date = ?");
        dropEquipment_ = sql_.prepare("DELETE FROM Equipment WHERE Tail = ? AND Date = ?");
    }
    ~BareSave() {
        for (sqlite3_stmt* st : {aircraft_, equipment_, dropAircraft_, dropEquipment_}) sqlite3_finalize(st);
    }
    void save() {
        sql_.exec("BEGIN");
        drop(dropEquipment_);
        drop(dropAircraft_);
        insertWeighing(aircraft_, equipment_, "BENCH", kDate);
        sql_.exec("COMMIT");
    }

private:
    static constexpr const char* kDate = "2010-06-15";
    void drop(sqlite3_stmt* st) {
        sqlite3_reset(st);
        sqlite3_bind_text(st, 1, "BENCH", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 2, kDate, -1, SQLITE_STATIC);
        sqlite3_step(st);
    }
    Sql sql_;
    sqlite3_stmt* aircraft_ = nullptr;
    sqlite3_stmt* equipment_ = nullptr;
    sqlite3_stmt* dropAircraft_ = nullptr;
    sqlite3_stmt* dropEquipment_ = nullptr;
};

// The program's Save replacing the weighing it stored before, beside the bare
// transaction doing the same on a copy of the file of its own (two programs on
// one file would each find the other's writes and read the file anew).
void BM_Save(benchmark::State& state) {
    const int weighings = static_cast<int>(state.range(0));
    Window w;
    w.openRecordSets(shop(weighings).records());
    w.fill("BENCH");
    BareSave bare(shop(weighings, 1).records());
    // Stored once: each timed save replaces it.
    w.form->userClick(w.form->Command3D13);
    bare.save();
    timedBesideFloor(
        state, sized("save", weighings), sized("save-floor", weighings), [] {},
        [&] { w.form->userClick(w.form->Command3D13); }, [&] { bare.save(); });
    if (w.form->ws.SavedState != 1) state.SkipWithError("the save stored nothing");
}

// ---- start of a run --------------------------------------------------------------

// The main window's first activation on the stored folder (settings store,
// record database, its four sets, the set-up panel).
void BM_FirstActivation(benchmark::State& state) {
    const int weighings = static_cast<int>(state.range(0));
    const ShopFolder& s = shop(weighings);
    const auto home = fs::current_path();
    fs::current_path(s.folder);  // where the settings database is looked for
    std::vector<double> ms;
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<Window>();
        state.ResumeTiming();
        const double took = msOf([&] { w->activate(); });
        state.SetIterationTime(took / 1000);
        ms.push_back(took);
        state.PauseTiming();
        if (!w->form->dbRecords) state.SkipWithError("the activation opened no record database");
        w.reset();
        state.ResumeTiming();
    }
    fs::current_path(home);
    medianMs[sized("activation", weighings)] = median(ms);
}

// New: NewRecord with its record sets, on an open record database.
void BM_New(benchmark::State& state) {
    const int weighings = static_cast<int>(state.range(0));
    Window w;
    w.openRecordSets(shop(weighings).records());
    timed(state, sized("new", weighings), [&] { w.form->NewRecord(); });
}

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

// Next showing the following record of the browse set, beside one indexed
// step and one indexed query of the rows.
void BM_Next(benchmark::State& state) {
    const int weighings = static_cast<int>(state.range(0));
    const ShopFolder& s = shop(weighings);
    Window w;
    w.openRecordSets(s.records());
    PlainReader plain(s.records());
    Form1& f = *w.form;
    exampleOnly(f, f.Text1, "");
    int full = 0, plainFull = 0;
    timedBesideFloor(
        state, sized("next", weighings), sized("next-floor", weighings),
        [&] {
            // Past the last record: back to the first one, untimed.
            if (f.rsAircraft->IsEOF()) f.rsAircraft->MoveFirst();
            if (plain.atLast()) plain.restart();
        },
        [&] {
            f.userClick(f.Command3D16);
            if (!f.Grid3.cell(99, 0).empty()) ++full;
        },
        [&] {
            if (plain.showNext() && plain.shownRows == kRowsPerWeighing) ++plainFull;
        });
    if (full < state.iterations() / 2) state.SkipWithError(("Next showed no full record: " + f.lastFailure()).c_str());
    if (plainFull < state.iterations() / 2) state.SkipWithError("the plain reader showed no full record");
}

// Next on a new record with the tail box filled: the search by example and
// the first match shown, beside the plain query of the first match and its rows.
void BM_SearchByExample(benchmark::State& state) {
    const int weighings = static_cast<int>(state.range(0));
    const ShopFolder& s = shop(weighings);
    Window w;
    w.openRecordSets(s.records());
    PlainReader plain(s.records());
    Form1& f = *w.form;
    bool plainFound = true;
    timedBesideFloor(
        state, sized("search", weighings), sized("search-floor", weighings), [&] { exampleOnly(f, f.Text1, "N12"); },
        [&] { f.userClick(f.Command3D16); }, [&] { plainFound = plain.showFirstMatch("N12") && plainFound; });
    if (f.ws.SearchActive != 1 || f.Text1.text() != "N12")
        state.SkipWithError(("the search showed no match: " + f.Text1.text()).c_str());
    if (!plainFound || plain.weighing.text[1] != "N12") state.SkipWithError("the plain search found no N12");
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

BENCHMARK(BM_Next)->Arg(100)->Arg(10000)->UseManualTime()->Iterations(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchByExample)->Arg(100)->Arg(10000)->UseManualTime()->Iterations(300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(100)->Arg(10000)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstActivation)->Arg(100)->Arg(10000)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_New)->Arg(100)->Arg(10000)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPreviousEquipment)->Arg(100)->Arg(10000)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

// ---- the summary ------------------------------------------------------------------

double at(const std::string& key) {
    auto found = medianMs.find(key);
    return found == medianMs.end() ? 0.0 : found->second;
}

double ratio(double a, double b) { return b > 0 ? a / b : 0.0; }

const char* verdict(double value, double target) { return value > 0 && value <= target ? "met" : "NOT MET"; }

// The floors' query plans, so the summary shows they are indexed.
void printPlans() {
    Sql sql(shop(kSizes[0]).records());
    std::printf("\nFloor query plans\n");
    for (const char* q : {PlainReader::kNext, PlainReader::kFirstMatch, PlainReader::kRows})
        std::printf("  %s\n    -> %s\n", q, sql.plan(q).c_str());
}

void printSummary() {
    struct Figure {
        const char* title;
        const char* key;
        const char* floorKey;
        const char* floorTitle;
        double target;
    };
    const Figure figures[] = {
        {"Next", "next", "next-floor", "indexed step + rows query", 2.0},
        {"search by example", "search", "search-floor", "indexed first match + rows query", 3.0},
        {"Save", "save", "save-floor", "bare transaction", 1.3},
    };
    constexpr double kGrowthTarget = 1.2;

    std::printf("\nMedians (ms), ratios to the floor and growth, against the targets\n");
    std::printf("  %-18s %9s %9s %9s %8s %7s %-8s| %s\n", "figure", "weighings", "program", "floor", "ratio",
                "target", "", "processor time: program, floor, ratio");
    for (const Figure& fig : figures) {
        for (int n : kSizes) {
            const double program = at(sized(fig.key, n)), floor = at(sized(fig.floorKey, n));
            const double programCpu = at(sized(fig.key, n) + "-cpu"), floorCpu = at(sized(fig.floorKey, n) + "-cpu");
            const double r = ratio(program, floor);
            // A floor that mostly waits for the disk measures the disk: no verdict then.
            const bool diskBound = floor > 3 * floorCpu;
            std::printf("  %-18s %9d %9.3f %9.3f %7.2fx %6.1fx %-8s| %.3f %.3f %.2fx%s\n", fig.title, n, program, floor,
                        r, fig.target, diskBound ? "unsure" : verdict(r, fig.target), programCpu, floorCpu,
                        ratio(programCpu, floorCpu), diskBound ? "  (the floor mostly waits for the disk)" : "");
        }
    }
    for (const Figure& fig : figures) std::printf("  floor of %s: %s\n", fig.title, fig.floorTitle);
    std::printf("  growth from %d to %d weighings (target <= %.1fx):\n", kSizes[0], kSizes[1], kGrowthTarget);
    for (const Figure& fig : figures) {
        const double small = at(sized(fig.key, kSizes[0])), large = at(sized(fig.key, kSizes[1]));
        const double floorSmall = at(sized(fig.floorKey, kSizes[0])), floorLarge = at(sized(fig.floorKey, kSizes[1]));
        const double growth = ratio(large, small);
        std::printf("    %-18s program %.2fx %s; floor %.2fx; ratio to the floor %.2fx -> %.2fx\n", fig.title,
                    growth, verdict(growth, kGrowthTarget), ratio(floorLarge, floorSmall), ratio(small, floorSmall),
                    ratio(large, floorLarge));
    }

    std::printf("\nOther figures (ms)\n");
    for (int n : kSizes)
        std::printf("  %5d weighings: activation %.3f, New %.3f, previous equipment list %.3f\n", n,
                    at(sized("activation", n)), at(sized("new", n)), at(sized("previous", n)));
    std::printf("  targets: activation <= 10 ms, New <= 5 ms, previous list <= 3 ms\n");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("  peak memory of this headless run: %.1f MB\n", usage.ru_maxrss / 1024.0);
}

}  // namespace
}  // namespace wb::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wb::bench::printSummary();
    wb::bench::printPlans();
    return 0;
}
