#pragma once

#include "common/shot.hpp"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The shot file: one line of 20 comma-separated fields holding the inputs of one shot, with the
// extension ".bal". Written as UTF-8; files of the older platform (Windows-1252) read as well.
namespace siacci {

inline constexpr int kBalFieldCount = 20;

// A shot file is a few dozen bytes. Anything larger, or a first line longer than this, is not a
// shot file and is refused whole.
inline constexpr std::size_t kBalMaxFileBytes = 4096;
inline constexpr std::size_t kBalMaxLineBytes = 1024;

// The fields in file order, numbered as in the file (1 to 20).
enum class BalField {
    Velocity = 1, Description, Bc, Weight, SightHeight, ZeroDistance, Increment, MaxDistance,
    Temperature, Altitude, SiteFactor, SiteDegrees, Mode, Diameter, X, Y, Z, D, RspFactor,
    PirFactor
};

// One record. The numbers are in the units of `mode` (metric or imperial, as the shot had them
// when it was saved); the file holds no conversion. An empty optional is a value never set,
// written as an empty field.
struct BalRecord {
    std::optional<double> velocity;       // m/s, or ft/s in imperial mode
    std::string description;              // UTF-8
    std::optional<double> bc;
    std::optional<double> weight;         // grains
    std::optional<double> sightHeight;    // cm, or inches in imperial mode
    std::optional<double> zeroDistance;   // m, or yards
    std::optional<double> increment;
    std::optional<double> maxDistance;
    std::optional<double> temperature;    // degrees C
    std::optional<double> altitude;       // m
    std::optional<SiteAngle> siteAngle;   // fields 11 (factor k) and 12 (degrees n)
    std::optional<TableMode> mode;
    TerminalCoefficients terminal;        // fields 14 to 20

    friend bool operator==(const BalRecord&, const BalRecord&) = default;
};

// How a read ended.
enum class BalReadStatus {
    Complete,    // all 20 fields read
    Incomplete,  // a field missing or not a number: the fields before it were read
    Refused,     // not a shot file at all (binary, too large, a line far too long): nothing read
    Unreadable,  // the file could not be opened or read: nothing read
};

struct BalReadResult {
    BalRecord record;          // fields 1 .. fieldsRead hold what the file said
    int fieldsRead = 0;        // 0 .. 20; fields after it are not applicable
    BalReadStatus status = BalReadStatus::Unreadable;
    std::string reason;        // Italian, empty when complete: "il campo 13 non è un numero"

    bool complete() const { return status == BalReadStatus::Complete; }
};

// The record as one line: commas without blanks, the description in double quotes (a quote
// inside it doubled, line breaks turned into blanks), numbers in plain decimal notation with a
// point whatever the locale and a zero before the point below 1 (0.1), CR LF at the end.
std::string encodeBalRecord(const BalRecord& record);

// Reads the first line of a shot file's bytes. Accepts numbers with or without the zero before
// the point (".1", "0.1"), blanks around fields, an unquoted description, CR LF, LF or no line
// end. UTF-8, or Windows-1252 when the bytes are not valid UTF-8. Fields 11 and 12 must be one of
// the five site angles (or both empty) and field 13 a mode (1, 2 or 3); anything else stops the
// read there.
// Never throws.
BalReadResult decodeBalRecord(std::string_view bytes);

// The record of the current shot in the given mode.
BalRecord recordFromShot(const ShotInput& shot, TableMode mode);

// Puts the fields read into the shot and the mode; the fields after `fieldsRead` leave their
// values as they were. An empty number field reads as 0 (an emptied input field), an empty site
// angle as 0 degrees, an empty terminal coefficient as never set.
void applyRecord(const BalReadResult& result, ShotInput& shot, TableMode& mode);

// Reads a shot file. Never throws: a missing or unreadable file is a result with status
// Unreadable and the Italian reason.
BalReadResult readBalFile(const std::filesystem::path& path);

struct BalWriteResult {
    bool ok = true;
    std::string reason;  // Italian, when not ok: "accesso negato", "il disco è pieno"

    explicit operator bool() const { return ok; }
};

// Writes the record to `path` as writeFileCarefully does: through a symbolic link to its file,
// keeping the permissions, refusing a read-only file and anything that is not a regular file,
// replacing an existing file only once the whole record is on disk. A failed save never destroys
// what was there and leaves no partial file. Never throws.
BalWriteResult writeBalFile(const std::filesystem::path& path, const BalRecord& record);

} // namespace siacci
