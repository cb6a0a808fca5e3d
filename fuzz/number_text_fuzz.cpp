// Field reading and number writing: whatever the user types or a file holds, the reading is a
// finite number, and every text the program writes back is a plain decimal that reads as the
// same number.
#include "common/number_text.hpp"
#include "fuzz_check.hpp"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using siacci::fuzz::check;
using siacci::fuzz::closeTo;
using siacci::fuzz::isPlainDecimal;


void checkWrittenForms(double value)
{
    // NaN and infinity are never to be shown; they are written as 0.
    const bool finite = std::isfinite(value);
    const double shown = finite ? value : 0.0;

    for (const char separator : {'.', ','}) {
        const std::string cell = siacci::cellText(value, separator);
        check(isPlainDecimal(cell, separator), "cellText is not a plain decimal", cell);
        const double back = separator == '.' ? siacci::plainReading(cell) : siacci::readField(cell);
        check(std::isfinite(back), "cell text reads back as NaN or infinity", cell);
        // Within half a unit of the fifteenth digit of the largest double the text rounds up
        // past it; it reads back as the largest double.
        check(closeTo(back, shown), "cell text does not read back as its number", cell);

        const std::string printed = siacci::printerNumber(value, separator);
        check(printed.size() >= 2 && printed.back() == ' ', "printer number lacks its space", printed);
    }

    const std::string field = siacci::shortNumber(value);
    check(!field.empty(), "empty short number");
    check(field[0] == ' ' || field[0] == '-', "short number without its sign place", field);
    check(isPlainDecimal(field[0] == ' ' ? std::string_view(field).substr(1) : field, '.'),
          "short number is not a plain decimal", field);
    check(closeTo(siacci::readField(field), shown), "short number does not read back", field);

    // The calculator's display reads its own general form back.
    const std::string general = siacci::generalNumber(value);
    check(closeTo(siacci::plainReading(general), shown), "general form does not read back",
          general);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // What the window reads from a typed field.
    const double plain = siacci::plainReading(text);
    check(std::isfinite(plain), "plainReading gave NaN or infinity", text);
    const double field = siacci::readField(text);
    check(std::isfinite(field), "readField gave NaN or infinity", text);
    const std::string converted = siacci::virgola(text);
    check(converted.size() == text.size(), "virgola changed the length", text);
    checkWrittenForms(plain);
    checkWrittenForms(field);

    // The same bytes taken as a double: every bit pattern, NaN, infinities and subnormals too.
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        checkWrittenForms(raw);
    }
    return 0;
}
