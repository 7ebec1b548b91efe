#pragma once
// What the user can do while no record database is open: the record database
// is opened only at start-up, from the data folder stored in the settings.
#include <string>

namespace wb {

class SettingsStore;

// One or two sentences naming what is missing and what to do, from what the
// settings hold now: no settings file the program can use, no data folder
// chosen yet, or a folder chosen whose record database opens at the next start.
std::string noRecordDatabaseAdvice(SettingsStore& settings);

// The title and text when the data folder cannot be stored because the
// settings file cannot be used.
std::string settingsNotStoredTitle();
std::string settingsNotStoredText();

}  // namespace wb
