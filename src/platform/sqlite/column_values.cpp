#include "platform/sqlite/column_values.h"

#include <cctype>
#include <cmath>

#include "platform/dates.h"
#include "platform/numbers.h"
#include "platform/utf8.h"

namespace wb::sqlite {

namespace {

constexpr int kDefaultTextSize = 255;

[[noreturn]] void mismatch(const FieldDef& field)
{
    throw RuntimeError(dberr::kTypeMismatch, "Data type conversion error in field " + field.name);
}

bool isBlankText(const Value& v)
{
    return v.isText() && v.toText().find_first_not_of(" \t") == std::string::npos;
}

std::optional<double> numberOf(const Value& v)
{
    switch (v.kind()) {
    case Value::Kind::Number: return v.toNumber();
    case Value::Kind::Boolean: return v.toBool() ? -1.0 : 0.0;
    case Value::Kind::Text:
        if (isNumericText(v.toText())) return v.toNumber();
        return std::nullopt;
    default: return std::nullopt;
    }
}

std::optional<std::int64_t> booleanOf(const Value& v)
{
    if (v.isText()) {
        std::string t = v.toText();
        for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (t == "true" || t == "yes" || t == "on") return -1;
        if (t == "false" || t == "no" || t == "off") return 0;
    }
    std::optional<double> n = numberOf(v);
    if (!n) return std::nullopt;
    return *n != 0 ? -1 : 0;
}

std::optional<std::string> isoDateOf(const Value& v)
{
    if (v.isDate()) return formatIsoDate(v.toDate());
    if (v.isText()) {
        if (std::optional<Date> d = parseDate(v.toText())) return formatIsoDate(*d);
    }
    return std::nullopt;
}

std::optional<std::int64_t> wholeNumberOf(const Value& v)
{
    std::optional<double> n = numberOf(v);
    if (!n || !std::isfinite(*n) || std::fabs(*n) > 9.2e18) return std::nullopt;
    return static_cast<std::int64_t>(std::nearbyint(*n));  // half to even
}

}  // namespace

std::string columnDeclaration(const FieldDef& field)
{
    switch (field.type) {
    case FieldType::Text:
        return "TEXT(" + std::to_string(field.size > 0 ? field.size : kDefaultTextSize) + ") COLLATE NOCASE";
    case FieldType::Memo: return "LONGTEXT COLLATE NOCASE";
    case FieldType::Double: return "DOUBLE";
    case FieldType::Long: return "INTEGER";
    case FieldType::Boolean: return "BOOLEAN";
    case FieldType::Date: return "DATE";
    }
    return "";
}

std::optional<FieldDef> fieldFromDeclaredType(const std::string& name, const std::string& declaredType)
{
    std::string t;
    for (char c : declaredType) t += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    FieldDef f{name, FieldType::Memo, 0};
    if (t.rfind("TEXT", 0) == 0) {
        f.type = FieldType::Text;
        size_t open = t.find('(');
        if (open != std::string::npos) f.size = std::atoi(t.c_str() + open + 1);
    } else if (t == "DOUBLE") {
        f.type = FieldType::Double;
    } else if (t == "INTEGER") {
        f.type = FieldType::Long;
    } else if (t == "BOOLEAN") {
        f.type = FieldType::Boolean;
    } else if (t == "DATE") {
        f.type = FieldType::Date;
    }
    const std::string declaration = columnDeclaration(f);
    if (t != declaration.substr(0, declaration.find(' '))) return std::nullopt;
    return f;
}

SqlValue storedValue(const FieldDef& field, const Value& v)
{
    if (v.isNull() || v.isEmpty()) return std::monostate{};
    switch (field.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        std::string text = v.toText();
        int limit = field.size > 0 ? field.size : kDefaultTextSize;
        if (field.type == FieldType::Text && utf8::length(text) > static_cast<std::size_t>(limit)) {
            throw RuntimeError(dberr::kFieldTooSmall,
                               "The field " + field.name + " is too small for the data");
        }
        return text;
    }
    case FieldType::Double: {
        if (isBlankText(v)) return std::monostate{};
        std::optional<double> n = numberOf(v);
        if (!n) mismatch(field);
        // As SQLite stores them: a NaN as no value, -0 as 0.
        if (std::isnan(*n)) return std::monostate{};
        return *n == 0 ? 0.0 : *n;
    }
    case FieldType::Long: {
        if (isBlankText(v)) return std::monostate{};
        std::optional<std::int64_t> n = wholeNumberOf(v);
        if (!n) mismatch(field);
        return *n;
    }
    case FieldType::Boolean: {
        if (isBlankText(v)) return std::monostate{};
        std::optional<std::int64_t> b = booleanOf(v);
        if (!b) mismatch(field);
        return *b;
    }
    case FieldType::Date: {
        if (isBlankText(v)) return std::monostate{};
        std::optional<std::string> iso = isoDateOf(v);
        if (!iso) mismatch(field);
        return *iso;
    }
    }
    return std::monostate{};
}

Value readValue(const FieldDef& field, SqlValue stored)
{
    if (isNull(stored)) return Value::null();
    // Text written by another program may hold broken UTF-8.
    std::string* storedText = std::get_if<std::string>(&stored);
    if (storedText && !utf8::isValid(*storedText)) *storedText = utf8::sanitize(*storedText);
    auto asText = [&]() -> std::string {
        if (storedText) return *storedText;
        if (auto i = std::get_if<std::int64_t>(&stored)) return std::to_string(*i);
        return numberToText(std::get<double>(stored));
    };
    auto asNumber = [&]() -> std::optional<double> {
        if (auto i = std::get_if<std::int64_t>(&stored)) return static_cast<double>(*i);
        if (auto d = std::get_if<double>(&stored)) return *d;
        std::string text = asText();
        if (isNumericText(text)) return parseLeadingNumber(text);
        return std::nullopt;
    };
    switch (field.type) {
    case FieldType::Text:
    case FieldType::Memo: return storedText ? Value(std::move(*storedText)) : Value(asText());
    case FieldType::Double:
    case FieldType::Long: {
        if (std::optional<double> n = asNumber()) return Value(*n);
        return Value(asText());
    }
    case FieldType::Boolean: {
        if (std::optional<double> n = asNumber()) return Value::boolean(*n != 0);
        return Value(asText());
    }
    case FieldType::Date: {
        std::string text = asText();
        if (std::optional<Date> d = parseDate(text)) return Value(*d);
        return Value(text);
    }
    }
    return Value::null();
}

Value readColumn(const FieldDef& field, const Statement& s, int index)
{
    const bool number = field.type == FieldType::Double || field.type == FieldType::Long;
    // One lookup of the column; its value object is then read directly.
    sqlite3_value* v = s.columnValue(index);
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: return Value::null();
    case SQLITE_FLOAT:
        if (number) return Value(sqlite3_value_double(v));
        if (field.type == FieldType::Boolean) return Value::boolean(sqlite3_value_double(v) != 0);
        break;
    case SQLITE_INTEGER:
        if (number) return Value(static_cast<double>(sqlite3_value_int64(v)));
        if (field.type == FieldType::Boolean) return Value::boolean(sqlite3_value_int64(v) != 0);
        break;
    case SQLITE_TEXT: {
        const unsigned char* bytes = sqlite3_value_text(v);
        const std::string_view text(reinterpret_cast<const char*>(bytes), static_cast<size_t>(sqlite3_value_bytes(v)));
        if (field.type == FieldType::Text || field.type == FieldType::Memo) {
            if (utf8::isValid(text)) return Value(std::string(text));
        }
        if (field.type == FieldType::Date) {
            // How dates are stored: the first form any date text is read in.
            if (std::optional<Date> d = parseIsoDate(text)) return Value(*d);
        }
        break;
    }
    default: break;
    }
    return readValue(field, s.column(index));
}

std::optional<SqlValue> criterionValue(const FieldDef& field, const Value& v)
{
    if (v.isNull()) return std::nullopt;
    switch (field.type) {
    case FieldType::Text:
    case FieldType::Memo: return SqlValue(v.toText());
    case FieldType::Double: {
        std::optional<double> n = numberOf(v);
        if (!n) return std::nullopt;
        return SqlValue(*n);
    }
    case FieldType::Long: {
        std::optional<double> n = numberOf(v);
        if (!n) return std::nullopt;
        return SqlValue(*n);
    }
    case FieldType::Boolean: {
        std::optional<std::int64_t> b;
        if (v.isNumber()) {
            double n = v.toNumber();
            return SqlValue(n);
        }
        b = booleanOf(v);
        if (!b) return std::nullopt;
        return SqlValue(*b);
    }
    case FieldType::Date: {
        std::optional<std::string> iso = isoDateOf(v);
        if (!iso) return std::nullopt;
        return SqlValue(*iso);
    }
    }
    return std::nullopt;
}

}  // namespace wb::sqlite
