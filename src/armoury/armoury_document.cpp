#include "armoury/armoury_document.hpp"

#include "common/float_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <vector>

namespace siacci::armoury {

namespace {

// --- a JSON value and its reader (RFC 8259) -----------------------------------------------------

struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> members; // a repeated key: the last one counts

    bool isNull() const { return kind == Kind::Null; }
    const Json* member(const std::string& key) const
    {
        const auto it = members.find(key);
        return it == members.end() ? nullptr : &it->second;
    }
};

class JsonParser {
public:
    explicit JsonParser(std::string_view text) : m_text(text) {}

    // The document's value, or nullopt with where it went wrong in `error`.
    std::optional<Json> parse(std::string& error)
    {
        Json value;
        skipBlanks();
        if (!parseValue(value, 0)) {
            error = m_error;
            return std::nullopt;
        }
        skipBlanks();
        if (m_at != m_text.size()) {
            error = "testo in più dopo la fine del documento";
            return std::nullopt;
        }
        return value;
    }

private:
    static constexpr int kMaxDepth = 64; // an armoury is four levels deep

    bool fail(const char* what)
    {
        if (m_error.empty())
            m_error = std::string(what) + " al carattere " + std::to_string(m_at + 1);
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

    bool parseValue(Json& out, int depth)
    {
        if (depth > kMaxDepth)
            return fail("documento annidato troppo in profondità");
        switch (peek()) {
        case '{': return parseObject(out, depth);
        case '[': return parseArray(out, depth);
        case '"': out.kind = Json::Kind::String; return parseString(out.text);
        case 't': out.kind = Json::Kind::Bool; out.boolean = true; return literal("true");
        case 'f': out.kind = Json::Kind::Bool; out.boolean = false; return literal("false");
        case 'n': out.kind = Json::Kind::Null; return literal("null");
        default: out.kind = Json::Kind::Number; return parseNumber(out.number);
        }
    }

    bool parseObject(Json& out, int depth)
    {
        out.kind = Json::Kind::Object;
        ++m_at;
        skipBlanks();
        if (peek() == '}') {
            ++m_at;
            return true;
        }
        for (;;) {
            skipBlanks();
            if (peek() != '"')
                return fail("manca il nome di un campo");
            std::string key;
            if (!parseString(key))
                return false;
            skipBlanks();
            if (peek() != ':')
                return fail("mancano i due punti");
            ++m_at;
            skipBlanks();
            Json value;
            if (!parseValue(value, depth + 1))
                return false;
            out.members[std::move(key)] = std::move(value);
            skipBlanks();
            if (peek() == ',') {
                ++m_at;
                continue;
            }
            if (peek() == '}') {
                ++m_at;
                return true;
            }
            return fail("manca una virgola o la parentesi di chiusura");
        }
    }

    bool parseArray(Json& out, int depth)
    {
        out.kind = Json::Kind::Array;
        ++m_at;
        skipBlanks();
        if (peek() == ']') {
            ++m_at;
            return true;
        }
        for (;;) {
            skipBlanks();
            Json value;
            if (!parseValue(value, depth + 1))
                return false;
            out.items.push_back(std::move(value));
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

    static void appendUtf8(std::string& out, std::uint32_t c)
    {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }

    bool hex4(std::uint32_t& out)
    {
        if (m_text.size() - m_at < 4)
            return fail("sequenza \\u incompleta");
        out = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_at++];
            out <<= 4;
            if (c >= '0' && c <= '9')
                out |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                out |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                out |= static_cast<std::uint32_t>(c - 'A' + 10);
            else
                return fail("sequenza \\u non valida");
        }
        return true;
    }

    // One UTF-8 character as it is in the text; false when the bytes are not UTF-8.
    bool copyUtf8(std::string& out)
    {
        const auto byte = [this](std::size_t i) { return static_cast<unsigned char>(m_text[i]); };
        const unsigned char lead = byte(m_at);
        int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || m_text.size() - m_at < static_cast<std::size_t>(length))
            return fail("testo non in UTF-8");
        std::uint32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        for (int i = 1; i < length; ++i) {
            if ((byte(m_at + static_cast<std::size_t>(i)) & 0xC0) != 0x80)
                return fail("testo non in UTF-8");
            c = (c << 6) | (byte(m_at + static_cast<std::size_t>(i)) & 0x3F);
        }
        static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return fail("testo non in UTF-8");
        out.append(m_text.substr(m_at, static_cast<std::size_t>(length)));
        m_at += static_cast<std::size_t>(length);
        return true;
    }

    bool parseString(std::string& out)
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
                if (!copyUtf8(out))
                    return false;
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
                std::uint32_t code = 0;
                if (!hex4(code))
                    return false;
                if (code >= 0xD800 && code <= 0xDBFF) {
                    std::uint32_t low = 0;
                    if (m_text.substr(m_at, 2) != "\\u")
                        return fail("sequenza \\u non valida");
                    m_at += 2;
                    if (!hex4(low))
                        return false;
                    if (low < 0xDC00 || low > 0xDFFF)
                        return fail("sequenza \\u non valida");
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xDC00 && code <= 0xDFFF) {
                    return fail("sequenza \\u non valida");
                }
                appendUtf8(out, code);
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

    bool parseNumber(double& out)
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
        const auto [end, ec] = fromChars(first, last, out);
        if (ec == std::errc::result_out_of_range && tooSmall(std::string_view(first, m_at - start))) {
            out = 0; // too small to tell from zero
            return true;
        }
        if (ec != std::errc() || end != last || !std::isfinite(out))
            return fail("numero fuori misura");
        return true;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    std::string m_error;
};

// --- writing ------------------------------------------------------------------------------------

class JsonWriter {
public:
    std::string text;

    void open(char bracket)
    {
        text += bracket;
        ++m_depth;
        m_first = true;
    }
    void close(char bracket)
    {
        --m_depth;
        if (!m_first)
            newline();
        text += bracket;
        m_first = false;
    }
    void key(std::string_view name)
    {
        separator();
        string(name);
        text += ": ";
    }
    void item() { separator(); }
    void string(std::string_view s)
    {
        text += '"';
        for (const char c : s) {
            switch (c) {
            case '"': text += "\\\""; break;
            case '\\': text += "\\\\"; break;
            case '\n': text += "\\n"; break;
            case '\r': text += "\\r"; break;
            case '\t': text += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    static constexpr char kHex[] = "0123456789abcdef";
                    text += "\\u00";
                    text += kHex[(c >> 4) & 0xF];
                    text += kHex[c & 0xF];
                } else {
                    text += c;
                }
            }
        }
        text += '"';
        m_first = false;
    }
    void number(double value)
    {
        char buffer[32];
        const auto [end, ec] = toChars(buffer, buffer + sizeof buffer, value);
        text.append(buffer, ec == std::errc() ? end : buffer);
        m_first = false;
    }
    void boolean(bool value) { text += value ? "true" : "false"; m_first = false; }
    void null() { text += "null"; m_first = false; }

private:
    void newline()
    {
        text += '\n';
        text.append(static_cast<std::size_t>(m_depth) * 4, ' ');
    }
    void separator()
    {
        if (!m_first)
            text += ',';
        newline();
        m_first = true;
    }

    int m_depth = 0;
    bool m_first = true;
};

const char* dragName(LoadDrag drag)
{
    switch (drag) {
    case LoadDrag::G1: return "G1";
    case LoadDrag::G7: return "G7";
    case LoadDrag::Table: return "table";
    }
    return "G1";
}

void writeOptional(JsonWriter& w, const std::optional<double>& value)
{
    if (value)
        w.number(*value);
    else
        w.null();
}

// Keys in alphabetical order, as the documents of earlier versions had them.
void writeLoad(JsonWriter& w, const Load& load)
{
    w.open('{');
    w.key("bc"); w.number(load.bc);
    w.key("bc_steps");
    w.open('[');
    for (const auto& step : load.bcSteps) {
        w.item();
        w.open('{');
        w.key("bc"); w.number(step.bc_lbin2);
        w.key("from_velocity_ms"); w.number(step.fromVelocity_ms);
        w.close('}');
    }
    w.close(']');
    w.key("description"); w.string(load.description);
    w.key("diameter_mm"); writeOptional(w, load.diameter_mm);
    w.key("drag"); w.string(dragName(load.drag));
    w.key("drag_table");
    w.open('[');
    for (const auto& point : load.dragTable) {
        w.item();
        w.open('{');
        w.key("cd"); w.number(point.cd);
        w.key("mach"); w.number(point.mach);
        w.close('}');
    }
    w.close(']');
    w.key("length_mm"); writeOptional(w, load.length_mm);
    w.key("notes"); w.string(load.notes);
    w.key("temperature_sensitivity_ms_per_c"); w.number(load.temperatureSensitivity_msPerC);
    w.key("velocity_ms"); w.number(load.velocity_ms);
    w.key("velocity_temperature_c"); w.number(load.velocityTemperature_C);
    w.key("weight_gr"); w.number(load.weight_gr);
    w.close('}');
}

void writeScope(JsonWriter& w, const card::ScopeSetup& scope)
{
    w.key("scope");
    w.open('{');
    w.key("calibrated_magnification"); w.number(scope.calibratedMagnification);
    w.key("custom_marks");
    w.open('[');
    for (double mark : scope.customMarks) {
        w.item();
        w.number(mark);
    }
    w.close(']');
    w.key("custom_unit"); w.string(scope.customUnit == card::ReticleUnit::Moa ? "moa" : "mrad");
    w.key("focal_plane"); w.string(scope.plane == card::FocalPlane::First ? "first" : "second");
    w.key("magnification"); w.number(scope.magnification);
    w.key("post_tip_moa"); w.number(scope.postTip);
    w.key("reticle"); w.string(scope.reticle);
    w.close('}');
}

void writeRifle(JsonWriter& w, const Rifle& rifle)
{
    w.open('{');
    w.key("click_unit"); w.string(rifle.clickUnit == pointmass::AngleUnit::Moa ? "moa" : "mrad");
    w.key("click_value"); w.number(rifle.clickValue);
    w.key("loads");
    w.open('[');
    for (const Load& load : rifle.loads) {
        w.item();
        writeLoad(w, load);
    }
    w.close(']');
    w.key("name"); w.string(rifle.name);
    writeScope(w, rifle.scope);
    w.key("sight_height_cm"); w.number(rifle.sightHeight_cm);
    w.key("turret_clicks_per_turn");
    if (rifle.turretClicksPerTurn)
        w.number(*rifle.turretClicksPerTurn);
    else
        w.null();
    w.key("twist_in"); w.number(rifle.twist_in);
    w.key("twist_right_hand"); w.boolean(rifle.twistRightHand);
    w.key("zero_atmosphere");
    w.open('{');
    w.key("humidity_pct"); w.number(rifle.zeroAtmosphere.humidity_pct);
    w.key("pressure_hpa"); w.number(rifle.zeroAtmosphere.pressure_hPa);
    w.key("temperature_c"); w.number(rifle.zeroAtmosphere.temperature_C);
    w.close('}');
    w.key("zero_m"); w.number(rifle.zero_m);
    w.close('}');
}

// --- reading the armoury out of the JSON value ----------------------------------------------

// The first field that is missing or of the wrong kind stops the reading with its name.
struct Reader {
    std::string problem;

    bool failed() const { return !problem.empty(); }

    void fail(const std::string& where, const std::string& key)
    {
        if (problem.empty())
            problem = "il campo \"" + key + "\"" + (where.empty() ? std::string() : " di " + where) +
                      " manca o non è valido";
    }
    double number(const Json& o, const std::string& key, const std::string& where)
    {
        const Json* v = o.member(key);
        if (!v || v->kind != Json::Kind::Number) {
            fail(where, key);
            return 0;
        }
        return v->number;
    }
    std::optional<double> optionalNumber(const Json& o, const std::string& key, const std::string& where)
    {
        const Json* v = o.member(key);
        if (!v || v->isNull())
            return std::nullopt;
        if (v->kind != Json::Kind::Number) {
            fail(where, key);
            return std::nullopt;
        }
        return v->number;
    }
    std::string text(const Json& o, const std::string& key, const std::string& where, bool required)
    {
        const Json* v = o.member(key);
        if (!v || v->kind != Json::Kind::String) {
            if (required || (v && !v->isNull()))
                fail(where, key);
            return {};
        }
        return v->text;
    }
    // The array's objects; anything else in it fails the reading.
    std::vector<const Json*> objects(const Json& o, const std::string& key, const std::string& where,
                                     bool required)
    {
        std::vector<const Json*> out;
        const Json* v = o.member(key);
        if (!v || v->kind != Json::Kind::Array) {
            if (required || (v && !v->isNull()))
                fail(where, key);
            return out;
        }
        for (const Json& item : v->items) {
            if (item.kind != Json::Kind::Object) {
                fail(where, key);
                return {};
            }
            out.push_back(&item);
        }
        return out;
    }

    Load load(const Json& o)
    {
        Load load;
        load.description = text(o, "description", "una carica", true);
        const std::string where = "\"" + load.description + "\"";
        load.velocity_ms = number(o, "velocity_ms", where);
        load.velocityTemperature_C = number(o, "velocity_temperature_c", where);
        load.temperatureSensitivity_msPerC = number(o, "temperature_sensitivity_ms_per_c", where);
        const std::string drag = text(o, "drag", where, true);
        if (drag == "G1")
            load.drag = LoadDrag::G1;
        else if (drag == "G7")
            load.drag = LoadDrag::G7;
        else if (drag == "table")
            load.drag = LoadDrag::Table;
        else
            fail(where, "drag");
        load.bc = number(o, "bc", where);
        const auto steps = objects(o, "bc_steps", where, false);
        if (steps.size() > pointmass::kMaxBcSteps)
            fail(where, "bc_steps");
        for (const Json* step : steps)
            load.bcSteps.push_back({number(*step, "bc", where), number(*step, "from_velocity_ms", where)});
        const auto table = objects(o, "drag_table", where, false);
        if (table.size() > pointmass::kMaxDragTablePoints)
            fail(where, "drag_table");
        for (const Json* point : table)
            load.dragTable.push_back({number(*point, "mach", where), number(*point, "cd", where)});
        load.weight_gr = number(o, "weight_gr", where);
        load.diameter_mm = optionalNumber(o, "diameter_mm", where);
        load.length_mm = optionalNumber(o, "length_mm", where);
        load.notes = text(o, "notes", where, false);
        return load;
    }

    // A document of before the scopes has none: the rifle keeps the default scope, and so does
    // a key of the scope that is missing.
    card::ScopeSetup scope(const Json& o, const std::string& where)
    {
        card::ScopeSetup scope;
        if (o.kind != Json::Kind::Object) {
            fail(where, "scope");
            return scope;
        }
        const auto numberOr = [&](const char* key, double fallback) {
            const Json* v = o.member(key);
            if (!v)
                return fallback;
            if (v->kind != Json::Kind::Number)
                fail(where, key);
            return v->number;
        };
        const auto word = [&](const char* key, const char* first, const char* second, bool& isFirst) {
            const Json* v = o.member(key);
            if (!v)
                return;
            if (v->kind != Json::Kind::String || (v->text != first && v->text != second))
                fail(where, key);
            else
                isFirst = v->text == first;
        };
        if (const Json* v = o.member("reticle")) {
            if (v->kind != Json::Kind::String)
                fail(where, "reticle");
            else
                scope.reticle = v->text;
        }
        bool firstPlane = scope.plane == card::FocalPlane::First;
        word("focal_plane", "first", "second", firstPlane);
        scope.plane = firstPlane ? card::FocalPlane::First : card::FocalPlane::Second;
        bool moa = scope.customUnit == card::ReticleUnit::Moa;
        word("custom_unit", "moa", "mrad", moa);
        scope.customUnit = moa ? card::ReticleUnit::Moa : card::ReticleUnit::Mrad;
        scope.calibratedMagnification = numberOr("calibrated_magnification", scope.calibratedMagnification);
        scope.magnification = numberOr("magnification", scope.magnification);
        scope.postTip = numberOr("post_tip_moa", scope.postTip);
        if (const Json* marks = o.member("custom_marks")) {
            if (marks->kind != Json::Kind::Array || marks->items.size() > 40) {
                fail(where, "custom_marks");
            } else {
                scope.customMarks.clear();
                for (const Json& m : marks->items) {
                    if (m.kind != Json::Kind::Number) {
                        fail(where, "custom_marks");
                        break;
                    }
                    scope.customMarks.push_back(m.number);
                }
            }
        }
        return scope;
    }

    Rifle rifle(const Json& o)
    {
        Rifle rifle;
        rifle.name = text(o, "name", "un'arma", true);
        const std::string where = "\"" + rifle.name + "\"";
        rifle.sightHeight_cm = number(o, "sight_height_cm", where);
        rifle.twist_in = number(o, "twist_in", where);
        const Json* hand = o.member("twist_right_hand");
        if (hand && hand->kind == Json::Kind::Bool)
            rifle.twistRightHand = hand->boolean;
        else
            fail(where, "twist_right_hand");
        rifle.clickValue = number(o, "click_value", where);
        const std::string unit = text(o, "click_unit", where, true);
        if (unit == "moa")
            rifle.clickUnit = pointmass::AngleUnit::Moa;
        else if (unit == "mrad")
            rifle.clickUnit = pointmass::AngleUnit::Mrad;
        else
            fail(where, "click_unit");
        if (const auto clicks = optionalNumber(o, "turret_clicks_per_turn", where)) {
            // Within an int before the conversion: 1e300 is no number of clicks.
            if (!(*clicks >= 1 && *clicks <= 1000) || *clicks != std::floor(*clicks))
                fail(where, "turret_clicks_per_turn");
            else
                rifle.turretClicksPerTurn = static_cast<int>(*clicks);
        }
        rifle.zero_m = number(o, "zero_m", where);
        const Json* air = o.member("zero_atmosphere");
        if (!air || air->kind != Json::Kind::Object)
            fail(where, "zero_atmosphere");
        else
            rifle.zeroAtmosphere = {number(*air, "temperature_c", where), number(*air, "pressure_hpa", where),
                                    number(*air, "humidity_pct", where)};
        if (const Json* scope = o.member("scope"))
            rifle.scope = this->scope(*scope, where);
        for (const Json* load : objects(o, "loads", where, true)) {
            rifle.loads.push_back(this->load(*load));
            if (failed())
                break;
        }
        return rifle;
    }
};

} // namespace

std::string documentJson(const Armoury& armoury)
{
    JsonWriter w;
    w.open('{');
    w.key("format"); w.string(kFormatName);
    w.key("rifles");
    w.open('[');
    for (const Rifle& rifle : armoury.rifles) {
        w.item();
        writeRifle(w, rifle);
    }
    w.close(']');
    w.key("version"); w.number(kSchemaVersion);
    w.close('}');
    w.text += '\n';
    return std::move(w.text);
}

DocumentReading readDocumentJson(std::string_view json)
{
    if (json.size() > kArmouryMaxBytes)
        return {std::nullopt, "il file è troppo grande per essere un'armeria"};
    std::string error;
    const std::optional<Json> doc = JsonParser(json).parse(error);
    if (!doc)
        return {std::nullopt, "il file non è un documento JSON valido (" + error + ")"};
    const Json* format = doc->kind == Json::Kind::Object ? doc->member("format") : nullptr;
    if (!format || format->kind != Json::Kind::String || format->text != kFormatName)
        return {std::nullopt, "il file non è un'armeria di Siacci"};
    const Json* version = doc->member("version");
    if (!version || version->kind != Json::Kind::Number || !(version->number >= 1) ||
        version->number != std::floor(version->number))
        return {std::nullopt, "la versione del documento manca o non è valida"};
    if (version->number > kSchemaVersion)
        return {std::nullopt, "il documento è della versione " +
                                  (version->number < 1e9 ? std::to_string(static_cast<long>(version->number))
                                                         : std::string("?")) +
                                  ", scritta da un programma più recente di questo"};
    const Json* rifles = doc->member("rifles");
    if (!rifles || rifles->kind != Json::Kind::Array)
        return {std::nullopt, "manca l'elenco delle armi"};
    Reader reader;
    Armoury armoury;
    for (const Json& v : rifles->items) {
        if (v.kind != Json::Kind::Object) {
            reader.fail({}, "rifles");
            break;
        }
        armoury.rifles.push_back(reader.rifle(v));
        if (reader.failed())
            break;
    }
    if (reader.failed())
        return {std::nullopt, reader.problem};
    if (std::string problem = armouryProblem(armoury); !problem.empty())
        return {std::nullopt, problem};
    return {std::move(armoury), {}};
}

NormalisedDocument normaliseDocumentJson(std::string_view json)
{
    DocumentReading reading = readDocumentJson(json);
    if (!reading.armoury)
        return {{}, std::move(reading.problem)};
    return {documentJson(*reading.armoury), {}};
}

} // namespace siacci::armoury
