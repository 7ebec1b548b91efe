// Moves and finds on a large shop's record database: 50,000 weighings with
// 20 equipment rows each (1,000,000 rows). The file is made once in the
// temporary folder and reused by later runs.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "platform/sqlite/sqlite_engine.h"
#include "records/record_files.h"

namespace {

using namespace wb;

constexpr int kWeighings = 50000;
constexpr int kRowsPerWeighing = 20;

std::string tailOf(int i) { return "N" + std::to_string(10000 + i % 5000); }
Date dateOf(int i) { return dateFromSerial(30000 + i / 3); }

std::string databasePath()
{
    return (std::filesystem::temp_directory_path() / "wb-find-bench-KORRIN.MDB").string();
}

Database& database()
{
    static std::unique_ptr<DatabaseEngine> engine = makeSqliteEngine();
    static std::shared_ptr<Database> db = [] {
        std::string path = databasePath();
        if (std::filesystem::exists(path)) return openRecordDatabase(*engine, path);
        std::string partial = path + ".partial";
        std::filesystem::remove(partial);
        auto made = createRecordDatabase(*engine, partial);
        Transaction t(*made);
        auto aircraft = made->CreateDynaset("Aircraft");
        auto equipment = made->CreateDynaset("Equipment");
        for (int i = 0; i < kWeighings; ++i) {
            aircraft->AddNew();
            aircraft->setField("Tail", tailOf(i));
            aircraft->setField("Date", dateOf(i));
            aircraft->setField("Empty", 1500.0 + i % 100);
            aircraft->Update();
            for (int r = 0; r < kRowsPerWeighing; ++r) {
                equipment->AddNew();
                equipment->setField("Tail", tailOf(i));
                equipment->setField("Date", dateOf(i));
                equipment->setField("RowNum", r % 10);
                equipment->setField("Description", r == 0 ? "Previous A/C Empty" : "Item " + std::to_string(r));
                equipment->setField("Weight", 1.5 * r);
                equipment->setField("Install", Value::boolean(r > 0 && r < 10 && r % 2));
                equipment->setField("Remove", Value::boolean(false));
                equipment->Update();
            }
        }
        t.commit();
        made->Close();
        std::filesystem::rename(partial, path);
        return openRecordDatabase(*engine, path);
    }();
    return *db;
}

void BM_OpenBrowseSetAtFirstRow(benchmark::State& state)
{
    Database& db = database();
    for (auto _ : state) {
        auto rs = db.CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
        benchmark::DoNotOptimize(rs->field("Tail"));
    }
}
BENCHMARK(BM_OpenBrowseSetAtFirstRow);

void BM_BrowseMoveNext(benchmark::State& state)
{
    auto rs = database().CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
    for (auto _ : state) {
        rs->MoveNext();
        if (rs->IsEOF()) rs->MoveFirst();
        benchmark::DoNotOptimize(rs->field("Tail"));
    }
}
BENCHMARK(BM_BrowseMoveNext);

void BM_BrowseMovePreviousFromLast(benchmark::State& state)
{
    auto rs = database().CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
    rs->MoveLast();
    for (auto _ : state) {
        rs->MovePrevious();
        if (rs->IsBOF()) rs->MoveLast();
        benchmark::DoNotOptimize(rs->field("Tail"));
    }
}
BENCHMARK(BM_BrowseMovePreviousFromLast);

// The change-row find of showing a record: tail, date and row number.
void BM_FindEquipmentRowByKey(benchmark::State& state)
{
    auto rs = database().CreateDynaset("Equipment");
    int i = 0;
    for (auto _ : state) {
        int w = (i++ * 7919) % kWeighings;
        rs->FindFirst(Criteria("Tail", Compare::Equal, tailOf(w))
                          .And("Date", Compare::Equal, formatMmDdYyyy(dateOf(w)))
                          .And("RowNum", Compare::Equal, 3));
        if (rs->NoMatch()) state.SkipWithError("no match");
    }
}
BENCHMARK(BM_FindEquipmentRowByKey);

// The previous equipment list: the last list row of a tail in date order.
void BM_FindLastListRowOfTail(benchmark::State& state)
{
    auto rs = database().CreateDynaset(RecordSource("Equipment").OrderBy("Date"));
    int i = 0;
    for (auto _ : state) {
        rs->FindLast(Criteria("Tail", Compare::Equal, tailOf(i++ * 31))
                         .And("Install", Compare::Equal, 0)
                         .And("Remove", Compare::Equal, 0)
                         .And("Description", Compare::NotEqual, "Previous A/C Empty"));
        if (rs->NoMatch()) state.SkipWithError("no match");
    }
}
BENCHMARK(BM_FindLastListRowOfTail);

// Search by example: a Like filter on the whole browse set, then its first row.
void BM_SearchByExampleTail(benchmark::State& state)
{
    Database& db = database();
    for (auto _ : state) {
        auto all = db.CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
        all->setFilter(Criteria("Tail", Compare::Like, "N1234*"));
        auto found = all->CreateDynaset();
        benchmark::DoNotOptimize(found->IsEOF());
    }
}
BENCHMARK(BM_SearchByExampleTail);

// Save's selection of one weighing's equipment rows.
void BM_SelectWeighingRows(benchmark::State& state)
{
    Database& db = database();
    int i = 0;
    for (auto _ : state) {
        int w = (i++ * 104729) % kWeighings;
        auto rs = db.CreateDynaset(RecordSource("Equipment").Where(
            Criteria("Tail", Compare::Equal, tailOf(w)).And("Date", Compare::Equal, formatShortDate(dateOf(w)))));
        int n = 0;
        while (!rs->IsEOF()) {
            ++n;
            rs->MoveNext();
        }
        if (n != kRowsPerWeighing) state.SkipWithError("wrong row count");
    }
}
BENCHMARK(BM_SelectWeighingRows);

}  // namespace

BENCHMARK_MAIN();
