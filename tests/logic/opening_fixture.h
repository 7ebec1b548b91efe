#pragma once
// A headless main window on real SQLite files: a fresh working folder (made the
// current folder, where "SetupVASK.MDB" is looked for), helpers that prepare
// the settings row and a record database, and start(), which runs the main
// window's load and first activation as at start-up.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include "platform/sqlite/sqlite_engine.h"
#include "records/record_files.h"
#include "logic/main_window_fixture.h"

namespace wb::testing {

namespace fs = std::filesystem;

class WorkingFolder {
public:
    // A new folder below `base` (the system's temporary folder when empty).
    explicit WorkingFolder(const std::string& base = "") {
        std::string pattern = ((base.empty() ? fs::temp_directory_path() : fs::path(base)) / "wb-opening-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        previous_ = fs::current_path();
        fs::current_path(path_);
    }
    ~WorkingFolder() {
        std::error_code ignored;
        fs::current_path(previous_, ignored);
        fs::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
    fs::path previous_;
};

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct OpeningFixture {
    WorkingFolder folder;
    std::unique_ptr<DatabaseEngine> engine = makeSqliteEngine();
    FakeDialogs dialogs;
    FixedClock clock{Date{2004, 3, 9}};
    Services services;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<Form1> form;

    // The working folder is made below `base` (the system's temporary folder
    // when empty).
    explicit OpeningFixture(const std::string& base = "") : folder(base) {
        services.dialogs = &dialogs;
        services.clock = &clock;
        services.databases = engine.get();
        services.endProgram = [] { ADD_FAILURE() << "the program ended"; };
    }
    ~OpeningFixture() {
        form.reset();
        store.reset();
    }

    // A settings database in the working folder with its row set so.
    void settings(const std::optional<std::string>& dataPath, const std::optional<std::string>& phone = {}) {
        auto db = createSettingsDatabase(*engine, SettingsStore::kFileName);
        auto rs = db->CreateDynaset("Company");
        rs->Edit();
        rs->setField("DataPath", dataPath ? Value(*dataPath) : Value::null());
        rs->setField("CompanyPhone", phone ? Value(*phone) : Value::null());
        rs->Update();
        db->Close();
    }

    // A sub-folder of the working folder.
    std::string subFolder(const std::string& name) {
        fs::create_directories(folder.file(name));
        return folder.file(name);
    }

    // A new record database in the folder whose shop row gets these fields
    // (a missing key keeps the new row's value; an absent optional is Null).
    std::shared_ptr<Database> recordDatabase(const std::string& dir,
                                             const std::map<std::string, Value>& shop = {}) {
        auto db = createRecordDatabase(*engine, dir + "/" + kRecordDatabaseName);
        if (!shop.empty()) {
            auto rs = db->CreateDynaset("CompanyInfo");
            rs->Edit();
            for (const auto& [name, value] : shop) rs->setField(name, value);
            rs->Update();
        }
        return db;
    }

    // A shop row with every required field filled in.
    static std::map<std::string, Value> fullShop() {
        return {{"CompName", Value("Korrin Aviation")}, {"CompAddress", Value("1 Field Rd")},
                {"CompCSZ", Value("Hays, KS 67601")},   {"FormTitle", Value("Weight and Balance")},
                {"EquipTitle", Value("Equipment List")}, {"Mechanic", Value("J. Smith")},
                {"Cert", Value("A1234")},                {"PrintCo", Value(-1.0)},
                {"PrintCG", Value(1.0)},                 {"PrintMech", Value(0.0)},
                {"PrintNotes", Value(1.0)}};
    }

    // The main window's load, showing and first activation, as at start-up.
    Form1& start() {
        store = std::make_unique<SettingsStore>(services);
        form = std::make_unique<Form1>(services, *store);
        form->dispatch([&] { form->Load(); });
        form->setVisible(true);
        if (!form->focused()) form->dispatch([&] { form->tabForward(); });
        form->dispatch([&] { form->Activate(); });
        return *form;
    }
    // Closes this run; a later start() is the next run in the same folder.
    void stop() {
        form.reset();
        store.reset();
    }

    Form1& f() { return *form; }
    std::string focus() const { return form->focused() ? form->focused()->name() : ""; }
};

}  // namespace wb::testing
