#pragma once
// Another program's connection holding a database file: writing (an
// immediate or exclusive transaction, as during its commit) or reading (a
// read transaction, which a commit must wait for), until released.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

namespace wb::testing {

class OtherInstance {
public:
    OtherInstance(const std::string& path, const char* hold) {
        sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        EXPECT_EQ(sqlite3_exec(db_, hold, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db_);
    }
    ~OtherInstance() { release(); }
    OtherInstance(const OtherInstance&) = delete;
    OtherInstance& operator=(const OtherInstance&) = delete;
    void release() {
        if (!db_) return;
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
        db_ = nullptr;
    }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace wb::testing
