#include "armoury/armoury_document.hpp"

#include "armoury/armoury_test_data.hpp"

#include <gtest/gtest.h>

namespace siacci::armoury {
namespace {

TEST(ArmouryJson, EveryFieldComesBack)
{
    Armoury a;
    a.rifles = {testing::fullRifle()};
    Rifle plain;
    plain.name = "Carabina senza torretta";
    a.rifles.push_back(plain);
    const std::string text = documentJson(a);
    const DocumentReading back = readDocumentJson(text);
    ASSERT_TRUE(back.armoury) << back.problem;
    EXPECT_EQ(*back.armoury, a);
    EXPECT_NE(text.find("\"format\": \"siacci-armeria\""), std::string::npos);
    EXPECT_NE(text.find("\"turret_clicks_per_turn\": null"), std::string::npos);
}

// A document written by another program (the old page wrote compact JSON with other spacing,
// members in another order and no bc_steps) reads the same.
TEST(ArmouryJson, ReadsTheDocumentOfOtherWriters)
{
    const char* text = R"({"rifles":[{"loads":[{"description":"168 grani G7","velocity_ms":800,
        "velocity_temperature_c":15,"temperature_sensitivity_ms_per_c":0,"drag":"G7","bc":0.243,
        "weight_gr":168,"diameter_mm":7.82,"length_mm":null}],"name":"Carabina di prova",
        "sight_height_cm":5,"twist_in":11,"twist_right_hand":true,"click_value":0.1,"click_unit":"mrad",
        "turret_clicks_per_turn":100,"zero_m":200,"zero_atmosphere":{"temperature_c":15,
        "pressure_hpa":1013.25,"humidity_pct":0}}],"version":1,"format":"siacci-armeria"})";
    const DocumentReading r = readDocumentJson(text);
    ASSERT_TRUE(r.armoury) << r.problem;
    const Load& load = r.armoury->rifles.at(0).loads.at(0);
    EXPECT_EQ(load.drag, LoadDrag::G7);
    EXPECT_EQ(load.diameter_mm, 7.82);
    EXPECT_FALSE(load.length_mm);
    EXPECT_EQ(r.armoury->rifles[0].turretClicksPerTurn, 100);
}

TEST(ArmouryJson, RefusesWithTheReason)
{
    Armoury a;
    a.rifles = {testing::fullRifle()};
    std::string good = documentJson(a);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = good;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    const struct { std::string text; const char* reason; } cases[] = {
        {"non json", "non è un documento JSON valido"},
        {"[]", "non è un'armeria di Siacci"},
        {replaced("siacci-armeria", "altro"), "non è un'armeria di Siacci"},
        {replaced("\"version\": 1", "\"version\": 2"), "più recente"},
        {replaced("\"version\": 1", "\"version\": 1.5"), "versione del documento"},
        {replaced("\"velocity_ms\": 815", "\"velocity_ms\": \"815\""), "velocity_ms"},
        {replaced("\"velocity_ms\": 815", "\"velocity_ms\": 99999"), "velocità"},
        {replaced("\"click_unit\": \"moa\"", "\"click_unit\": \"gradi\""), "click_unit"},
        {replaced("\"turret_clicks_per_turn\": 60", "\"turret_clicks_per_turn\": 60.5"), "turret_clicks_per_turn"},
        {replaced("\"drag\": \"G7\"", "\"drag\": \"G9\""), "drag"},
    };
    for (const auto& c : cases) {
        const DocumentReading r = readDocumentJson(c.text);
        EXPECT_FALSE(r.armoury) << c.text.substr(0, 80);
        EXPECT_NE(r.problem.find(c.reason), std::string::npos) << r.problem;
    }
}

} // namespace
} // namespace siacci::armoury
