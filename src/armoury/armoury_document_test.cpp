#include "armoury/armoury_document.hpp"
#include "armoury/armoury_merge.hpp"
#include "armoury/armoury_test_data.hpp"

#include <gtest/gtest.h>

namespace siacci::armoury {
namespace {

// Every field comes back, also names and notes with quotes, accents and control characters,
// and numbers at full precision.
TEST(ArmouryDocument, EveryFieldComesBackAsWritten)
{
    Armoury a{{testing::fullRifle()}};
    Rifle odd;
    odd.name = "Tiro \"lungo\" \\ à\tè\x01";
    odd.zero_m = 100 + 1.0 / 3;
    odd.loads = {testing::fullRifle().loads[1]};
    a.rifles.push_back(odd);
    const std::string json = documentJson(a);
    const DocumentReading back = readDocumentJson(json);
    ASSERT_TRUE(back.armoury) << back.problem;
    EXPECT_EQ(*back.armoury, a);
    EXPECT_EQ(documentJson(*back.armoury), json);
    EXPECT_NE(json.find("\"format\": \"siacci-armeria\""), std::string::npos);
    EXPECT_NE(json.find("\"turret_clicks_per_turn\": 60"), std::string::npos);
    EXPECT_NE(json.find("\"diameter_mm\": null"), std::string::npos);
}

// The load's shot-to-shot spread (for the chance of a hit) comes back as written; a document
// of an earlier version, without it, reads as "not measured" and is written back unchanged.
TEST(ArmouryDocument, TheVelocitySpreadComesBackAndOldDocumentsStayAsTheyWere)
{
    Armoury a{{testing::fullRifle()}};
    const std::string old = documentJson(a);
    EXPECT_EQ(old.find("velocity_sd_ms"), std::string::npos);
    const DocumentReading oldBack = readDocumentJson(old);
    ASSERT_TRUE(oldBack.armoury) << oldBack.problem;
    EXPECT_FALSE(oldBack.armoury->rifles[0].loads[0].velocitySd_ms);
    EXPECT_EQ(documentJson(*oldBack.armoury), old);

    a.rifles[0].loads[0].velocitySd_ms = 7.25;
    const std::string json = documentJson(a);
    EXPECT_NE(json.find("\"velocity_sd_ms\": 7.25"), std::string::npos);
    const DocumentReading back = readDocumentJson(json);
    ASSERT_TRUE(back.armoury) << back.problem;
    EXPECT_EQ(back.armoury->rifles[0].loads[0].velocitySd_ms, 7.25);
    EXPECT_EQ(*back.armoury, a);

    a.rifles[0].loads[0].velocitySd_ms = -1;
    EXPECT_NE(loadProblem(a.rifles[0].loads[0]).find("Lo scarto della velocità"), std::string::npos);
}

// The scope comes back; a document written before rifles had scopes gives the default one, and
// a scope of only some keys keeps the defaults of the others.
TEST(ArmouryDocument, TheRiflesScopeComesBackAndOldDocumentsGetTheDefault)
{
    const Armoury a{{testing::fullRifle()}};
    const std::string json = documentJson(a);
    EXPECT_NE(json.find("\"reticle\": \"personalizzato\""), std::string::npos);
    EXPECT_NE(json.find("\"focal_plane\": \"second\""), std::string::npos);
    EXPECT_EQ(readDocumentJson(json).armoury->rifles[0].scope, a.rifles[0].scope);

    const std::string rifle = R"({"name":"A","sight_height_cm":4,"twist_in":10,"twist_right_hand":true,)"
                              R"("click_value":0.1,"click_unit":"mrad","zero_m":100,"zero_atmosphere":)"
                              R"({"temperature_c":15,"pressure_hpa":1013,"humidity_pct":0},"loads":[])";
    const auto read = [&](const std::string& scope) {
        return readDocumentJson(R"({"format":"siacci-armeria","version":1,"rifles":[)" + rifle + scope + "}]}");
    };
    const DocumentReading old = read("");
    ASSERT_TRUE(old.armoury) << old.problem;
    EXPECT_EQ(old.armoury->rifles[0].scope, card::ScopeSetup{});
    const DocumentReading some = read(R"(,"scope":{"reticle":"albero","focal_plane":"first"})");
    ASSERT_TRUE(some.armoury) << some.problem;
    EXPECT_EQ(some.armoury->rifles[0].scope.reticle, "albero");
    EXPECT_EQ(some.armoury->rifles[0].scope.plane, card::FocalPlane::First);
    EXPECT_DOUBLE_EQ(some.armoury->rifles[0].scope.magnification, 10);

    const struct {
        const char* scope;
        const char* problem;
    } refused[] = {
        {R"(,"scope":"mildot")", "il campo \"scope\" di \"A\" manca o non è valido"},
        {R"(,"scope":{"focal_plane":"third"})", "il campo \"focal_plane\" di \"A\" manca o non è valido"},
        {R"(,"scope":{"custom_marks":[1,"2"]})", "il campo \"custom_marks\" di \"A\" manca o non è valido"},
        {R"(,"scope":{"reticle":"nessuno"})", "L'ottica dell'arma \"A\": Reticolo sconosciuto: \"nessuno\"."},
        {R"(,"scope":{"magnification":500})", "L'ottica dell'arma \"A\": Ingrandimento: deve essere tra 1 e 100 ×."},
    };
    for (const auto& r : refused)
        EXPECT_EQ(read(r.scope).problem, r.problem) << r.scope;
}

// A document as the page writes it (compact, keys in its own order, escapes of its own) reads.
TEST(ArmouryDocument, ReadsTheDocumentsOfOtherWriters)
{
    const std::string page =
        R"({"format":"siacci-armeria","version":1,"rifles":[{"name":"Tikka \u00e8 \ud83d\ude00",)"
        R"("sight_height_cm":4,"twist_in":10,"twist_right_hand":true,"click_value":0.1,)"
        R"("click_unit":"mrad","turret_clicks_per_turn":null,"zero_m":100,"zero_atmosphere":)"
        R"({"temperature_c":15,"pressure_hpa":1013.25,"humidity_pct":0},"loads":[{"description":)"
        R"("150 gr","velocity_ms":800,"velocity_temperature_c":15,)"
        R"("temperature_sensitivity_ms_per_c":0,"drag":"G1","bc":0.4,"bc_steps":[],)"
        R"("drag_table":[],"weight_gr":150,"diameter_mm":null,"length_mm":null,"notes":""}]}]})";
    const DocumentReading r = readDocumentJson(page);
    ASSERT_TRUE(r.armoury) << r.problem;
    EXPECT_EQ(r.armoury->rifles[0].name, "Tikka \xC3\xA8 \xF0\x9F\x98\x80");
    const NormalisedDocument n = normaliseDocumentJson(page);
    EXPECT_EQ(n.problem, "");
    EXPECT_EQ(readDocumentJson(n.json).armoury, r.armoury);
}

// What is not an armoury is refused with the real cause, never "(no error occurred)" and
// never a sentence ending in "..".
TEST(ArmouryDocument, RefusesWhatIsNotASoundDocumentAndSaysWhy)
{
    const std::string head = R"({"format":"siacci-armeria","version":1,"rifles":)";
    const std::string rifle = R"({"name":"A","sight_height_cm":4,"twist_in":10,"twist_right_hand":true,)"
                              R"("click_value":0.1,"click_unit":"mrad","zero_m":100,"zero_atmosphere":)"
                              R"({"temperature_c":15,"pressure_hpa":1013,"humidity_pct":0},"loads":[])";
    const struct {
        std::string json;
        const char* problem;
    } cases[] = {
        {"[]", "il file non è un'armeria di Siacci"},
        {"[{\"format\":\"siacci-armeria\"}]", "il file non è un'armeria di Siacci"},
        {"", "il file non è un documento JSON valido (valore non valido al carattere 1)"},
        {"{\"format\":", "il file non è un documento JSON valido (valore non valido al carattere 11)"},
        {"{} x", "il file non è un documento JSON valido (testo in più dopo la fine del documento)"},
        {"\"\xFF\"", "il file non è un documento JSON valido (testo non in UTF-8 al carattere 2)"},
        {"\"\xC0\xAF\"", "il file non è un documento JSON valido (testo non in UTF-8 al carattere 2)"},
        {"\"\\ud800\"", "il file non è un documento JSON valido (sequenza \\u non valida al carattere 8)"},
        {"1e400", "il file non è un documento JSON valido (numero fuori misura al carattere 6)"},
        {std::string(100, '['), "il file non è un documento JSON valido (documento annidato troppo in "
                                "profondità al carattere 66)"},
        {R"({"format":"siacci-armeria","version":3,"rifles":[]})",
         "il documento è della versione 3, scritta da un programma più recente di questo"},
        {R"({"format":"siacci-armeria","version":1e300,"rifles":[]})",
         "il documento è della versione ?, scritta da un programma più recente di questo"},
        {R"({"format":"siacci-armeria","version":1.5,"rifles":[]})",
         "la versione del documento manca o non è valida"},
        {R"({"format":"siacci-armeria","version":1})", "manca l'elenco delle armi"},
        {head + "[1]}", "il campo \"rifles\" manca o non è valido"},
        {head + "[" + rifle + R"(,"turret_clicks_per_turn":1e300}]})",
         "il campo \"turret_clicks_per_turn\" di \"A\" manca o non è valido"},
        {head + "[" + rifle + R"(,"turret_clicks_per_turn":2.5}]})",
         "il campo \"turret_clicks_per_turn\" di \"A\" manca o non è valido"},
        {head + "[" + rifle + R"(,"click_unit":"gradi"}]})", "il campo \"click_unit\" di \"A\" manca o non è valido"},
        {head + "[" + rifle + "}," + rifle + "}]}", "Due armi si chiamano \"A\"."},
        {head + "[" + rifle + R"(,"sight_height_cm":1e308}]})",
         "L'altezza dell'ottica dell'arma \"A\" deve stare tra 0 e 30 cm."},
    };
    for (const auto& c : cases) {
        const DocumentReading r = readDocumentJson(c.json);
        EXPECT_FALSE(r.armoury) << c.json;
        EXPECT_EQ(r.problem, c.problem) << c.json;
        EXPECT_EQ(r.problem.find(".."), std::string::npos);
        EXPECT_EQ(normaliseDocumentJson(c.json).json, "");
    }
    // A number too small for a double is zero; the last key of a repeated pair counts.
    EXPECT_EQ(readDocumentJson(head + "[" + rifle + R"(,"sight_height_cm":1e-400}]})").armoury->rifles[0].sightHeight_cm, 0);
    EXPECT_TRUE(readDocumentJson(head + "[" + rifle + R"(,"zero_m":5000,"zero_m":200}]})").armoury);
}

Rifle rifleNamed(const std::string& name, double zero = 100)
{
    Rifle r;
    r.name = name;
    r.zero_m = zero;
    return r;
}

std::vector<std::string> namesAndZeros(const Armoury& a)
{
    std::vector<std::string> out;
    for (const Rifle& r : a.rifles)
        out.push_back(r.name + "@" + std::to_string(static_cast<int>(r.zero_m)));
    return out;
}

// Two programs saved the same armoury: every rifle either of them added or changed survives.
TEST(ArmouryMerge, NothingEitherProgramDidIsLost)
{
    const Armoury base{{rifleNamed("A"), rifleNamed("B"), rifleNamed("C"), rifleNamed("D")}};
    const struct {
        const char* what;
        Armoury mine;
        Armoury theirs;
        std::vector<std::string> merged;
    } cases[] = {
        {"nothing changed there", base, base, {"A@100", "B@100", "C@100", "D@100"}},
        {"a rifle added in each",
         {{rifleNamed("A"), rifleNamed("B"), rifleNamed("C"), rifleNamed("D"), rifleNamed("M")}},
         {{rifleNamed("A"), rifleNamed("B"), rifleNamed("C"), rifleNamed("D"), rifleNamed("T")}},
         {"A@100", "B@100", "C@100", "D@100", "M@100", "T@100"}},
        {"one rifle changed in each",
         {{rifleNamed("A", 200), rifleNamed("B"), rifleNamed("C"), rifleNamed("D")}},
         {{rifleNamed("A"), rifleNamed("B", 300), rifleNamed("C"), rifleNamed("D")}},
         {"A@200", "B@300", "C@100", "D@100"}},
        {"the same rifle changed differently: both kept",
         {{rifleNamed("A", 200), rifleNamed("B"), rifleNamed("C"), rifleNamed("D")}},
         {{rifleNamed("A", 300), rifleNamed("B"), rifleNamed("C"), rifleNamed("D")}},
         {"A@200", "B@100", "C@100", "D@100", "A (2)@300"}},
        {"removed here, removed there, removed here and changed there",
         {{rifleNamed("A"), rifleNamed("B")}},
         {{rifleNamed("A"), rifleNamed("C"), rifleNamed("D", 400)}},
         {"A@100", "D@400"}},
        {"changed here and removed there",
         {{rifleNamed("A", 200), rifleNamed("B"), rifleNamed("C"), rifleNamed("D")}},
         {{rifleNamed("B"), rifleNamed("C"), rifleNamed("D")}},
         {"A@200", "B@100", "C@100", "D@100"}},
        {"the same new name on both sides",
         {{rifleNamed("A"), rifleNamed("B"), rifleNamed("C"), rifleNamed("D"), rifleNamed("N", 200)}},
         {{rifleNamed("A"), rifleNamed("B"), rifleNamed("C"), rifleNamed("D"), rifleNamed("N", 300)}},
         {"A@100", "B@100", "C@100", "D@100", "N@200", "N (2)@300"}},
        {"renamed there", base, {{rifleNamed("A"), rifleNamed("B"), rifleNamed("C"), rifleNamed("Z")}},
         {"A@100", "B@100", "C@100", "Z@100"}},
    };
    for (const auto& c : cases) {
        const Armoury merged = mergeArmouries(base, c.mine, c.theirs);
        EXPECT_EQ(namesAndZeros(merged), c.merged) << c.what;
        EXPECT_EQ(armouryProblem(merged), "") << c.what;
    }
}

} // namespace
} // namespace siacci::armoury

namespace siacci::armoury {
namespace {

// The velocity with the powder warmed or cooled is checked before the engine sees it, and the
// refusal names the powder's temperature.
TEST(PowderTemperature, TheCorrectedVelocityStaysWithinTheEngines)
{
    const struct {
        double velocity, sensitivity, temperature;
        bool siacci;
        const char* problem;
    } cases[] = {
        {800, 1, 30, false, ""},
        {1900, 5, 70, false,
         "Con la polvere a 70 °C la velocità della carica \"prova\" diventa 2175 m/s, fuori dai limiti "
         "del calcolo (da 50 a 2000 m/s)."},
        {100, 5, -60, false,
         "Con la polvere a -60 °C la velocità della carica \"prova\" diventa -275 m/s, fuori dai limiti "
         "del calcolo (da 50 a 2000 m/s)."},
        {1300, 2, 70, false, ""},
        {1300, 2, 70, true,
         "Con la polvere a 70 °C la velocità della carica \"prova\" diventa 1410 m/s, fuori dai limiti "
         "del calcolo (da 92 a 1371 m/s)."},
    };
    for (const auto& c : cases) {
        Load load;
        load.description = "prova";
        load.velocity_ms = c.velocity;
        load.temperatureSensitivity_msPerC = c.sensitivity;
        load.velocityTemperature_C = 15;
        EXPECT_EQ(powderVelocityProblem(load, c.temperature, c.siacci), c.problem) << c.velocity;
    }
}

} // namespace
} // namespace siacci::armoury
