#include "common/json.hpp"

#include "common/float_text.hpp"

#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace siacci::json {

const Value* Value::find(std::string_view key) const
{
    for (const Member& m : m_object)
        if (m.first == key)
            return &m.second;
    return nullptr;
}

Value& Value::set(std::string_view key, Value value)
{
    m_kind = Kind::Object;
    for (Member& m : m_object)
        if (m.first == key) {
            m.second = std::move(value);
            return *this;
        }
    m_object.emplace_back(std::string(key), std::move(value));
    return *this;
}

Value& Value::push(Value value)
{
    m_kind = Kind::Array;
    m_array.push_back(std::move(value));
    return *this;
}

namespace {

constexpr int kDeepest = 64; // an armoury is four levels deep

// The length of the UTF-8 character at the start of `bytes` (1 to 4), or 0 when the bytes are no
// UTF-8: a stray continuation byte, a lead byte above 0xF4, a sequence cut short, an overlong
// form ("\xC0\xAF" for '/'), a surrogate half (U+D800 to U+DFFF), a code point past U+10FFFF.
std::size_t utf8Length(std::string_view bytes)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || bytes.size() < length)
        return 0;
    std::uint32_t c = length == 1 ? lead : length == 2 ? lead & 0x1Fu : length == 3 ? lead & 0x0Fu : lead & 0x07u;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (byte(i) & 0x3Fu);
    }
    static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return length;
}

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    Reading run()
    {
        Value v;
        skipBlanks();
        if (!value(v, 0))
            return {std::nullopt, m_problem};
        skipBlanks();
        if (m_at != m_text.size())
            return {std::nullopt, "testo in più dopo la fine del documento"};
        return {std::move(v), {}};
    }

private:
    bool fail(const char* what)
    {
        if (m_problem.empty())
            m_problem = std::string(what) + " al carattere " + std::to_string(m_at + 1);
        return false;
    }
    bool atEnd() const { return m_at >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_at]; }
    void skipBlanks()
    {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
            ++m_at;
    }
    bool literal(std::string_view word)
    {
        if (m_text.substr(m_at, word.size()) != word)
            return fail("valore non valido");
        m_at += word.size();
        return true;
    }

    bool value(Value& out, int depth)
    {
        if (depth > kDeepest)
            return fail("documento annidato troppo in profondità");
        switch (peek()) {
        case '{': return object(out, depth);
        case '[': return array(out, depth);
        case '"': {
            std::string s;
            if (!string(s))
                return false;
            out = Value(std::move(s));
            return true;
        }
        case 't': out = Value(true); return literal("true");
        case 'f': out = Value(false); return literal("false");
        case 'n': out = Value(); return literal("null");
        default: return number(out);
        }
    }

    bool object(Value& out, int depth)
    {
        // A repeated key: the last one counts, in the place of the first. The index keeps a
        // hostile object of a million keys from costing a million squared comparisons.
        Value::Object members;
        std::unordered_map<std::string, std::size_t> index;
        ++m_at;
        skipBlanks();
        if (peek() == '}') {
            ++m_at;
            out = Value::object(std::move(members));
            return true;
        }
        for (;;) {
            skipBlanks();
            if (peek() != '"')
                return fail("manca il nome di un campo");
            std::string key;
            if (!string(key))
                return false;
            skipBlanks();
            if (peek() != ':')
                return fail("mancano i due punti");
            ++m_at;
            skipBlanks();
            Value v;
            if (!value(v, depth + 1))
                return false;
            if (const auto it = index.find(key); it != index.end()) {
                members[it->second].second = std::move(v);
            } else {
                index.emplace(key, members.size());
                members.emplace_back(std::move(key), std::move(v));
            }
            skipBlanks();
            if (peek() == ',') {
                ++m_at;
                continue;
            }
            if (peek() == '}') {
                ++m_at;
                out = Value::object(std::move(members));
                return true;
            }
            return fail("manca una virgola o la parentesi di chiusura");
        }
    }

    bool array(Value& out, int depth)
    {
        out = Value::array();
        ++m_at;
        skipBlanks();
        if (peek() == ']') {
            ++m_at;
            return true;
        }
        for (;;) {
            skipBlanks();
            Value v;
            if (!value(v, depth + 1))
                return false;
            out.push(std::move(v));
            skipBlanks();
            if (peek() == ',') {
                ++m_at;
                continue;
            }
            if (peek() == ']') {
                ++m_at;
                return true;
            }
            return fail("manca una virgola o la parentesi di chiusura");
        }
    }

    static void appendUtf8(std::string& s, std::uint32_t cp)
    {
        if (cp < 0x80) {
            s += static_cast<char>(cp);
        } else if (cp < 0x800) {
            s += static_cast<char>(0xC0 | (cp >> 6));
            s += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            s += static_cast<char>(0xE0 | (cp >> 12));
            s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            s += static_cast<char>(0xF0 | (cp >> 18));
            s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    bool hex4(std::uint32_t& cp)
    {
        if (m_text.size() - m_at < 4)
            return fail("sequenza \\u incompleta");
        cp = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = m_text[m_at++];
            cp <<= 4;
            if (h >= '0' && h <= '9') cp |= static_cast<std::uint32_t>(h - '0');
            else if (h >= 'a' && h <= 'f') cp |= static_cast<std::uint32_t>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F') cp |= static_cast<std::uint32_t>(h - 'A' + 10);
            else return fail("sequenza \\u non valida");
        }
        return true;
    }

    bool string(std::string& out)
    {
        ++m_at; // the opening quote
        for (;;) {
            if (atEnd())
                return fail("testo non chiuso");
            const char c = peek();
            if (c == '"') {
                ++m_at;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return fail("carattere di controllo in un testo");
            if (c != '\\') {
                // Every text the reader gives is UTF-8, whatever bytes the file held.
                const std::size_t length = utf8Length(m_text.substr(m_at));
                if (length == 0)
                    return fail("testo non in UTF-8");
                out.append(m_text.substr(m_at, length));
                m_at += length;
                continue;
            }
            ++m_at;
            if (atEnd())
                return fail("testo non chiuso");
            const char e = m_text[m_at++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                std::uint32_t cp = 0;
                if (!hex4(cp))
                    return false;
                if (cp >= 0xD800 && cp <= 0xDBFF) {
                    std::uint32_t low = 0;
                    if (m_text.substr(m_at, 2) != "\\u")
                        return fail("sequenza \\u non valida");
                    m_at += 2;
                    if (!hex4(low))
                        return false;
                    if (low < 0xDC00 || low > 0xDFFF)
                        return fail("sequenza \\u non valida");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                    return fail("sequenza \\u non valida");
                }
                appendUtf8(out, cp);
                break;
            }
            default: return fail("sequenza di escape non valida");
            }
        }
    }

    // A number out of a double's range is too small (rather than too large) when its exponent
    // is negative, or, without one, when it has no digit but 0 before the point.
    static bool tooSmall(std::string_view number)
    {
        const std::size_t e = number.find_first_of("eE");
        if (e != std::string_view::npos)
            return e + 1 < number.size() && number[e + 1] == '-';
        const std::size_t digit = number.find_first_of("123456789");
        const std::size_t point = number.find('.');
        return point != std::string_view::npos && digit > point;
    }

    bool number(Value& out)
    {
        const std::size_t start = m_at;
        const auto digits = [this] {
            const std::size_t from = m_at;
            while (!atEnd() && peek() >= '0' && peek() <= '9')
                ++m_at;
            return m_at > from;
        };
        if (peek() == '-')
            ++m_at;
        if (peek() == '0')
            ++m_at;
        else if (!digits())
            return fail("valore non valido");
        if (peek() == '.') {
            ++m_at;
            if (!digits())
                return fail("numero non valido");
        }
        if (peek() == 'e' || peek() == 'E') {
            ++m_at;
            if (peek() == '+' || peek() == '-')
                ++m_at;
            if (!digits())
                return fail("numero non valido");
        }
        const char* first = m_text.data() + start;
        const char* last = m_text.data() + m_at;
        double v = 0;
        const auto [end, ec] = fromChars(first, last, v);
        if (ec == std::errc::result_out_of_range && tooSmall(std::string_view(first, m_at - start))) {
            out = Value(0.0); // too small to tell from zero
            return true;
        }
        // Too large cannot be a value of any document of ours.
        if (ec != std::errc() || end != last || !std::isfinite(v))
            return fail("numero fuori misura");
        out = Value(v);
        return true;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    std::string m_problem;
};

void writeString(std::string& out, const std::string& s)
{
    out += '"';
    for (const char ch : s) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                static const char* hex = "0123456789abcdef";
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 0xF];
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

void writeNumber(std::string& out, double n)
{
    if (!std::isfinite(n)) {
        out += "null";
        return;
    }
    if (n == 0) {
        out += '0';
        return;
    }
    char buffer[64];
    const auto r = toChars(buffer, buffer + sizeof buffer, n);
    out.append(buffer, r.ptr);
}

void writeValue(std::string& out, const Value& v, int indent, int level)
{
    const auto newline = [&](int l) {
        if (indent > 0) {
            out += '\n';
            out.append(static_cast<std::size_t>(indent * l), ' ');
        }
    };
    switch (v.kind()) {
    case Value::Kind::Null: out += "null"; break;
    case Value::Kind::Bool: out += v.boolean() ? "true" : "false"; break;
    case Value::Kind::Number: writeNumber(out, v.number()); break;
    case Value::Kind::String: writeString(out, v.string()); break;
    case Value::Kind::Array:
        out += '[';
        for (std::size_t i = 0; i < v.items().size(); ++i) {
            if (i)
                out += ',';
            newline(level + 1);
            writeValue(out, v.items()[i], indent, level + 1);
        }
        if (!v.items().empty())
            newline(level);
        out += ']';
        break;
    case Value::Kind::Object:
        out += '{';
        for (std::size_t i = 0; i < v.members().size(); ++i) {
            if (i)
                out += ',';
            newline(level + 1);
            writeString(out, v.members()[i].first);
            out += indent > 0 ? ": " : ":";
            writeValue(out, v.members()[i].second, indent, level + 1);
        }
        if (!v.members().empty())
            newline(level);
        out += '}';
        break;
    }
}

} // namespace

bool validUtf8(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t length = utf8Length(text);
        if (length == 0)
            return false;
        text.remove_prefix(length);
    }
    return true;
}

Reading parse(std::string_view text)
{
    return Parser(text).run();
}

std::string write(const Value& value, int indent)
{
    std::string out;
    writeValue(out, value, indent, 0);
    if (indent > 0)
        out += '\n';
    return out;
}

} // namespace siacci::json
