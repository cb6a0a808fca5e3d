#include "catalogue/catalogue_search.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace siacci {
namespace {

std::vector<std::string> captionsFound(std::string_view query)
{
    std::vector<std::string> out;
    for (const CatalogueHit& hit : searchCatalogue(query))
        out.emplace_back(hit.preset->caption);
    return out;
}

bool finds(std::string_view query, std::string_view caption)
{
    const auto found = captionsFound(query);
    return std::find(found.begin(), found.end(), caption) != found.end();
}

// Calibres as hunters write them find the catalogue's captions, which write them otherwise.
TEST(CatalogueSearch, FindsCalibresAsTheyAreTyped)
{
    const struct { const char* query; const char* caption; } cases[] = {
        {"7x64", "7 X 64"},
        {"8x57", "8 X 57 MAUSER"},
        {"6,5x55", "6,5 X 55"},
        {"9,3x62", "9,3 X 62 mm"},
        {"30-06", "30-'06 SPRINGFIELD 165-200 grains"},
        {"308win", ".308 WINCHESTER (7,62 NATO) 165-200 grains"},
        {".308 win", ".308 WINCHESTER (7,62 NATO) 100-150 grains"},
        {"7X64", "7 X 64"},
        {"schüler", "6,5 X 68 SCHÜLER"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(finds(c.query, c.caption)) << c.query;
    EXPECT_FALSE(finds("7x64", "7 X 57 MAUSER"));
}

TEST(CatalogueSearch, BulletNamesAreSearchedToo)
{
    const CartridgePreset* preset = findPreset("tre11");
    ASSERT_TRUE(preset);
    const std::string bullet(preset->loads.at(1).caption);
    // The bullet's own words together with the calibre find the cartridge and name the bullet.
    const auto hits = searchCatalogue("308 " + bullet);
    const auto hit = std::find_if(hits.begin(), hits.end(), [](const CatalogueHit& h) { return h.preset->itemName == "tre11"; });
    ASSERT_NE(hit, hits.end()) << bullet;
    EXPECT_NE(std::find(hit->bullets.begin(), hit->bullets.end(), 2), hit->bullets.end());
}

TEST(CatalogueSearch, NothingForNoiseOrNoQuery)
{
    EXPECT_TRUE(searchCatalogue("").empty());
    EXPECT_TRUE(searchCatalogue("  - ").empty());
    EXPECT_TRUE(searchCatalogue("zzqx").empty());
}

TEST(CatalogueSearch, ReadableHeadingsAndItalianWords)
{
    const struct { const char* caption; const char* heading; } cases[] = {
        {"7,62 mm._.300", "7,62 mm · .300"}, {"5,6_.224", "5,6 mm · .224"}, {"6mm._.243", "6 mm · .243"},
        {".257", ".257"}, {".303_.323", ".303 · .323"}, {"41_45", ".41 · .45"},
        {"9 mm._.380_.357", "9 mm · .380 · .357"}, {"5,6_6 mm.", "5,6 mm · 6 mm"}, {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(familyHeading(c.caption), c.heading) << c.caption;
    EXPECT_EQ(italianCaption(".308 WINCHESTER 165-200 grains"), ".308 WINCHESTER 165-200 grani");
}

} // namespace
} // namespace siacci
