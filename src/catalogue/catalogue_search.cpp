#include "catalogue/catalogue_search.hpp"

#include <algorithm>

namespace siacci {

std::string searchKey(std::string_view text)
{
    std::string key;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 'a' && c <= 'z')
            key += static_cast<char>(c - 'a' + 'A');
        else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            key += static_cast<char>(c);
        else if (c == 0xC3 && i + 1 < text.size()) {
            // Latin-1 letters in UTF-8: the lower case ones (0xA0 ... 0xBE) folded to upper.
            unsigned char next = static_cast<unsigned char>(text[++i]);
            if (next >= 0xA0 && next <= 0xBE && next != 0xB7)
                next = static_cast<unsigned char>(next - 0x20);
            key += static_cast<char>(c);
            key += static_cast<char>(next);
        } else if (c >= 0x80) {
            key += static_cast<char>(c);
        }
    }
    return key;
}

namespace {

std::vector<std::string> words(std::string_view query)
{
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < query.size()) {
        const std::size_t end = std::min(query.find(' ', at), query.size());
        std::string key = searchKey(query.substr(at, end - at));
        if (!key.empty())
            out.push_back(std::move(key));
        at = end + 1;
    }
    return out;
}

bool holds(const std::string& key, const std::string& word)
{
    return key.find(word) != std::string::npos;
}

} // namespace

std::vector<CatalogueHit> searchCatalogue(std::string_view query)
{
    const std::vector<std::string> wanted = words(query);
    std::vector<CatalogueHit> hits;
    if (wanted.empty())
        return hits;
    for (const CatalogueMenu& menu : catalogueMenus())
        for (const CartridgeFamily& family : menu.families)
            for (const CartridgePreset& preset : family.presets) {
                const std::string own = searchKey(preset.caption) + " " + searchKey(family.caption);
                std::vector<std::string> missing;
                for (const std::string& w : wanted)
                    if (!holds(own, w))
                        missing.push_back(w);
                CatalogueHit hit{&menu, &family, &preset, {}};
                if (!missing.empty()) {
                    // The words the cartridge lacks must all be in one of its bullets.
                    for (std::size_t b = 0; b < preset.loads.size(); ++b) {
                        const std::string bullet = searchKey(preset.loads[b].caption) + " " +
                                                   searchKey(preset.loads[b].description);
                        if (std::all_of(missing.begin(), missing.end(),
                                        [&](const std::string& w) { return holds(bullet, w); }))
                            hit.bullets.push_back(static_cast<int>(b) + 1);
                    }
                    if (hit.bullets.empty())
                        continue;
                }
                hits.push_back(std::move(hit));
            }
    return hits;
}

std::string familyHeading(std::string_view caption)
{
    std::string heading;
    std::size_t at = 0;
    while (at <= caption.size() && !caption.empty()) {
        const std::size_t end = std::min(caption.find('_', at), caption.size());
        std::string part(caption.substr(at, end - at));
        while (!part.empty() && (part.back() == '.' || part.back() == ' '))
            part.pop_back();
        std::string number = part;
        if (const std::size_t mm = part.find("mm"); mm != std::string::npos) {
            number = part.substr(0, mm);
            while (!number.empty() && number.back() == ' ')
                number.pop_back();
        }
        const bool digitsOnly = !number.empty() && number.find_first_not_of("0123456789,") == std::string::npos;
        if (digitsOnly && number.find(',') == std::string::npos && number.size() >= 2)
            part = "." + number;            // "41": inches, .41
        else if (digitsOnly)
            part = number + " mm";          // "5,6", "6 mm.", "9 mm."
        if (!heading.empty())
            heading += " · ";
        heading += part;
        at = end + 1;
    }
    return heading;
}

std::string italianCaption(std::string_view caption)
{
    std::string out(caption);
    for (std::size_t at = out.find("grains"); at != std::string::npos; at = out.find("grains", at + 5))
        out.replace(at, 6, "grani");
    return out;
}

} // namespace siacci
