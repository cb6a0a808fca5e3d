#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A small JSON document model, its reader and its writer, for the documents the program
// exchanges with other programs and with the web page (the armoury, the page's session). The
// reader takes RFC 8259 text only (no comments, no trailing commas, texts in UTF-8), nests at most
// 64 levels and keeps the members of an object in their order (a repeated key: the last value
// counts); a number too small for a double reads 0, one too large is refused. The writer writes
// numbers in their shortest exact form, strings as they are with the characters JSON requires
// escaped.
namespace siacci::json {

class Value {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };
    using Array = std::vector<Value>;
    using Member = std::pair<std::string, Value>;
    using Object = std::vector<Member>;

    Value() = default;
    Value(std::nullptr_t) {}
    Value(bool b) : m_kind(Kind::Bool), m_bool(b) {}
    Value(double n) : m_kind(Kind::Number), m_number(n) {}
    Value(int n) : m_kind(Kind::Number), m_number(n) {}
    Value(long n) : m_kind(Kind::Number), m_number(static_cast<double>(n)) {}
    Value(std::string s) : m_kind(Kind::String), m_string(std::move(s)) {}
    Value(const char* s) : m_kind(Kind::String), m_string(s) {}
    Value(std::string_view s) : m_kind(Kind::String), m_string(s) {}
    Value(Array a) : m_kind(Kind::Array), m_array(std::move(a)) {}
    static Value object() { Value v; v.m_kind = Kind::Object; return v; }
    static Value array() { Value v; v.m_kind = Kind::Array; return v; }
    // An object of these members, as they are (no two keys alike, as the reader makes them).
    static Value object(Object members) { Value v = object(); v.m_object = std::move(members); return v; }
    // An optional number: null when empty.
    static Value optional(const std::optional<double>& n) { return n ? Value(*n) : Value(); }

    Kind kind() const { return m_kind; }
    bool isNull() const { return m_kind == Kind::Null; }
    bool isBool() const { return m_kind == Kind::Bool; }
    bool isNumber() const { return m_kind == Kind::Number; }
    bool isString() const { return m_kind == Kind::String; }
    bool isArray() const { return m_kind == Kind::Array; }
    bool isObject() const { return m_kind == Kind::Object; }

    bool boolean() const { return m_bool; }
    double number() const { return m_number; }
    const std::string& string() const { return m_string; }
    const Array& items() const { return m_array; }
    const Object& members() const { return m_object; }

    // The member of an object with this key, or nullptr (also when this is no object).
    const Value* find(std::string_view key) const;
    // Sets a member of an object (replaced when present, appended otherwise); returns *this.
    Value& set(std::string_view key, Value value);
    // Appends to an array; returns *this.
    Value& push(Value value);

private:
    Kind m_kind = Kind::Null;
    bool m_bool = false;
    double m_number = 0;
    std::string m_string;
    Array m_array;
    Object m_object;
};

struct Reading {
    std::optional<Value> value;
    // In Italian, with the character (byte) it was found at, when value is empty:
    // "testo non in UTF-8 al carattere 2".
    std::string problem;
};
Reading parse(std::string_view text);

// Whether the bytes are UTF-8 throughout (no overlong form, surrogate half, cut sequence, byte
// above 0xF4 or code point past U+10FFFF).
bool validUtf8(std::string_view text);

// Compact, or indented by `indent` spaces a level (0: compact). A number that is not finite is
// written as null: JSON has no NaN.
std::string write(const Value& value, int indent = 0);

} // namespace siacci::json
