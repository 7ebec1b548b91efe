#pragma once
// Files and folders a script prepares or checks, always inside the working
// folder: a name must be relative and must not climb out with "..".
#include <optional>
#include <stdexcept>
#include <string>

namespace wb::scenario {

class FixtureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes the bytes as the file NAME, replacing one that is there. The folder
// it goes into must exist.
void writeFixtureFile(const std::string& name, const std::string& bytes);

// The bytes of the file NAME; nothing when there is no such file.
std::optional<std::string> readFixtureFile(const std::string& name);

// Makes the folder NAME and the folders above it that are missing.
void makeFixtureFolder(const std::string& name);

}  // namespace wb::scenario
