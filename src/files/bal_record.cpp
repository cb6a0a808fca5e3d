#include "files/bal_record.hpp"

#include "common/float_text.hpp"
#include "common/number_text.hpp"
#include "files/careful_read.hpp"
#include "files/careful_write.hpp"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace siacci {

namespace {

// ---- text encoding --------------------------------------------------------------------------

bool isValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        std::uint32_t code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1Fu;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0Fu;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07u;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(length) > s.size())
            return false;
        for (int k = 1; k < length; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((cc & 0xC0u) != 0x80u)
                return false;
            code = (code << 6) | (cc & 0x3Fu);
        }
        // Overlong forms, UTF-16 surrogates and code points past U+10FFFF are not text.
        if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) ||
            (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

void appendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Windows-1252, the code page of files written on the older platform. The five bytes it leaves
// undefined keep their C1 code points, as the platform itself maps them.
std::string fromWindows1252(std::string_view s)
{
    static constexpr std::array<std::uint16_t, 32> k80to9F = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string out;
    out.reserve(s.size() * 2);
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80 && c <= 0x9F)
            appendUtf8(out, k80to9F[c - 0x80]);
        else
            appendUtf8(out, c);
    }
    return out;
}

// Control bytes other than tab, CR and LF do not occur in a text file.
bool isBinary(std::string_view s)
{
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F)
            return true;
    }
    return false;
}

// ---- numbers --------------------------------------------------------------------------------

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// ---- reading the line -----------------------------------------------------------------------

// Splits one line into fields as the program writes it.
class LineReader {
public:
    explicit LineReader(std::string_view line) : m_line(line) {}

    bool atEnd() const { return m_ended; }

    // The next field's text; `quoted` tells whether it stood in double quotes. Returns nullopt
    // (with `m_problem` set) when the line holds no further field or the field is malformed.
    std::optional<std::string> next(bool& quoted)
    {
        quoted = false;
        if (m_ended)
            return std::nullopt;
        while (m_pos < m_line.size() && isBlank(m_line[m_pos]))
            ++m_pos;
        std::string text;
        if (m_pos < m_line.size() && m_line[m_pos] == '"') {
            quoted = true;
            ++m_pos;
            for (;;) {
                if (m_pos >= m_line.size()) {
                    m_problem = Problem::UnclosedQuote;
                    return std::nullopt;
                }
                const char ch = m_line[m_pos++];
                if (ch != '"') {
                    text += ch;
                } else if (m_pos < m_line.size() && m_line[m_pos] == '"') {
                    text += '"';  // a quote inside the text, written doubled
                    ++m_pos;
                } else {
                    break;
                }
            }
            while (m_pos < m_line.size() && isBlank(m_line[m_pos]))
                ++m_pos;
            if (m_pos < m_line.size() && m_line[m_pos] != ',') {
                m_problem = Problem::TextAfterQuote;
                return std::nullopt;
            }
        } else {
            const std::size_t comma = m_line.find(',', m_pos);
            const std::size_t stop = comma == std::string_view::npos ? m_line.size() : comma;
            text = std::string(trimmed(m_line.substr(m_pos, stop - m_pos)));
            m_pos = stop;
        }
        if (m_pos < m_line.size())
            ++m_pos;  // the comma
        else
            m_ended = true;
        return text;
    }

    enum class Problem { None, UnclosedQuote, TextAfterQuote };
    Problem problem() const { return m_problem; }

private:
    std::string_view m_line;
    std::size_t m_pos = 0;
    bool m_ended = false;
    Problem m_problem = Problem::None;
};

std::string fieldReason(int field, const char* what)
{
    return "il campo " + std::to_string(field) + " " + what;
}

std::optional<double>* numberSlot(BalRecord& r, BalField field)
{
    switch (field) {
    case BalField::Velocity: return &r.velocity;
    case BalField::Bc: return &r.bc;
    case BalField::Weight: return &r.weight;
    case BalField::SightHeight: return &r.sightHeight;
    case BalField::ZeroDistance: return &r.zeroDistance;
    case BalField::Increment: return &r.increment;
    case BalField::MaxDistance: return &r.maxDistance;
    case BalField::Temperature: return &r.temperature;
    case BalField::Altitude: return &r.altitude;
    case BalField::Diameter: return &r.terminal.diameter_mm;
    case BalField::X: return &r.terminal.x;
    case BalField::Y: return &r.terminal.y;
    case BalField::Z: return &r.terminal.z;
    case BalField::D: return &r.terminal.d;
    case BalField::RspFactor: return &r.terminal.rspFactor;
    case BalField::PirFactor: return &r.terminal.pirFactor;
    default: return nullptr;
    }
}

// ---- writing --------------------------------------------------------------------------------

std::string numberField(const std::optional<double>& value)
{
    return value ? cellText(*value, '.') : std::string();
}

std::string quotedText(std::string_view text)
{
    std::string out = "\"";
    for (const char ch : text) {
        if (ch == '"')
            out += "\"\"";
        else if ((static_cast<unsigned char>(ch) < 0x20 && ch != '\t') || ch == 0x7F)
            out += ' ';  // a shot file is one line
        else
            out += ch;
    }
    out += '"';
    return out;
}

// The Italian reason of a failed file operation.
std::string systemReason(int error)
{
    return systemErrorText(error);
}

} // namespace

std::string encodeBalRecord(const BalRecord& r)
{
    std::string line;
    auto add = [&line](const std::string& field) {
        if (!line.empty())
            line += ',';
        line += field;
    };
    line = numberField(r.velocity);
    line += ',';
    line += quotedText(r.description);
    add(numberField(r.bc));
    add(numberField(r.weight));
    add(numberField(r.sightHeight));
    add(numberField(r.zeroDistance));
    add(numberField(r.increment));
    add(numberField(r.maxDistance));
    add(numberField(r.temperature));
    add(numberField(r.altitude));
    add(r.siteAngle ? cellText(r.siteAngle->factor, '.') : std::string());
    add(r.siteAngle ? cellText(r.siteAngle->degrees, '.') : std::string());
    add(r.mode ? std::to_string(static_cast<int>(*r.mode)) : std::string());
    add(numberField(r.terminal.diameter_mm));
    add(numberField(r.terminal.x));
    add(numberField(r.terminal.y));
    add(numberField(r.terminal.z));
    add(numberField(r.terminal.d));
    add(numberField(r.terminal.rspFactor));
    add(numberField(r.terminal.pirFactor));
    line += "\r\n";
    return line;
}

BalReadResult decodeBalRecord(std::string_view bytes)
{
    BalReadResult result;
    auto refuse = [&result](const char* reason) {
        result.status = BalReadStatus::Refused;
        result.reason = reason;
        return result;
    };
    if (bytes.size() > kBalMaxFileBytes)
        return refuse("il file è troppo grande per essere un file di tiro");
    if (isBinary(bytes))
        return refuse("il file non è un file di testo");
    const std::size_t lineEnd = bytes.find_first_of("\r\n");
    std::string_view line = bytes.substr(0, lineEnd);
    if (line.size() > kBalMaxLineBytes)
        return refuse("la riga del file è troppo lunga");

    std::string text = isValidUtf8(line) ? std::string(line) : fromWindows1252(line);
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);  // a byte-order mark written by some editors

    result.status = BalReadStatus::Incomplete;
    if (trimmed(text).empty()) {
        result.reason = "il file è vuoto";
        return result;
    }
    LineReader reader(text);
    BalRecord& r = result.record;
    for (int n = 1; n <= kBalFieldCount; ++n) {
        bool quoted = false;
        const std::optional<std::string> field = reader.next(quoted);
        if (!field) {
            if (reader.problem() == LineReader::Problem::UnclosedQuote)
                result.reason = fieldReason(n, "non è chiuso dalle virgolette");
            else if (reader.problem() == LineReader::Problem::TextAfterQuote)
                result.reason = fieldReason(n, "ha del testo dopo le virgolette");
            else
                result.reason = "il file contiene solo " + std::to_string(n - 1) +
                                " campi dei " + std::to_string(kBalFieldCount) + " previsti";
            return result;
        }
        const auto kind = static_cast<BalField>(n);
        if (kind == BalField::Description) {
            r.description = *field;
        } else {
            std::optional<double> value;
            if (quoted || (!field->empty() && !(value = wholeNumber(*field)))) {
                result.reason = fieldReason(n, "non è un numero");
                return result;
            }
            if (kind == BalField::SiteFactor) {
                // Empty: never set. Otherwise one of the five factors, which names the whole angle.
                const SiteAngle* match = nullptr;
                for (const SiteAngle& a : kSiteAngles)
                    if (value && a.factor == *value)
                        match = &a;
                if (value && !match) {
                    result.reason = fieldReason(n, "non è un angolo di sito del programma");
                    return result;
                }
                if (match)
                    r.siteAngle = *match;
            } else if (kind == BalField::SiteDegrees) {
                const bool agrees = r.siteAngle ? value && *value == r.siteAngle->degrees : !value;
                if (!agrees) {
                    result.reason = fieldReason(n, "non corrisponde all'angolo di sito");
                    return result;
                }
            } else if (kind == BalField::Mode) {
                if (!value || (*value != 1 && *value != 2 && *value != 3)) {
                    result.reason = fieldReason(n, "non è un modo di calcolo (1, 2 o 3)");
                    return result;
                }
                r.mode = static_cast<TableMode>(static_cast<int>(*value));
            } else {
                *numberSlot(r, kind) = value;
            }
        }
        result.fieldsRead = n;
    }
    result.status = BalReadStatus::Complete;
    return result;
}

BalRecord recordFromShot(const ShotInput& shot, TableMode mode)
{
    BalRecord r;
    r.velocity = shot.velocity;
    r.description = shot.description;
    r.bc = shot.bc;
    r.weight = shot.weight;
    r.sightHeight = shot.sightHeight;
    r.zeroDistance = shot.zeroDistance;
    r.increment = shot.increment;
    r.maxDistance = shot.maxDistance;
    r.temperature = shot.temperature;
    r.altitude = shot.altitude;
    r.siteAngle = shot.siteAngle;
    r.mode = mode;
    r.terminal = shot.terminal;
    return r;
}

void applyRecord(const BalReadResult& result, ShotInput& shot, TableMode& mode)
{
    const BalRecord& r = result.record;
    auto read = [&result](BalField field) { return static_cast<int>(field) <= result.fieldsRead; };
    auto number = [](const std::optional<double>& value) { return value.value_or(0.0); };
    if (read(BalField::Velocity)) shot.velocity = number(r.velocity);
    if (read(BalField::Description)) shot.description = r.description;
    if (read(BalField::Bc)) shot.bc = number(r.bc);
    if (read(BalField::Weight)) shot.weight = number(r.weight);
    if (read(BalField::SightHeight)) shot.sightHeight = number(r.sightHeight);
    if (read(BalField::ZeroDistance)) shot.zeroDistance = number(r.zeroDistance);
    if (read(BalField::Increment)) shot.increment = number(r.increment);
    if (read(BalField::MaxDistance)) shot.maxDistance = number(r.maxDistance);
    if (read(BalField::Temperature)) shot.temperature = number(r.temperature);
    if (read(BalField::Altitude)) shot.altitude = number(r.altitude);
    if (read(BalField::SiteFactor)) shot.siteAngle = r.siteAngle.value_or(kSiteAngles[0]);
    if (read(BalField::Mode) && r.mode) mode = *r.mode;
    if (read(BalField::Diameter)) shot.terminal.diameter_mm = r.terminal.diameter_mm;
    if (read(BalField::X)) shot.terminal.x = r.terminal.x;
    if (read(BalField::Y)) shot.terminal.y = r.terminal.y;
    if (read(BalField::Z)) shot.terminal.z = r.terminal.z;
    if (read(BalField::D)) shot.terminal.d = r.terminal.d;
    if (read(BalField::RspFactor)) shot.terminal.rspFactor = r.terminal.rspFactor;
    if (read(BalField::PirFactor)) shot.terminal.pirFactor = r.terminal.pirFactor;
}

BalReadResult readBalFile(const std::filesystem::path& path)
{
    // One byte past the limit is enough to know the file is too large.
    CarefulReadResult read = readFileCarefully(path, kBalMaxFileBytes + 1);
    if (read.status == CarefulReadStatus::TooLarge)
        read.bytes.assign(kBalMaxFileBytes + 1, ' ');
    else if (!read) {
        BalReadResult failed;
        failed.status = BalReadStatus::Unreadable;
        failed.reason = read.status == CarefulReadStatus::SystemError && read.error != EACCES &&
                                read.error != ENAMETOOLONG
                            ? "impossibile aprire il file"
                            : readFailureText(read);
        return failed;
    }
    return decodeBalRecord(read.bytes);
}

BalWriteResult writeBalFile(const std::filesystem::path& path, const BalRecord& record)
{
    namespace fs = std::filesystem;
    const std::string text = encodeBalRecord(record);
    if (text.size() > kBalMaxLineBytes)
        return {false, "la riga dei dati supera " + std::to_string(kBalMaxLineBytes) +
                       " caratteri (descrizione troppo lunga)"};
    if (path.filename().empty())
        return {false, "il nome non è valido"};
    // What is written must read back as written; a number formatted in the wrong form (a decimal
    // comma from the locale, say) refuses the save instead of leaving a file that cannot be read.
    const BalReadResult check = decodeBalRecord(text);
    if (!check.complete() || encodeBalRecord(check.record) != text)
        return {false, "i dati non possono essere scritti in forma leggibile"};

    std::error_code ec;
    if (fs::is_directory(path, ec))
        return {false, systemReason(EISDIR)};
    const fs::path directory = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    if (!fs::exists(directory, ec))
        return {false, "la cartella non esiste"};
    if (!fs::is_directory(directory, ec))
        return {false, systemReason(ENOTDIR)};

    switch (const CarefulWriteResult written = fileWriter().write(path, text); written.status) {
    case CarefulWriteStatus::Written: break;
    case CarefulWriteStatus::NotRegular: return {false, "non è un file normale"};
    case CarefulWriteStatus::ReadOnly: return {false, "il file è di sola lettura"};
    case CarefulWriteStatus::SystemError: return {false, systemReason(written.error)};
    }
    return {};
}

} // namespace siacci
