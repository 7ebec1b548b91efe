#pragma once
// What a NAME in a script reads: controls and their properties, Focus, the main
// window's module variables and array elements, grid rows and cells, the last
// message box and whether the program has ended.
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace wb {
class Program;
class Control;
class Form;
}

namespace wb::scenario {

class ScriptedDialogs;

class UnknownName : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct NameContext {
    const Program* program = nullptr;  // null before the first start
    const ScriptedDialogs& dialogs;
    bool ended = false;
};

// The value NAME reads (UTF-8); throws UnknownName.
std::string readName(const NameContext& context, const std::string& name);

// Every readable NAME with its value, for `dump`.
std::vector<std::pair<std::string, std::string>> readAll(const NameContext& context);

// The control NAME names on the main window, else on the splash window; null when
// there is none.
Control* findControl(const Program* program, const std::string& name);

}  // namespace wb::scenario
