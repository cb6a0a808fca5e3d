#pragma once

#include "armoury/armoury.hpp"

#include <optional>
#include <string>
#include <string_view>

// The armoury as a document: {"format": "siacci-armeria", "version": 1, "rifles": [...]}, the
// one form in which the desktop program keeps it (qt_armoury_store.hpp), exports a rifle, and
// the phone page stores and exchanges it. Reading and writing live here, with the rules of
// armoury.hpp, so that every face writes only what every other reads.
namespace siacci::armoury {

// An armoury is a few kilobytes; a file far larger is not one.
inline constexpr std::size_t kArmouryMaxBytes = 16 * 1024 * 1024;

// The document's text (JSON, indented, keys in order, UTF-8).
std::string documentJson(const Armoury& armoury);

struct DocumentReading {
    std::optional<Armoury> armoury;
    std::string problem; // why not, in Italian, when armoury is empty
};

// Reads a document; anything malformed, of another format, of a newer version, or holding a
// value that is not sound (armouryProblem) is refused with the reason.
DocumentReading readDocumentJson(std::string_view json);

// What the page calls before it stores or hands out a document: the document read and written
// again in the program's own form (so an exported file always imports on the desktop), or the
// reason it is refused.
struct NormalisedDocument {
    std::string json;    // empty when refused
    std::string problem;
};
NormalisedDocument normaliseDocumentJson(std::string_view json);

} // namespace siacci::armoury
