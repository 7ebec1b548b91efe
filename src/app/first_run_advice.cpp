#include "app/first_run_advice.h"

#include "app/settings_store.h"
#include "platform/database.h"

namespace wb {

namespace {

constexpr const char* kOpensAtNextStart = "the record database opens when the program is started again.";

}  // namespace

std::string settingsNotStoredTitle() {
    return std::string("Not saved: the settings file ") + SettingsStore::kFileName + " cannot be used";
}

std::string settingsNotStoredText() {
    return std::string("The data folder is kept in ") + SettingsStore::kFileName +
           " in the folder the program is started from. Start the program from a folder where it "
           "can write that file, then choose the data folder again.";
}

std::string noRecordDatabaseAdvice(SettingsStore& settings) {
    Value dataPath;
    try {
        dataPath = settings.row().field("DataPath");
    } catch (const RuntimeError&) {
        return settingsNotStoredText();
    }
    if (dataPath.isNull() || dataPath.isEmpty() || dataPath.toText().empty())
        return std::string("No data folder is chosen yet. Choose it with Set-up, Path and Save; ") +
               kOpensAtNextStart;
    return "The data folder is " + dataPath.toText() + "; " + kOpensAtNextStart;
}

}  // namespace wb
