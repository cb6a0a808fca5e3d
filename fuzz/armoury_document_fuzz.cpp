// The armoury reader: any bytes at all (a damaged disk, another program, a hostile file) give a
// document or a reason, never a crash; a document it accepts is sound, and written again reads
// back as the same document and the same text.
#include "armoury/armoury_document.hpp"
#include "fuzz_check.hpp"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using siacci::fuzz::check;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const siacci::armoury::DocumentReading reading = siacci::armoury::readDocumentJson(bytes);
    check(reading.armoury.has_value() == reading.problem.empty(),
          "a reason with a document, or none without", bytes);
    if (!reading.armoury) {
        check(reading.problem.find("..") == std::string::npos, "a reason ending in ..", reading.problem);
        return 0;
    }
    check(siacci::armoury::armouryProblem(*reading.armoury).empty(), "an unsound document accepted", bytes);
    const std::string json = siacci::armoury::documentJson(*reading.armoury);
    const siacci::armoury::DocumentReading again = siacci::armoury::readDocumentJson(json);
    check(again.armoury.has_value(), "the written document does not read back", json);
    check(*again.armoury == *reading.armoury, "the document changes when written and read", json);
    check(siacci::armoury::documentJson(*again.armoury) == json, "the text changes when written again", json);
    return 0;
}
