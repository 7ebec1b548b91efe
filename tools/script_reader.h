#pragma once
// Reads a scenario script: one verb a line, "#" starts a comment, texts in double
// quotes with \" \\ \t \n \r escapes. Every line's form is checked before anything
// runs; names are resolved later, against the running program.
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace wb::scenario {

struct Arg {
    std::string text;  // UTF-8
    bool quoted = false;
};

struct Command {
    int line = 0;
    std::string verb;
    std::vector<Arg> args;
};

class ScriptError : public std::runtime_error {
public:
    ScriptError(int line, const std::string& message)
        : std::runtime_error(message), line_(line) {}
    int line() const { return line_; }
private:
    int line_;
};

// A key the `key` verb names: its KeyDown code and, for character keys, the
// code of its KeyPress (0 for none).
struct NamedKey {
    int keyCode;
    int keyAscii;
};
std::optional<NamedKey> namedKey(const std::string& name);

// Splits one line (UTF-8) into its verb and arguments; nothing for a blank or
// comment line. Throws ScriptError for bad quoting or a line that is not valid UTF-8.
std::optional<Command> parseLine(const std::string& utf8, int line);

// Throws ScriptError when the verb is unknown or its arguments do not fit it.
void checkForm(const Command& c);

// Every command of a script, each checked.
std::vector<Command> readScript(std::istream& in);

}  // namespace wb::scenario
