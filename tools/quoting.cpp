#include "quoting.h"

namespace wb::scenario {

std::string quoted(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '"': escaped += "\\\""; break;
        case '\\': escaped += "\\\\"; break;
        case '\t': escaped += "\\t"; break;
        case '\n': escaped += "\\n"; break;
        case '\r': escaped += "\\r"; break;
        default: escaped += c;
        }
    }
    return "\"" + escaped + "\"";
}

}  // namespace wb::scenario
