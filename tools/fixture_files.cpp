#include "fixture_files.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace wb::scenario {

namespace {

// Names are UTF-8 like every script text; the file system takes them as bytes.
fs::path inWorkingFolder(const std::string& name) {
    const FixtureError outside("not a name inside the working folder: " + name);
    fs::path relative(name);
    if (name.empty() || relative.is_absolute()) throw outside;
    for (const fs::path& part : relative)
        if (part == "..") throw outside;
    return fs::current_path() / relative;
}

}  // namespace

void writeFixtureFile(const std::string& name, const std::string& bytes) {
    fs::path file = inWorkingFolder(name);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw FixtureError("cannot write " + name);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw FixtureError("cannot write " + name);
}

std::optional<std::string> readFixtureFile(const std::string& name) {
    fs::path file = inWorkingFolder(name);
    if (!fs::is_regular_file(file)) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void makeFixtureFolder(const std::string& name) {
    fs::path folder = inWorkingFolder(name);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder)) throw FixtureError("cannot make the folder " + name);
}

}  // namespace wb::scenario
