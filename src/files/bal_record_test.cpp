#include "files/bal_record.hpp"
#include "files/file_test_support.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

namespace siacci {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::fileBytes;
using testing::writeBytes;
using testing::entriesIn;

std::vector<std::string> splitFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (const char c : line) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// The shot after "22 LONGRIFLE" and "22  HIGHT 40 grains" in metric mode, altitude 0, site 0.
ShotInput hightShot()
{
    ShotInput s;
    s.velocity = 400;
    s.description = "22 LONG RIFLE HIGHT 40 grains";
    s.bc = 0.1;
    s.weight = 40;
    s.sightHeight = 4;
    s.zeroDistance = 70;
    s.increment = 10;
    s.maxDistance = 150;
    s.temperature = 15;
    s.altitude = 0;
    return s;
}

TEST(BalRecordText, HightLoadFieldByField)
{
    const std::string text = encodeBalRecord(recordFromShot(hightShot(), TableMode::Metric));
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(text, "400,\"22 LONG RIFLE HIGHT 40 grains\",0.1,40,4,70,10,150,15,0,0,0,1,,,,,,,\r\n");

    const std::vector<std::string> expected = {
        "400", "\"22 LONG RIFLE HIGHT 40 grains\"", "0.1", "40", "4", "70", "10", "150", "15",
        "0", "0", "0", "1", "", "", "", "", "", "", ""};
    const auto fields = splitFields(text.substr(0, text.size() - 2));
    ASSERT_EQ(fields.size(), 20u);
    for (std::size_t i = 0; i < fields.size(); ++i)
        EXPECT_EQ(fields[i], expected[i]) << "field " << i + 1;

    const BalReadResult back = decodeBalRecord(text);
    ASSERT_TRUE(back.complete()) << back.reason;
    ShotInput shot;
    TableMode mode = TableMode::Imperial;
    applyRecord(back, shot, mode);
    EXPECT_EQ(shot.velocity, 400);
    EXPECT_EQ(mode, TableMode::Metric);
    EXPECT_EQ(shot.terminal, TerminalCoefficients{});
}

struct RoundTrip {
    const char* name;
    ShotInput shot;
    TableMode mode;
};

std::vector<RoundTrip> roundTrips()
{
    ShotInput metric = hightShot();
    metric.description = "Velocità ridotta SCHÜLER 7×64 «prova»";
    metric.altitude = 350;
    metric.temperature = -5.5;
    metric.siteAngle = kSiteAngles[3];

    ShotInput imperial = hightShot();
    imperial.velocity = 1312;
    imperial.sightHeight = 1.57;
    imperial.description = "\"22\" LONG RIFLE, à l'anglaise";
    imperial.siteAngle = kSiteAngles[1];

    ShotInput terminal;
    terminal.description = ".45 ACP 230 grains Velocità";
    terminal.velocity = 253;
    terminal.weight = 230;
    terminal.bc = 0.195;
    terminal.maxDistance = 150;
    terminal.increment = 10;
    terminal.temperature = 15;
    terminal.terminal = {11.4, 0.0348, -0.00012, 1.5e-07, -23.75, 0.9, 0.01};
    return {{"metric", metric, TableMode::Metric},
            {"imperial", imperial, TableMode::Imperial},
            {"terminal", terminal, TableMode::Terminal}};
}

void expectSameShot(const ShotInput& got, const ShotInput& want)
{
    EXPECT_EQ(got.velocity, want.velocity);
    EXPECT_EQ(got.description, want.description);
    EXPECT_EQ(got.bc, want.bc);
    EXPECT_EQ(got.weight, want.weight);
    EXPECT_EQ(got.sightHeight, want.sightHeight);
    EXPECT_EQ(got.zeroDistance, want.zeroDistance);
    EXPECT_EQ(got.increment, want.increment);
    EXPECT_EQ(got.maxDistance, want.maxDistance);
    EXPECT_EQ(got.temperature, want.temperature);
    EXPECT_EQ(got.altitude, want.altitude);
    EXPECT_EQ(got.siteAngle, want.siteAngle);
    EXPECT_EQ(got.terminal, want.terminal);
}

TEST(BalRecordRoundTrip, MetricImperialTerminalThroughAFile)
{
    TempDir dir;
    for (const RoundTrip& trip : roundTrips()) {
        SCOPED_TRACE(trip.name);
        const fs::path path = dir.path / (std::string(trip.name) + ".bal");
        ASSERT_TRUE(writeBalFile(path, recordFromShot(trip.shot, trip.mode)));
        const BalReadResult back = readBalFile(path);
        ASSERT_TRUE(back.complete()) << back.reason;
        EXPECT_EQ(back.fieldsRead, 20);
        ShotInput shot;
        TableMode mode = TableMode::Metric;
        applyRecord(back, shot, mode);
        expectSameShot(shot, trip.shot);
        EXPECT_EQ(mode, trip.mode);
    }
}

TEST(BalRecordRead, NumbersBelowOneWithOrWithoutLeadingZero)
{
    struct Row {
        const char* text;
        double value;
    } rows[] = {{".1", 0.1}, {"0.1", 0.1}, {"-.5", -0.5}, {"+3", 3}, {"1E-02", 0.01},
                {" 0.45 ", 0.45}, {"7.", 7}};
    for (const Row& row : rows) {
        const std::string line = std::string("400,\"x\",") + row.text +
                                 ",40,4,70,10,150,15,0,0,0,1,,,,,,,\r\n";
        const BalReadResult r = decodeBalRecord(line);
        ASSERT_TRUE(r.complete()) << row.text << ": " << r.reason;
        EXPECT_DOUBLE_EQ(r.record.bc.value(), row.value) << row.text;
    }
}

TEST(BalRecordRead, FieldsBeforeAFailureApplyAndTheRestStay)
{
    ShotInput before;
    before.weight = 150;
    before.terminal.x = 0.5;
    before.siteAngle = kSiteAngles[2];
    const SiteAngle kept = before.siteAngle;
    struct Row {
        const char* name;
        std::string line;
        int fieldsRead;
        double weight;
        SiteAngle site;
    } rows[] = {
        {"twelve fields", "400,\"Dodici\",0.1,40,4,70,10,150,15,0,0,0\r\n", 12, 40, {0, 0}},
        {"not a number", "400,\"Parola\",0.1,quaranta,4,70,10,150,15,0,0,0,2,,,,,,,\r\n", 3, 150, kept},
        {"comma decimal", "400,\"Virgola\",0,1,40,4,70,10,150,15,0,0,0,2,,,,,,\r\n", 12, 1, {0, 0}},
        {"infinity", "400,\"Inf\",inf,40,4,70,10,150,15,0,0,0,2,,,,,,,\r\n", 2, 150, kept},
        {"exponent without digits", "4e,\"E\",0.1,40,4,70,10,150,15,0,0,0,2,,,,,,,\r\n", 0, 150, kept},
        {"quoted number", "\"400\",\"x\",0.1,40,4,70,10,150,15,0,0,0,2,,,,,,,\r\n", 0, 150, kept},
        {"unclosed quote", "400,\"Aperta,0.1,40\r\n", 1, 150, kept},
        {"text after quote", "400,\"a\"b,0.1,40,4,70,10,150,15,0,0,0,2,,,,,,,\r\n", 1, 150, kept},
        {"foreign site angle", "400,\"x\",0.1,40,4,70,10,150,15,0,7,0,2,,,,,,,\r\n", 10, 40, kept},
        {"site pair mismatch", "400,\"x\",0.1,40,4,70,10,150,15,0,8,30,2,,,,,,,\r\n", 11, 40, kSiteAngles[1]},
        {"mode 4", "400,\"x\",0.1,40,4,70,10,150,15,0,0,0,4,,,,,,,\r\n", 12, 40, {0, 0}},
        {"empty file", "", 0, 150, kept},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BalReadResult r = decodeBalRecord(row.line);
        EXPECT_EQ(r.status, BalReadStatus::Incomplete);
        EXPECT_EQ(r.fieldsRead, row.fieldsRead);
        EXPECT_FALSE(r.reason.empty());
        ShotInput shot = before;
        TableMode mode = TableMode::Terminal;
        applyRecord(r, shot, mode);
        EXPECT_EQ(shot.velocity, row.fieldsRead >= 1 ? 400 : 0);
        EXPECT_EQ(shot.weight, row.weight);
        EXPECT_EQ(shot.siteAngle, row.site);
        EXPECT_EQ(mode, TableMode::Terminal);  // field 13 is never read
        EXPECT_EQ(shot.terminal, before.terminal);
    }
    EXPECT_EQ(decodeBalRecord("400,\"Dodici\",0.1,40,4,70,10,150,15,0,0,0\r\n").reason,
              "il file contiene solo 12 campi dei 20 previsti");
}

TEST(BalRecordRead, FactorAloneNamesTheWholeSiteAngle)
{
    const BalReadResult r = decodeBalRecord("400,\"x\",0.1,40,4,70,10,150,15,0,250\r\n");
    EXPECT_EQ(r.fieldsRead, 11);
    ShotInput shot;
    TableMode mode = TableMode::Metric;
    applyRecord(r, shot, mode);
    EXPECT_EQ(shot.siteAngle, kSiteAngles[3]);

    // Both empty: an angle never set, read as 0 degrees; one of them alone is a fault.
    const BalReadResult empty = decodeBalRecord("400,\"x\",0.1,40,4,70,10,150,15,0,,,3,,,,,,,\r\n");
    EXPECT_TRUE(empty.complete()) << empty.reason;
    applyRecord(empty, shot, mode);
    EXPECT_EQ(shot.siteAngle, kSiteAngles[0]);
    EXPECT_EQ(decodeBalRecord("400,\"x\",0.1,40,4,70,10,150,15,0,,15,3,,,,,,,\r\n").fieldsRead, 11);
    EXPECT_EQ(decodeBalRecord("400,\"x\",0.1,40,4,70,10,150,15,0,8,,3,,,,,,,\r\n").fieldsRead, 11);
}

TEST(BalRecordRead, Windows1252AndUtf8)
{
    // "SCHÜLER Velocità €" in the code page of the older platform, then in UTF-8.
    const std::string cp1252 = "400,\"SCH\xDCLER Velocit\xE0 \x80\",0.1,40,4,70,10,150,15,0,0,0,1,,,,,,,\r\n";
    const std::string utf8 = "400,\"SCHÜLER Velocità €\",0.1,40,4,70,10,150,15,0,0,0,1,,,,,,,\r\n";
    for (const std::string& bytes : {cp1252, utf8}) {
        const BalReadResult r = decodeBalRecord(bytes);
        ASSERT_TRUE(r.complete()) << r.reason;
        EXPECT_EQ(r.record.description, "SCHÜLER Velocità €");
    }
    const BalReadResult bom = decodeBalRecord("\xEF\xBB\xBF" + utf8);
    EXPECT_TRUE(bom.complete());
    EXPECT_EQ(bom.record.velocity, 400);
}

TEST(BalRecordRead, LineEndsAndWhatFollowsTheRecord)
{
    const std::string record = "400,\"x\",0.1,40,4,70,10,150,15,0,0,0,1,,,,,,,";
    for (const std::string& tail : {std::string(), std::string("\n"), std::string("\r"),
                                    std::string("\r\nsecond line\r\n")}) {
        EXPECT_TRUE(decodeBalRecord(record + tail).complete());
    }
}

TEST(BalRecordRead, NotAShotFileIsRefusedWhole)
{
    const std::string good = "400,\"x\",0.1,40,4,70,10,150,15,0,0,0,1,,,,,,,\r\n";
    struct Row {
        const char* name;
        std::string bytes;
    } rows[] = {
        {"binary", std::string("400,\"x\0y\",0.1", 14) + good},
        {"line too long", "400,\"" + std::string(kBalMaxLineBytes, 'a') + "\",0.1\r\n"},
        {"too large", good + std::string(kBalMaxFileBytes, '\n')},
        {"escape byte", "\x1B[0m" + good},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BalReadResult r = decodeBalRecord(row.bytes);
        EXPECT_EQ(r.status, BalReadStatus::Refused);
        EXPECT_EQ(r.fieldsRead, 0);
        EXPECT_FALSE(r.reason.empty());
        ShotInput shot = hightShot();
        TableMode mode = TableMode::Imperial;
        applyRecord(r, shot, mode);
        expectSameShot(shot, hightShot());
        EXPECT_EQ(mode, TableMode::Imperial);
    }
}

TEST(BalRecordText, QuotesAndLineBreaksInTheDescription)
{
    BalRecord record = recordFromShot(hightShot(), TableMode::Metric);
    record.description = ".38'' \"Special\"\r\nWadCutter";
    const std::string text = encodeBalRecord(record);
    EXPECT_EQ(text.find('\n'), text.size() - 1);
    const BalReadResult back = decodeBalRecord(text);
    ASSERT_TRUE(back.complete()) << back.reason;
    EXPECT_EQ(back.record.description, ".38'' \"Special\"  WadCutter");
}

TEST(BalFile, SaveReplacesAnExistingFileAndLeavesNothingElse)
{
    TempDir dir;
    const fs::path path = dir.path / "prova.bal";
    writeBytes(path, "vecchio contenuto");
    ASSERT_TRUE(writeBalFile(path, recordFromShot(hightShot(), TableMode::Metric)));
    EXPECT_EQ(fileBytes(path),
              "400,\"22 LONG RIFLE HIGHT 40 grains\",0.1,40,4,70,10,150,15,0,0,0,1,,,,,,,\r\n");
    EXPECT_EQ(entriesIn(dir.path), 1);  // no temporary file left behind
}

TEST(BalFile, FailedSaveKeepsWhatWasThere)
{
    TempDir dir;
    const BalRecord record = recordFromShot(hightShot(), TableMode::Metric);
    writeBytes(dir.path / "file", "x");
    fs::create_directory(dir.path / "cartella.bal");

    // Beneath a regular file, and over a directory: both refused even to root.
    const BalWriteResult underFile = writeBalFile(dir.path / "file" / "prova.bal", record);
    EXPECT_FALSE(underFile);
    EXPECT_EQ(underFile.reason, "il percorso non è una cartella");
    EXPECT_EQ(fileBytes(dir.path / "file"), "x");

    const BalWriteResult overDirectory = writeBalFile(dir.path / "cartella.bal", record);
    EXPECT_FALSE(overDirectory);
    EXPECT_EQ(overDirectory.reason, "esiste una cartella con questo nome");
    EXPECT_TRUE(fs::is_directory(dir.path / "cartella.bal"));

    EXPECT_FALSE(writeBalFile(dir.path / "manca" / "prova.bal", record));

    BalRecord tooLong = record;
    tooLong.description = std::string(2000, 'x');
    const fs::path existing = dir.path / "lungo.bal";
    writeBytes(existing, "prima");
    EXPECT_FALSE(writeBalFile(existing, tooLong));
    EXPECT_EQ(fileBytes(existing), "prima");

    // A record that would not read back as written (here: without a mode) is not written.
    BalRecord unreadable = record;
    unreadable.mode.reset();
    EXPECT_FALSE(writeBalFile(dir.path / "senza modo.bal", unreadable));

    EXPECT_EQ(entriesIn(dir.path), 3);  // file, cartella.bal, lungo.bal: no temporary file left behind
}

TEST(BalFile, UnreadableFiles)
{
    TempDir dir;
    const BalReadResult missing = readBalFile(dir.path / "manca.bal");
    EXPECT_EQ(missing.status, BalReadStatus::Unreadable);
    EXPECT_EQ(missing.reason, "il file non esiste");
    EXPECT_EQ(readBalFile(dir.path).status, BalReadStatus::Unreadable);

    writeBytes(dir.path / "grande.bal", std::string(1 << 20, '1'));
    EXPECT_EQ(readBalFile(dir.path / "grande.bal").status, BalReadStatus::Refused);
}

// Random and mutated lines: the reader must neither crash nor hang, must never report more
// fields than it checked, and must apply nothing from a file it refuses.
TEST(BalRecordRead, FuzzedLines)
{
    std::mt19937 random(20240607);
    const std::string seeds[] = {
        encodeBalRecord(recordFromShot(hightShot(), TableMode::Metric)),
        encodeBalRecord(recordFromShot(roundTrips()[2].shot, TableMode::Terminal)),
        "400,\"SCH\xDCLER\",.1,40,4,70,10,150,15,0,8,15,2,,,,,,,\r\n"};
    static const char kAlphabet[] = "0123456789.,-+eE\" \t\r\nx\xE0\xC3\xA0\x00\x7F";
    const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < 4000; ++i) {
        std::string bytes = seeds[random() % 3];
        const int kind = static_cast<int>(random() % 4);
        if (kind == 0) {  // random bytes
            bytes.resize(random() % 200);
            for (char& c : bytes)
                c = static_cast<char>(random() % 256);
        } else {          // mutations of a good record
            const int edits = 1 + static_cast<int>(random() % 6);
            for (int e = 0; e < edits && !bytes.empty(); ++e) {
                const std::size_t at = random() % bytes.size();
                const char c = alphabet[random() % alphabet.size()];
                switch (random() % 4) {
                case 0: bytes[at] = c; break;
                case 1: bytes.insert(bytes.begin() + static_cast<long>(at), c); break;
                case 2: bytes.erase(at, 1 + random() % 5); break;
                default: bytes.insert(at, bytes.substr(0, random() % 3000)); break;
                }
            }
        }
        const BalReadResult r = decodeBalRecord(bytes);
        ASSERT_GE(r.fieldsRead, 0);
        ASSERT_LE(r.fieldsRead, 20);
        ASSERT_EQ(r.complete(), r.fieldsRead == 20);
        if (r.status == BalReadStatus::Refused) {
            ASSERT_EQ(r.fieldsRead, 0);
            ShotInput shot = hightShot();
            TableMode mode = TableMode::Imperial;
            applyRecord(r, shot, mode);
            ASSERT_EQ(shot.velocity, 400);
            ASSERT_EQ(shot.description, hightShot().description);
            ASSERT_EQ(mode, TableMode::Imperial);
        }
        if (r.complete()) {  // what was read is written and read back the same
            const BalReadResult again = decodeBalRecord(encodeBalRecord(r.record));
            ASSERT_TRUE(again.complete()) << again.reason;
            ASSERT_EQ(encodeBalRecord(again.record), encodeBalRecord(r.record));
        }
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
}

} // namespace
} // namespace siacci
