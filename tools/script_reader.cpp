#include "script_reader.h"

#include <map>
#include <set>

#include "platform/controls/control.h"
#include "platform/dates.h"
#include "platform/utf8.h"

namespace wb::scenario {

std::optional<NamedKey> namedKey(const std::string& name) {
    static const std::map<std::string, NamedKey> table = {
        {"Enter", {keys::kReturn, 13}},   {"Backspace", {keys::kBack, 8}},
        {"Escape", {keys::kEscape, 27}},  {"Tab", {keys::kTab, 0}},
        {"Delete", {keys::kDelete, 0}},   {"Up", {keys::kUp, 0}},
        {"Down", {keys::kDown, 0}},       {"Left", {keys::kLeft, 0}},
        {"Right", {keys::kRight, 0}},     {"Home", {keys::kHome, 0}},
        {"End", {keys::kEnd, 0}},         {"PageUp", {keys::kPageUp, 0}},
        {"PageDown", {keys::kPageDown, 0}},
        {"Insert", {keys::kInsert, 0}},   {"A", {'A', 0}}, {"C", {'C', 0}},
        {"V", {'V', 0}},                  {"X", {'X', 0}}, {"Z", {'Z', 0}},
    };
    auto it = table.find(name);
    if (it == table.end()) return std::nullopt;
    return it->second;
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

Arg readQuoted(const std::string& s, size_t& i, int line) {
    std::string text;
    ++i;  // opening quote
    while (true) {
        if (i >= s.size()) throw ScriptError(line, "unterminated text");
        char c = s[i++];
        if (c == '"') break;
        if (c != '\\') {
            text += c;
            continue;
        }
        if (i >= s.size()) throw ScriptError(line, "unterminated text");
        char e = s[i++];
        switch (e) {
        case '"': text += '"'; break;
        case '\\': text += '\\'; break;
        case 't': text += '\t'; break;
        case 'n': text += '\n'; break;
        case 'r': text += '\r'; break;
        case '0': text += '\0'; break;
        default: throw ScriptError(line, std::string("unknown escape \\") + e);
        }
    }
    if (i < s.size() && !isBlank(s[i]))
        throw ScriptError(line, "text must be followed by a blank");
    return {text, true};
}

bool isInteger(const Arg& a) {
    if (a.quoted || a.text.empty()) return false;
    size_t start = a.text[0] == '-' ? 1 : 0;
    if (start == a.text.size()) return false;
    for (size_t i = start; i < a.text.size(); ++i)
        if (a.text[i] < '0' || a.text[i] > '9') return false;
    return true;
}

bool isNumber(const Arg& a) {
    if (a.quoted || a.text.empty()) return false;
    size_t used = 0;
    try {
        std::stod(a.text, &used);
    } catch (const std::exception&) {
        return false;
    }
    return used == a.text.size();
}

bool isWord(const Arg& a) { return !a.quoted && !a.text.empty(); }

bool oneOf(const Arg& a, std::initializer_list<const char*> words) {
    if (a.quoted) return false;
    for (const char* w : words)
        if (a.text == w) return true;
    return false;
}

// Optional trailing words, each at most once.
bool flags(const std::vector<Arg>& args, size_t from, std::initializer_list<const char*> allowed) {
    std::set<std::string> seen;
    for (size_t i = from; i < args.size(); ++i) {
        if (!oneOf(args[i], allowed) || !seen.insert(args[i].text).second) return false;
    }
    return true;
}

}  // namespace

std::optional<Command> parseLine(const std::string& utf8, int line) {
    if (!utf8::isValid(utf8)) throw ScriptError(line, "the line is not valid UTF-8");
    Command c;
    c.line = line;
    size_t i = 0;
    std::vector<Arg> words;
    while (true) {
        while (i < utf8.size() && isBlank(utf8[i])) ++i;
        if (i >= utf8.size() || utf8[i] == '#') break;
        if (utf8[i] == '"') {
            words.push_back(readQuoted(utf8, i, line));
            continue;
        }
        size_t start = i;
        while (i < utf8.size() && !isBlank(utf8[i]) && utf8[i] != '"' && utf8[i] != '#') ++i;
        if (i < utf8.size() && utf8[i] == '"')
            throw ScriptError(line, "a text must start after a blank");
        words.push_back({utf8.substr(start, i - start), false});
    }
    if (words.empty()) return std::nullopt;
    if (words[0].quoted) throw ScriptError(line, "a line starts with a verb");
    c.verb = words[0].text;
    c.args.assign(words.begin() + 1, words.end());
    return c;
}

void checkForm(const Command& c) {
    const auto& a = c.args;
    const std::string& v = c.verb;
    auto fits = [&]() -> bool {
        if (v == "start" || v == "print-log" || v == "dump" || v == "close" || v == "close-window")
            return a.empty();
        if (v == "today")
            return a.size() == 1 && isWord(a[0]) && parseDate(a[0].text).has_value();
        if (v == "type" || v == "type-here" || v == "paste" || v == "dblclick" || v == "select" ||
            v == "expect")
            return (a.size() == 2 && isWord(a[0]) && a[1].quoted) ||
                   (v == "select" && a.size() == 3 && isWord(a[0]) && isInteger(a[1]) && isInteger(a[2]));
        if (v == "click" || v == "focus" || v == "show") return a.size() == 1 && isWord(a[0]);
        if (v == "key")
            return a.size() >= 2 && isWord(a[0]) && !a[1].quoted && namedKey(a[1].text) &&
                   flags(a, 2, {"shift", "ctrl", "alt"});
        if (v == "cell") return a.size() == 3 && isWord(a[0]) && isInteger(a[1]) && isInteger(a[2]);
        if (v == "answer") return a.size() == 1 && oneOf(a[0], {"Yes", "No", "OK", "Cancel"});
        if (v == "fontdialog") {
            if (a.size() == 1 && oneOf(a[0], {"cancel"})) return true;
            return a.size() >= 2 && a[0].quoted && isNumber(a[1]) && flags(a, 2, {"bold", "italic"});
        }
        if (v == "printerdialog") return a.size() == 1 && oneOf(a[0], {"ok", "cancel"});
        if (v == "expect-printed" || v == "expect-not-printed") return a.size() == 1 && a[0].quoted;
        if (v == "sql" || v == "sql-write")
            return a.size() == 2 && oneOf(a[0], {"records", "settings"}) && a[1].quoted;
        if (v == "expect-sql") {
            if (a.size() < 2 || !oneOf(a[0], {"records", "settings"})) return false;
            for (size_t i = 1; i < a.size(); ++i)
                if (!a[i].quoted) return false;
            return true;
        }
        if (v == "file" || v == "expect-file") return a.size() == 2 && a[0].quoted && a[1].quoted;
        if (v == "mkdir") return a.size() == 1 && a[0].quoted;
        if (v == "hold-lock" || v == "release-lock") return a.size() == 1 && oneOf(a[0], {"records", "settings"});
        if (v == "lock-wait") return a.size() == 1 && isInteger(a[0]);
        throw ScriptError(c.line, "unknown verb " + v);
    };
    if (!fits()) throw ScriptError(c.line, "bad arguments for " + v);
}

std::vector<Command> readScript(std::istream& in) {
    std::vector<Command> commands;
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        if (auto c = parseLine(text, line)) {
            checkForm(*c);
            commands.push_back(std::move(*c));
        }
    }
    return commands;
}

}  // namespace wb::scenario
