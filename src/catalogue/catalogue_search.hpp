#pragma once

#include "catalogue/catalogue.hpp"

#include <string>
#include <string_view>
#include <vector>

// Finding a cartridge of the catalogue as a hunter types it on a phone: "7x64", "6,5x55",
// "9,3x62", "30-06", "308win" find "7 X 64", "6,5 X 55", "9,3 X 62 mm", "30-'06 SPRINGFIELD",
// ".308 WINCHESTER": letters and digits are compared without case, blanks, points, commas,
// dashes or apostrophes. Every word typed must be found in the cartridge's caption, its calibre
// family or one of its bullets.
namespace siacci {

struct CatalogueHit {
    const CatalogueMenu* menu = nullptr;
    const CartridgeFamily* family = nullptr;
    const CartridgePreset* preset = nullptr;
    // Buttons (1 ...) of the bullets whose own caption or description holds a word that the
    // cartridge's caption and family do not; empty when the cartridge itself matched.
    std::vector<int> bullets;
};

// The hits in menu order. An empty query finds nothing.
std::vector<CatalogueHit> searchCatalogue(std::string_view query);

// The letters and digits of a text, upper case (Latin-1 accents folded too): ".308 Win." ->
// "308WIN". The form in which searchCatalogue compares.
std::string searchKey(std::string_view text);

// A calibre family's caption as a heading: "7,62 mm._.300" -> "7,62 mm · .300", "5,6_.224" ->
// "5,6 mm · .224", ".257" stays.
std::string familyHeading(std::string_view caption);

// A catalogue text in the words of the page: "grains" is "grani".
std::string italianCaption(std::string_view caption);

} // namespace siacci
