#pragma once
// Opening the record database at the main window's first activation
// (Form1::FirstActivate): the helpers that can be tested on their own.
#include <string>

namespace wb {

// The text of every message box that reports a database that cannot be used.
inline constexpr const char* kPressOkToContinue = "Press OK to continue";

// The record database's full name in a stored folder: one "/" always goes
// between the folder and "KORRIN.MDB", whatever the folder ends with.
std::string recordDatabasePath(const std::string& dataPath);

// The title of the message box telling why the database file `path` cannot be
// used, from the engine's error number.
std::string databaseProblemTitle(int errorNumber, const std::string& path);

class RuntimeError;

// The title of the message box telling that `what` ("Not saved", "Not
// deleted", ...) was not stored in the file `path`, and why.
std::string notStoredTitle(const std::string& what, const RuntimeError& why, const std::string& path);

}  // namespace wb
