#include "common/json.hpp"

#include "common/float_text.hpp"

#include <cmath>

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

constexpr int kDeepest = 64;

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
            return {std::nullopt, failure("testo dopo la fine del documento")};
        return {std::move(v), {}};
    }

private:
    std::string failure(const std::string& what)
    {
        if (m_problem.empty())
            m_problem = what + " (al carattere " + std::to_string(m_at + 1) + ")";
        return m_problem;
    }
    bool fail(const std::string& what)
    {
        failure(what);
        return false;
    }
    void skipBlanks()
    {
        while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t' ||
                                        m_text[m_at] == '\n' || m_text[m_at] == '\r'))
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
        if (m_at >= m_text.size())
            return fail("documento incompleto");
        const char c = m_text[m_at];
        switch (c) {
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
        out = Value::object();
        ++m_at;
        skipBlanks();
        if (m_at < m_text.size() && m_text[m_at] == '}') {
            ++m_at;
            return true;
        }
        for (;;) {
            skipBlanks();
            std::string key;
            if (m_at >= m_text.size() || m_text[m_at] != '"')
                return fail("atteso il nome di un campo");
            if (!string(key))
                return false;
            skipBlanks();
            if (m_at >= m_text.size() || m_text[m_at] != ':')
                return fail("attesi i due punti");
            ++m_at;
            skipBlanks();
            Value v;
            if (!value(v, depth + 1))
                return false;
            out.set(key, std::move(v));
            skipBlanks();
            if (m_at < m_text.size() && m_text[m_at] == ',') {
                ++m_at;
                continue;
            }
            if (m_at < m_text.size() && m_text[m_at] == '}') {
                ++m_at;
                return true;
            }
            return fail("attesa una virgola o la fine dell'oggetto");
        }
    }

    bool array(Value& out, int depth)
    {
        out = Value::array();
        ++m_at;
        skipBlanks();
        if (m_at < m_text.size() && m_text[m_at] == ']') {
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
            if (m_at < m_text.size() && m_text[m_at] == ',') {
                ++m_at;
                continue;
            }
            if (m_at < m_text.size() && m_text[m_at] == ']') {
                ++m_at;
                return true;
            }
            return fail("attesa una virgola o la fine dell'elenco");
        }
    }

    static void appendUtf8(std::string& s, unsigned long cp)
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

    bool hex4(unsigned long& cp)
    {
        if (m_at + 4 > m_text.size())
            return fail("sequenza \\u incompleta");
        cp = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = m_text[m_at++];
            cp <<= 4;
            if (h >= '0' && h <= '9') cp |= static_cast<unsigned long>(h - '0');
            else if (h >= 'a' && h <= 'f') cp |= static_cast<unsigned long>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F') cp |= static_cast<unsigned long>(h - 'A' + 10);
            else return fail("sequenza \\u non valida");
        }
        return true;
    }

    bool string(std::string& out)
    {
        ++m_at; // the opening quote
        while (m_at < m_text.size()) {
            const unsigned char c = static_cast<unsigned char>(m_text[m_at]);
            if (c == '"') {
                ++m_at;
                return true;
            }
            if (c < 0x20)
                return fail("carattere di controllo in un testo");
            if (c != '\\') {
                out += static_cast<char>(c);
                ++m_at;
                continue;
            }
            if (++m_at >= m_text.size())
                break;
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
                unsigned long cp = 0;
                if (!hex4(cp))
                    return false;
                if (cp >= 0xD800 && cp < 0xDC00) {
                    unsigned long low = 0;
                    if (m_text.substr(m_at, 2) != "\\u")
                        return fail("surrogato UTF-16 senza la sua seconda metà");
                    m_at += 2;
                    if (!hex4(low))
                        return false;
                    if (low < 0xDC00 || low > 0xDFFF)
                        return fail("surrogato UTF-16 non valido");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                    return fail("surrogato UTF-16 non valido");
                }
                appendUtf8(out, cp);
                break;
            }
            default: return fail("sequenza di escape non valida");
            }
        }
        return fail("testo senza le virgolette finali");
    }

    bool number(Value& out)
    {
        const std::size_t start = m_at;
        auto digits = [this] {
            const std::size_t from = m_at;
            while (m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9')
                ++m_at;
            return m_at - from;
        };
        if (m_at < m_text.size() && m_text[m_at] == '-')
            ++m_at;
        if (m_at < m_text.size() && m_text[m_at] == '0')
            ++m_at;
        else if (digits() == 0)
            return fail("valore non valido");
        if (m_at < m_text.size() && m_text[m_at] == '.') {
            ++m_at;
            if (digits() == 0)
                return fail("numero non valido");
        }
        if (m_at < m_text.size() && (m_text[m_at] == 'e' || m_text[m_at] == 'E')) {
            ++m_at;
            if (m_at < m_text.size() && (m_text[m_at] == '+' || m_text[m_at] == '-'))
                ++m_at;
            if (digits() == 0)
                return fail("numero non valido");
        }
        double v = 0;
        const auto r = fromChars(m_text.data() + start, m_text.data() + m_at, v);
        if (r.ec == std::errc::result_out_of_range) {
            // Too small reads as zero; too large cannot be a value of any document of ours.
            bool tooLarge = false;
            const std::string_view digitsText = m_text.substr(start, m_at - start);
            const auto e = digitsText.find_first_of("eE");
            tooLarge = e == std::string_view::npos || digitsText.find('-', e) == std::string_view::npos;
            if (tooLarge) {
                m_at = start;
                return fail("numero troppo grande");
            }
            v = 0;
        } else if (r.ec != std::errc() || r.ptr != m_text.data() + m_at) {
            m_at = start;
            return fail("numero non valido");
        }
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
