// The shot-file reader: any bytes at all, from a damaged disk or another program, give a result
// and never a crash; what it reads holds only finite numbers, and writing it back gives a line
// that reads again as the same record.
#include "files/bal_record.hpp"
#include "fuzz_check.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

using siacci::fuzz::check;

void checkFinite(const std::optional<double>& value, std::string_view input)
{
    if (value)
        check(std::isfinite(*value), "a field read as NaN or infinity", input);
}

void checkRecord(const siacci::BalRecord& r, std::string_view input)
{
    for (const auto* value : {&r.velocity, &r.bc, &r.weight, &r.sightHeight, &r.zeroDistance,
                              &r.increment, &r.maxDistance, &r.temperature, &r.altitude,
                              &r.terminal.diameter_mm, &r.terminal.x, &r.terminal.y, &r.terminal.z,
                              &r.terminal.d, &r.terminal.rspFactor, &r.terminal.pirFactor})
        checkFinite(*value, input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const siacci::BalReadResult result = siacci::decodeBalRecord(bytes);

    check(result.fieldsRead >= 0 && result.fieldsRead <= siacci::kBalFieldCount,
          "fieldsRead out of range", bytes);
    check(result.complete() == (result.fieldsRead == siacci::kBalFieldCount),
          "complete does not match the fields read", bytes);
    check(result.complete() == result.reason.empty(), "a reason on success or none on failure",
          bytes);
    if (result.status == siacci::BalReadStatus::Refused)
        check(result.fieldsRead == 0, "a refused file had fields read", bytes);
    checkRecord(result.record, bytes);

    // What was read, written again, is a single line that reads back whole and unchanged.
    if (result.complete()) {
        const std::string line = siacci::encodeBalRecord(result.record);
        check(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0,
              "the written record does not end with CR LF", line);
        check(line.find_first_of("\r\n") == line.size() - 2, "the written record spans lines",
              line);
        // A Windows-1252 line just under the line limit can grow past it as UTF-8 (and ".1" as
        // "0.1", a quote doubled); the reader would refuse such a line, so the writer refuses to
        // save it (writeBalFile) and the round trip holds for lines within the limit.
        if (line.size() > siacci::kBalMaxLineBytes)
            return 0;
        const siacci::BalReadResult again = siacci::decodeBalRecord(line);
        check(again.complete(), "the written record does not read back", line);
        check(siacci::encodeBalRecord(again.record) == line,
              "the written record changes when read and written again", line);
        check(again.record.description == result.record.description,
              "the description changes when written and read", line);
    }
    return 0;
}
