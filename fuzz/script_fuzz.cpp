// The scenario-script reader on any bytes: it fails only with ScriptError, a
// line that is not valid UTF-8 is refused, and every line it reads, written out
// again, reads back the same.
#include <cstdint>
#include <sstream>
#include <string>

#include "check.h"
#include "platform/utf8.h"
#include "quoting.h"
#include "script_reader.h"

using namespace wb::scenario;

namespace {

std::string written(const Command& c) {
    std::string line = c.verb;
    for (const Arg& a : c.args) line += " " + (a.quoted ? quoted(a.text) : a.text);
    return line;
}

void checkLine(const std::string& text) {
    std::optional<Command> c;
    try {
        c = parseLine(text, 1);
    } catch (const ScriptError& e) {
        FUZZ_CHECK(e.line() == 1);
        return;
    }
    FUZZ_CHECK(wb::utf8::isValid(text));
    if (!c) return;
    FUZZ_CHECK(!c->verb.empty());
    const std::optional<Command> again = parseLine(written(*c), 1);
    FUZZ_CHECK(again && again->verb == c->verb && again->args.size() == c->args.size());
    for (size_t i = 0; i < c->args.size(); ++i) {
        FUZZ_CHECK(again->args[i].text == c->args[i].text);
        FUZZ_CHECK(again->args[i].quoted == c->args[i].quoted);
    }
    try {
        checkForm(*c);
    } catch (const ScriptError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) checkLine(line);

    std::istringstream script(bytes);
    try {
        for (const Command& c : readScript(script)) FUZZ_CHECK(c.line >= 1 && !c.verb.empty());
    } catch (const ScriptError& e) {
        FUZZ_CHECK(e.line() >= 1);
    }
    return 0;
}
