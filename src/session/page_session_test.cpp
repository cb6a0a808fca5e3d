#include "session/page_session.hpp"

#include "armoury/armoury_document.hpp"
#include "armoury/armoury_test_data.hpp"
#include "common/fakes.hpp"
#include "common/json.hpp"

#include <gtest/gtest.h>

#include <map>

namespace siacci::session {
namespace {

using json::Value;

// The browser's storage across page loads.
class Browser {
public:
    std::map<std::string, std::string> storage;

    std::unique_ptr<PageSession> open()
    {
        auto s = std::make_unique<PageSession>(
            std::vector<std::pair<std::string, std::string>>(storage.begin(), storage.end()));
        flush(*s);
        return s;
    }
    void flush(PageSession& s)
    {
        for (const StorageWrite& w : s.takeWrites())
            storage[w.key] = w.text;
    }
};

Value view(const std::string& text)
{
    json::Reading r = json::parse(text);
    EXPECT_TRUE(r.value) << r.problem;
    return r.value ? *r.value : Value();
}

// The cells of the row at a distance: distance, elevation clicks, windage clicks, path ...
std::vector<std::string> rowAt(const PageSession& s, double distance)
{
    const Value v = view(s.cardView());
    for (const Value& row : v.find("righe")->items())
        if (row.find("distanza")->number() == distance) {
            std::vector<std::string> cells;
            for (const Value& c : row.find("celle")->items())
                cells.push_back(c.string());
            return cells;
        }
    return {};
}

std::string messageOf(const PageSession& s, const char* field)
{
    return view(s.cardView()).find("campi")->find(field)->find("messaggio")->string();
}

void type(PageSession& s, const char* field, const char* text)
{
    s.cardSet(field, text);
    s.cardLeave(field);
}

// The desktop's card of an armoury load on the same day as the page's: the window's models over
// the same document, the day's fields and choices typed as on the page.
std::vector<std::string> desktopRow(const armoury::Armoury& doc, const std::string& rifle, const std::string& load,
                                    const card::Cartellino& day, double distance)
{
    armoury::testing::MemoryStorage storage;
    armoury::ArmourySession session(doc, storage);
    card::Cartellino card;
    siacci::testing::FakeDialogs dialogs;
    armoury::CardArmoury link(session, card, dialogs);
    using card::CardField;
    for (CardField f : {CardField::Temperature, CardField::Pressure, CardField::Altitude, CardField::Humidity,
                        CardField::WindSpeed, CardField::LookAngle, CardField::MaxDistance, CardField::Increment})
        card.fieldChanged(f, day.fieldText(f));
    card.pressureModeChosen(day.pressureMode());
    card.windClockChosen(day.windClock());
    const auto r = armoury::findRifle(doc, rifle);
    link.rifleChosen(static_cast<int>(*r) + 1);
    link.loadChosen(static_cast<int>(*armoury::findLoad(doc.rifles[*r], load)) + 1);
    for (const card::CardRow& row : card.sheet().rows)
        if (row.row.distance_m == distance)
            return {row.cells[0], row.cells[6], row.cells[9], row.cells[4], row.cells[1], row.cells[2]};
    return {};
}

// The hunter's evening: a G7 load typed with a decimal comma, saved, two reloads, a colder day,
// trued from "30 click a 400 m", exported: the desktop reads the file and computes the same.
TEST(PageSession, HandTypedLoadSurvivesReloadsAndMatchesTheDesktop)
{
    Browser browser;
    auto s = browser.open();
    s->cardChoose("modello", "G7");
    type(*s, "velocita", "812,5");
    type(*s, "coefficiente", "0,243");
    type(*s, "peso", "168");
    type(*s, "temperatura", "-5");
    type(*s, "pressione", "930");
    s->cardChoose("pressione", "0");
    type(*s, "umidita", "80");
    type(*s, "taratura", "200");
    s->cardChoose("click", "0");
    const auto before = rowAt(*s, 400);
    ASSERT_FALSE(before.empty());
    s->armourySave("Blaser R8", "168 grani G7");
    browser.flush(*s);
    EXPECT_EQ(s->source(), LoadSource::Armoury);
    EXPECT_EQ(rowAt(*s, 400), before) << "saving must not move the card";

    s = browser.open();
    s = browser.open();
    EXPECT_EQ(s->source(), LoadSource::Armoury);
    EXPECT_EQ(rowAt(*s, 400), before) << "two reloads keep the card";
    const armoury::Rifle& rifle = s->armoury().rifles.at(0);
    EXPECT_EQ(rifle.zeroAtmosphere, (armoury::ZeroAtmosphere{-5, 930, 80})) << "the zero's air as typed";
    EXPECT_EQ(rifle.loads.at(0).drag, armoury::LoadDrag::G7);
    EXPECT_DOUBLE_EQ(rifle.loads.at(0).velocity_ms, 812.5);

    type(*s, "temperatura", "10");
    browser.flush(*s);
    EXPECT_EQ(rowAt(*s, 300), desktopRow(s->armoury(), "Blaser R8", "168 grani G7", s->card(), 300));

    s->truingSet("osservazione", "correzione");
    s->truingSet("unita", "0");
    s->truingSet("valore", "30");
    s->truingSet("distanza", "400");
    s->truingSolve(false);
    Value truing = *view(s->cardView()).find("verifica");
    if (truing.find("coefficiente")->boolean()) {
        s->truingSolve(true);
        truing = *view(s->cardView()).find("verifica");
    }
    ASSERT_TRUE(truing.find("applica")->boolean()) << truing.find("risultato")->string();
    s->truingApply();
    browser.flush(*s);
    EXPECT_EQ(rowAt(*s, 400)[1], "▲ 30") << "the trued load dials what was seen";

    const std::string exported = s->armouryExport();
    const armoury::DocumentReading desktop = armoury::readDocumentJson(exported);
    ASSERT_TRUE(desktop.armoury) << desktop.problem;
    EXPECT_EQ(*desktop.armoury, s->armoury());
    for (double d : {100.0, 200.0, 300.0, 400.0, 500.0})
        EXPECT_EQ(rowAt(*s, d), desktopRow(*desktop.armoury, "Blaser R8", "168 grani G7", s->card(), d)) << d;
}

// A load with stepped coefficients, spin drift and its zero's air keeps all of them over a
// reload, and a colder day moves its velocity by its sensitivity.
TEST(PageSession, ArmouryLoadKeepsEverythingAndFollowsTheTemperature)
{
    armoury::Armoury doc;
    doc.rifles = {armoury::testing::fullRifle()};
    Browser browser;
    browser.storage[kArmouryKey] = armoury::documentJson(doc);
    auto s = browser.open();
    s->armouryChoose(0, 1);
    type(*s, "temperatura", "5");
    browser.flush(*s);
    const auto chosen = rowAt(*s, 300);
    EXPECT_EQ(chosen, desktopRow(doc, "Sako 85 .308", "165 gr SP a gradini", s->card(), 300));
    s = browser.open();
    EXPECT_EQ(rowAt(*s, 300), chosen);
    EXPECT_EQ(s->card().bcStepText(0, 0), "0,435");
    EXPECT_EQ(s->card().fieldText(card::CardField::Description), "165 gr SP a gradini");
    // Saved again unchanged, the load is the same load.
    s->armourySave("Sako 85 .308", "165 gr SP a gradini");
    EXPECT_EQ(s->armoury(), doc);
}

// Before: saving with Velocità empty stored a load the reader refused, and the next start
// dropped the whole armoury.
TEST(PageSession, NothingWrongIsSavedAndNothingUnreadableIsDropped)
{
    armoury::Armoury doc;
    doc.rifles = {armoury::testing::fullRifle()};
    Browser browser;
    browser.storage[kArmouryKey] = armoury::documentJson(doc);
    auto s = browser.open();
    type(*s, "velocita", "");
    EXPECT_EQ(messageOf(*s, "velocita"), "Velocità: manca il valore");
    EXPECT_TRUE(view(s->cardView()).find("righe")->items().empty());
    s->armourySave("Sako 85 .308", "nuova");
    browser.flush(*s);
    EXPECT_NE(view(s->armouryView()).find("messaggio")->string().find("Il cartellino non si salva"), std::string::npos);
    EXPECT_EQ(s->armoury(), doc);

    const std::string broken = "{\"format\": \"siacci-armeria\", \"version\": 1, \"rifles\": [{\"name\": 3}]}";
    browser.storage[kArmouryKey] = broken;
    s = browser.open();
    const Value unreadable = *view(s->armouryView()).find("illeggibili");
    ASSERT_EQ(unreadable.items().size(), 1u);
    EXPECT_EQ(unreadable.items()[0].find("testo")->string(), broken);
    const std::string aside = unreadable.items()[0].find("chiave")->string();
    EXPECT_EQ(browser.storage.at(aside), broken) << "kept aside before anything is written";
    // The next start still offers it, beside the new armoury.
    type(*s, "velocita", "800");
    s->armourySave("Nuova", "carica");
    browser.flush(*s);
    s = browser.open();
    EXPECT_EQ(view(s->armouryView()).find("illeggibili")->items().size(), 1u);
    EXPECT_EQ(s->armoury().rifles.size(), 1u);
}

TEST(PageSession, ImportingTwiceDoesNotDuplicateAndClashesAreAsked)
{
    armoury::Armoury doc;
    doc.rifles = {armoury::testing::fullRifle()};
    const std::string file = armoury::documentJson(doc);
    Browser browser;
    auto s = browser.open();
    s->armouryImport(file, false);
    EXPECT_EQ(view(s->armouryView()).find("messaggio")->string(), "Importata 1 arma.");
    EXPECT_EQ(s->armouryImportQuestion(file), "");
    s->armouryImport(file, false);
    EXPECT_EQ(s->armoury().rifles.size(), 1u);
    EXPECT_EQ(view(s->armouryView()).find("messaggio")->string(), "L'arma del file è già nell'armeria.");

    armoury::Armoury changed = doc;
    changed.rifles[0].zero_m = 300;
    const std::string other = armoury::documentJson(changed);
    EXPECT_NE(s->armouryImportQuestion(other).find("Sostituirla"), std::string::npos);
    s->armouryImport(other, false);
    ASSERT_EQ(s->armoury().rifles.size(), 2u);
    EXPECT_EQ(s->armoury().rifles[1].name, "Sako 85 .308 (2)");
    s->armouryImport(other, true);
    EXPECT_EQ(s->armoury().rifles.size(), 2u);
    EXPECT_EQ(s->armoury().rifles[0].zero_m, 300);
    s->armouryImport("{", false);
    EXPECT_NE(view(s->armouryView()).find("messaggio")->string().find("Il file non si importa"), std::string::npos);
}

// A field being typed is no error until it is left, and the card stays as it was meanwhile.
TEST(PageSession, TypingIsNotAnErrorUntilTheFieldIsLeft)
{
    Browser browser;
    auto s = browser.open();
    const auto before = rowAt(*s, 300);
    for (const char* typed : {"-", "0,", "8", "-8"}) {
        s->cardSet("velocita", typed);
        EXPECT_EQ(messageOf(*s, "velocita"), "") << typed;
        EXPECT_EQ(rowAt(*s, 300), before) << typed;
    }
    s->cardLeave("velocita");
    EXPECT_EQ(messageOf(*s, "velocita"), "Velocità: deve essere tra 50 e 2000 m/s");
    EXPECT_NE(view(s->cardView()).find("rifiuto")->string().find("Velocità"), std::string::npos);
    s->cardSet("velocita", "99999");
    s->cardSet("temperatura", "-");   // moving on leaves the other field
    EXPECT_EQ(messageOf(*s, "velocita"), "Velocità: deve essere tra 50 e 2000 m/s");
    EXPECT_EQ(messageOf(*s, "temperatura"), "");
    s->cardSet("temperatura", "-5");
    EXPECT_EQ(s->card().fieldText(card::CardField::Temperature), "-5");
    s->cardNegate("temperatura");
    EXPECT_EQ(s->card().fieldText(card::CardField::Temperature), "5");
    s->cardNegate("angolo");
    s->cardLeave("angolo");
    EXPECT_EQ(s->card().fieldText(card::CardField::LookAngle), "-0");
}

TEST(PageSession, CatalogueBulletSurvivesReloads)
{
    Browser browser;
    auto s = browser.open();
    s->useCatalogue("tre11", 2);
    browser.flush(*s);
    const auto chosen = rowAt(*s, 300);
    s = browser.open();
    s = browser.open();
    EXPECT_EQ(s->source(), LoadSource::Catalogue);
    EXPECT_EQ(rowAt(*s, 300), chosen);
    const Value source = *view(s->cardView()).find("origine");
    EXPECT_EQ(source.find("pulsante")->number(), 2);
    EXPECT_EQ(source.find("riga")->string().rfind("Dal catalogo: .308 WINCHESTER", 0), 0u);
    EXPECT_EQ(source.find("riga")->string().find("grains"), std::string::npos);
}

// The classic table of the card's shot: G7 is refused and said, the site angle is passed.
TEST(PageSession, ClassicTableOfTheSameShot)
{
    Browser browser;
    auto s = browser.open();
    Value t = view(s->tableView());
    EXPECT_EQ(t.find("rifiuto")->string(), "");
    EXPECT_GT(t.find("righe")->items().size(), 3u);
    const std::string flat = t.find("righe")->items()[2].items()[3].string();
    type(*s, "angolo", "30");
    t = view(s->tableView());
    EXPECT_NE(t.find("righe")->items()[2].items()[3].string(), flat) << "the site angle changes the drop";
    type(*s, "angolo", "20");
    EXPECT_NE(view(s->tableView()).find("rifiuto")->string().find("angolo di sito"), std::string::npos);
    type(*s, "angolo", "0");
    s->cardChoose("modello", "G7");
    EXPECT_NE(view(s->tableView()).find("rifiuto")->string().find("G1"), std::string::npos);
    s->cardChoose("modello", "G1");
    type(*s, "vento", "10");
    s->cardChoose("ora", "12");
    EXPECT_NE(view(s->tableView()).find("rifiuto")->string().find("traverso"), std::string::npos);
}

TEST(PageSession, CatalogueViewSearchesAndSaysWhenNothingIsFound)
{
    PageSession s;
    Value v = view(s.catalogueView(0, ""));
    EXPECT_EQ(v.find("menu")->items().size(), 3u);
    EXPECT_EQ(v.find("gruppi")->items()[0].find("titolo")->string(), "5,6 mm · .224");
    v = view(s.catalogueView(0, "6,5x55"));
    EXPECT_EQ(v.find("gruppi")->items()[0].find("voci")->items()[0].find("nome")->string(), "6,5 X 55");
    EXPECT_EQ(view(s.catalogueView(0, "zzz")).find("messaggio")->string(), "nessun risultato");
    const Value loads = view(s.catalogueLoads("tre11"));
    EXPECT_NE(loads.find("palle")->items()[0].find("dettaglio")->string().find("grani"), std::string::npos);
}

} // namespace
} // namespace siacci::session

namespace siacci::session {
namespace {

// "Distanza etica" on the phone: the card shows at once, the chance of a hit follows a batch at
// a time, and when every sample has flown the page shows the desktop's column and line (the
// same seed, the same samples, the same figures).
TEST(PageSessionHit, TheProbabilitiesFollowTheCardAndEndAsTheDesktops)
{
    Browser browser;
    auto s = browser.open();
    s->cardChoose("specie", "2");
    s->cardChoose("posizione", "2");
    s->cardChoose("vento_letto", "1");
    s->cardChoose("telemetro", "0");
    type(*s, "vento", "10");
    s->cardChoose("colpo", "1");
    Value v = view(s->cardView());
    EXPECT_TRUE(v.find("colpo")->find("attivo")->boolean());
    EXPECT_TRUE(v.find("colpo")->find("in_corso")->boolean());
    EXPECT_EQ(v.find("colpo")->find("riga")->string(), "");
    EXPECT_FALSE(v.find("righe")->items().empty()) << "the card shows before the samples";

    int steps = 0;
    while (s->hitStep(2000))
        ++steps;
    EXPECT_EQ(steps, 4);
    v = view(s->cardView());
    EXPECT_FALSE(v.find("colpo")->find("in_corso")->boolean());
    EXPECT_EQ(v.find("colpo")->find("campioni")->number(), 10000);

    // The desktop's card with the same inputs computes the whole table at once.
    card::Cartellino desktop;
    desktop.speciesChosen(card::Species::Cinghiale);
    desktop.positionChosen(card::ShootingPosition::Bastone);
    desktop.windReadingChosen(card::WindReading::Stimato);
    desktop.fieldChanged(card::CardField::WindSpeed, "10");
    desktop.hitChosen(true);
    ASSERT_FALSE(desktop.sheet().ethicalText.empty());
    EXPECT_EQ(v.find("colpo")->find("riga")->string(), desktop.sheet().ethicalText);
    const auto& headings = v.find("intestazioni")->items();
    ASSERT_EQ(headings.back().string(), "Colpo utile %");
    const auto column = std::find(desktop.sheet().columns.begin(), desktop.sheet().columns.end(),
                                  card::Column::Hit) - desktop.sheet().columns.begin();
    for (const card::CardRow& row : desktop.sheet().rows)
        EXPECT_EQ(rowAt(*s, row.row.distance_m).back(), row.cells[static_cast<std::size_t>(column)])
            << row.row.distance_m;

    // The choices are kept with the page.
    browser.flush(*s);
    auto again = browser.open();
    EXPECT_TRUE(again->card().hit());
    EXPECT_EQ(again->card().position(), card::ShootingPosition::Bastone);

    // A change starts the samples again.
    s->cardChoose("posizione", "0");
    EXPECT_TRUE(view(s->cardView()).find("colpo")->find("in_corso")->boolean());
    s->cardChoose("colpo", "0");
    EXPECT_FALSE(view(s->cardView()).find("colpo")->find("attivo")->boolean());
    EXPECT_FALSE(s->hitStep(1000));
}

std::string tiroText(const PageSession& s, const char* key)
{
    return view(s.tiroView()).find(key)->string();
}

// "Il tiro" on the phone: the distance from the rangefinder, the angle from the tilt, the
// answer of the core's solution; all of it kept across a reload.
TEST(PageSession, IlTiroAnswersAtTheRangefindersDistanceAndSurvivesReloads)
{
    Browser browser;
    auto s = browser.open();
    s->cardSet("vento", "16");
    s->cardLeave("vento");
    s->tiroSet("tiroDistanza", "287");
    s->tiroChoose("reticolo", "1"); // Mil-Dot, second plane, true at 10x
    s->tiroSet("tiroIngrandimento", "8");
    const card::SolutionResult r = card::solveAt(s->card().setup(), 287);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(tiroText(*s, "alzo"), card::elevationClicksText(r.solution.correction.elevationClicks) + " click");
    EXPECT_EQ(tiroText(*s, "deriva"), card::windageClicksText(r.solution.correction.windageClicks) + " click");
    EXPECT_NE(tiroText(*s, "svg").find("class=\"mira\""), std::string::npos);
    EXPECT_NE(tiroText(*s, "miraValori").find("a 8×"), std::string::npos);

    // The tilt: zeroed on the table, then along the barrel; held with a tap.
    s->tiroSensor("azzera", "1.2");
    s->tiroSensor("inclinazione", "-13.7");
    EXPECT_EQ(s->card().fieldText(card::CardField::LookAngle), "-14,9");
    s->tiroSensor("blocca", "");
    s->tiroSensor("inclinazione", "3");
    EXPECT_EQ(s->card().fieldText(card::CardField::LookAngle), "-14,9");
    EXPECT_TRUE(view(s->tiroView()).find("inclinazione")->find("bloccata")->boolean());
    EXPECT_EQ(view(s->tiroView()).find("campi")->find("tiroAngolo")->find("testo")->string(), "-14,9");

    // The position and the compass fill the card's fields; a wind from the west on a shot to the
    // north blows from 9 o'clock.
    s->tiroSensor("posizione", "45.4642 1234.4");
    s->tiroSensor("bussola", "0");
    s->tiroSensor("ventoBussola", "270");
    EXPECT_EQ(s->card().fieldText(card::CardField::Latitude), "45,4642");
    EXPECT_EQ(s->card().fieldText(card::CardField::Altitude), "1234");
    EXPECT_EQ(s->card().fieldText(card::CardField::Azimuth), "0");
    EXPECT_EQ(s->card().windClock(), 9);
    const std::string answer = tiroText(*s, "alzo");
    browser.flush(*s);

    s = browser.open();
    EXPECT_EQ(s->tiro().fieldText(card::TiroField::Distance), "287");
    EXPECT_EQ(s->tiro().scope().reticle, "mildot");
    EXPECT_DOUBLE_EQ(s->tiro().scope().magnification, 8);
    EXPECT_EQ(tiroText(*s, "alzo"), answer);
}

// The scope belongs to the rifle: chosen from the armoury it comes with it, and changed on the
// page it is kept in the rifle.
TEST(PageSession, IlTiroTakesAndKeepsTheRiflesScope)
{
    armoury::Armoury doc;
    doc.rifles = {armoury::testing::fullRifle()};
    Browser browser;
    browser.storage[kArmouryKey] = armoury::documentJson(doc);
    auto s = browser.open();
    s->armouryChoose(0, 0);
    EXPECT_EQ(s->tiro().scope(), doc.rifles[0].scope);
    s->tiroSet("tiroIngrandimento", "6");
    EXPECT_DOUBLE_EQ(s->armoury().rifles[0].scope.magnification, 6);
    browser.flush(*s);
    const auto stored = armoury::readDocumentJson(browser.storage[kArmouryKey]);
    ASSERT_TRUE(stored.armoury);
    EXPECT_DOUBLE_EQ(stored.armoury->rifles[0].scope.magnification, 6);
}

} // namespace
} // namespace siacci::session
