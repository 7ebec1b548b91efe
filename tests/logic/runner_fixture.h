#pragma once
// Runs the built wb-scenario on a small script in a temporary folder and keeps
// its output and exit status.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace runner_fixture {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string output;
};

inline fs::path runnerPath() {
    return fs::read_symlink("/proc/self/exe").parent_path() / "wb-scenario";
}

inline bool contains(const std::string& haystack, const std::string& needle) {
    return haystack.find(needle) != std::string::npos;
}

inline void makeDatabase(const fs::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << error;
    sqlite3_free(error);
    sqlite3_close(db);
}

// A fresh temporary folder_ that holds the script; the runner gets only the
// options a test gives.
class RunnerFolderFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(runnerPath())) << "build wb-scenario first: " << runnerPath();
        std::string pattern = (fs::temp_directory_path() / "runner-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Runs the script with these command-line options; keeps stdout and stderr.
    Outcome run(const std::string& script, const std::string& options = "") {
        fs::path file = folder_ / "script.wbs";
        std::ofstream(file) << script;
        std::string command = runnerPath().string() + " " + options + " " + file.string() + " 2>&1";
        Outcome result;
        FILE* pipe = popen(command.c_str(), "r");
        std::array<char, 4096> buffer;
        size_t n;
        while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.output.append(buffer.data(), n);
        int raw = pclose(pipe);
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return result;
    }

    fs::path folder_;
};

// Also a working folder work_, made up front, that every run is given.
class RunnerFixture : public RunnerFolderFixture {
protected:
    void SetUp() override {
        RunnerFolderFixture::SetUp();
        if (HasFatalFailure()) return;
        work_ = folder_ / "work";
        fs::create_directories(work_);
    }

    // Runs the script with the working folder work_.
    Outcome run(const std::string& script) { return RunnerFolderFixture::run(script, "--cwd " + work_.string()); }

    fs::path work_;
};

}  // namespace runner_fixture
