#pragma once
// The `sql` verbs: a look into the program's two database files, and one
// writing statement for preparing a fixture. Both connections offer the SQL
// function working_folder(), the runner's working folder.
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;

namespace wb::scenario {

class SqlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The runner's working folder.
std::string workingFolder();
// The settings database in the working folder.
std::string settingsFile();
// The record database in the folder stored as DataPath in the settings database.
std::string recordsFile();

// Runs one read-only query (UTF-8) and gives each row as its values joined by
// "|": NULL for no value, a date as YYYY-MM-DD, a number in its shortest form.
std::vector<std::string> queryRows(const std::string& file, const std::string& sql);

// Runs one writing statement (UTF-8) on a connection of its own, committed when
// it returns; gives the number of rows it changed.
int executeWrite(const std::string& file, const std::string& sql);

// Another program holding the file's write lock, as during its commit, from
// when it is made until it is destroyed.
class HeldLock {
public:
    explicit HeldLock(const std::string& file);
    ~HeldLock();
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

private:
    sqlite3* db_ = nullptr;
};

}  // namespace wb::scenario
