#pragma once

#include "armoury/armoury.hpp"

#include <optional>
#include <string>
#include <string_view>

// The armoury document as JSON text ({"format": "siacci-armeria", "version": 1, "rifles": [...]}),
// written and read by this one code for the desktop's file, an exported rifle, siacci-cli and
// the web page's storage, so that a document written by any of them reads in every other.
namespace siacci::armoury {

// The whole document, indented by four spaces.
std::string armouryToJson(const Armoury& armoury);

struct JsonReading {
    std::optional<Armoury> armoury;
    std::string problem;     // why not, in Italian, when armoury is empty
};
// Reads a document; anything malformed, of another format, of a newer version, or holding a
// value that is not sound is refused with the reason.
JsonReading armouryFromJson(std::string_view json);

} // namespace siacci::armoury
