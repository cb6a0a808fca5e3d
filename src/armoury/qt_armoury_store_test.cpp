#include "armoury/armoury_test_data.hpp"
#include "armoury/qt_armoury_store.hpp"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace siacci::armoury {
namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(ArmouryStore, EveryFieldComesBackFromTheFile)
{
    QTemporaryDir dir;
    Armoury a{{testing::fullRifle()}};
    Rifle plain;
    plain.name = "Carabina semplice";
    a.rifles.push_back(plain);
    const QString path = dir.filePath("sub/armeria.json");
    QtArmouryStore store(path);
    ASSERT_EQ(store.save(a), "");
    const auto opening = QtArmouryStore(path).open();
    EXPECT_EQ(opening.notice, "");
    EXPECT_EQ(opening.armoury, a);
    // The keys other programs read (the web page writes the same document).
    const QJsonObject root = QJsonDocument::fromJson(toJson(a)).object();
    EXPECT_EQ(root["format"].toString(), "siacci-armeria");
    EXPECT_EQ(root["version"].toInt(), 1);
    const QJsonObject rifle = root["rifles"].toArray()[0].toObject();
    EXPECT_EQ(rifle["click_unit"].toString(), "moa");
    EXPECT_EQ(rifle["turret_clicks_per_turn"].toInt(), 60);
    EXPECT_TRUE(root["rifles"].toArray()[1].toObject()["turret_clicks_per_turn"].isNull());
    const QJsonObject load = rifle["loads"].toArray()[1].toObject();
    EXPECT_EQ(load["bc_steps"].toArray()[0].toObject()["from_velocity_ms"].toDouble(), 760);
    EXPECT_TRUE(load["diameter_mm"].isNull());
    EXPECT_EQ(rifle["loads"].toArray()[2].toObject()["drag"].toString(), "table");
}

TEST(ArmouryStore, NoFileIsAnEmptyArmouryWithoutNotice)
{
    QTemporaryDir dir;
    const auto opening = QtArmouryStore(dir.filePath("armeria.json")).open();
    EXPECT_TRUE(opening.armoury.rifles.empty());
    EXPECT_EQ(opening.notice, "");
}

// A document that does not read is never written over: it is renamed aside with the date, the
// user is told, and the program goes on with an empty armoury that saves normally.
TEST(ArmouryStore, UnreadableDocumentIsKeptAside)
{
    for (const QByteArray& bad :
         {QByteArray("{\"format\":\"siacci-armeria\",\"version\":1,\"rifles\":[{\"name\":"),
          QByteArray("{\"format\":\"altro\",\"version\":1,\"rifles\":[]}"),
          QByteArray("{\"format\":\"siacci-armeria\",\"version\":1,\"rifles\":[{\"name\":\"x\"}]}"),
          QByteArray("{\"format\":\"siacci-armeria\",\"version\":2,\"rifles\":[]}"),
          QByteArray("{\"format\":\"siacci-armeria\",\"rifles\":[]}")}) {
        QTemporaryDir dir;
        const QString path = dir.filePath("armeria.json");
        writeBytes(path, bad);
        QtArmouryStore store(path);
        const auto opening = store.open(QDateTime(QDate(2026, 12, 9), QTime(0, 12, 5)));
        EXPECT_TRUE(opening.armoury.rifles.empty());
        EXPECT_NE(opening.notice.find("armeria.json.illeggibile-2026-12-09-001205"), std::string::npos)
            << opening.notice;
        QFile aside(path + ".illeggibile-2026-12-09-001205");
        ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
        EXPECT_EQ(aside.readAll(), bad);
        EXPECT_EQ(store.save(Armoury{{testing::fullRifle()}}), "");
        EXPECT_EQ(QtArmouryStore(path).open().armoury.rifles.size(), 1u);
    }
}

TEST(ArmouryStore, NewerVersionSaysSo)
{
    const auto reading = fromJson("{\"format\":\"siacci-armeria\",\"version\":3,\"rifles\":[]}");
    EXPECT_FALSE(reading.armoury);
    EXPECT_NE(reading.problem.find("più recente"), std::string::npos);
    EXPECT_TRUE(fromJson("{\"format\":\"siacci-armeria\",\"version\":1,\"rifles\":[]}").armoury);
}

TEST(ArmouryStore, AFolderIsNotWrittenOver)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("armeria.json");
    EXPECT_NE(writeDocument(dir.filePath("armeria.json"), {}), "");
}

// Two programs, one armoury: each adds a rifle after both started; neither rifle is lost, and
// the second program's session holds the first one's rifle afterwards.
TEST(ArmouryStore, TwoProgramsKeepEachOthersRifles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("armeria.json");
    Rifle shared;
    shared.name = "Comune";
    ASSERT_EQ(QtArmouryStore(path).save(Armoury{{shared}}), "");

    QtArmouryStore firstStore(path), secondStore(path);
    ArmourySession first(firstStore.open().armoury, firstStore);
    ArmourySession second(secondStore.open().armoury, secondStore);
    Armoury a = first.armoury();
    addRifle(a, testing::fullRifle());
    ASSERT_EQ(first.change(a), "");
    Armoury b = second.armoury();
    Rifle other;
    other.name = "Del secondo";
    addRifle(b, other);
    b.rifles[0].zero_m = 200; // an edit of the shared rifle too
    ASSERT_EQ(second.change(b), "");

    const Armoury onDisk = QtArmouryStore(path).open().armoury;
    EXPECT_EQ(rifleNames(onDisk), (std::vector<std::string>{"Comune", "Del secondo", "Sako 85 .308"}));
    EXPECT_EQ(onDisk.rifles[0].zero_m, 200);
    EXPECT_EQ(second.armoury(), onDisk);
    // The first program, saving again, keeps the second one's rifle and edit.
    Armoury c = first.armoury();
    c.rifles.pop_back(); // removes its own rifle
    ASSERT_EQ(first.change(c), "");
    EXPECT_EQ(rifleNames(QtArmouryStore(path).open().armoury), (std::vector<std::string>{"Comune", "Del secondo"}));
    EXPECT_EQ(QtArmouryStore(path).open().armoury.rifles[0].zero_m, 200);
}

// What is not a regular file is neither read (a FIFO would hang the start) nor written over;
// the leftovers of a killed save go at the next save.
TEST(ArmouryStore, ReadsOnlyRegularFilesAndCleansLeftovers)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("coda.json");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    EXPECT_EQ(readDocument(fifo).problem, "il file non si apre (non è un file normale)");
    EXPECT_EQ(readDocument("/dev/zero").problem, "il file non si apre (non è un file normale)");
    EXPECT_EQ(readDocument(dir.filePath("manca.json")).problem, "il file non si apre (il file non esiste)");
    EXPECT_NE(writeDocument(fifo, {}).find("non è un file normale"), std::string::npos);
    EXPECT_EQ(QFileInfo(fifo).isFile(), false);

    const QString path = dir.filePath("armeria.json");
    writeBytes(dir.filePath("armeria.json.k3Jx9Q"), "{\"format\":");
    QtArmouryStore store(path);
    ASSERT_EQ(store.save({}), "");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("armeria.json.k3Jx9Q")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

} // namespace
} // namespace siacci::armoury

#include "app/qt_form4_window.hpp"

#include <QFileInfo>

namespace siacci::armoury {
namespace {

// The program starts with an unreadable armoury: the file is kept aside and the armoury is empty.
TEST(ArmouryStore, ProgramStartsWithAnUnreadableDocument)
{
    const QString path = QtArmouryStore::defaultPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    writeBytes(path, "non è json");
    {
        Form4Window main; // the notice waits for the event loop, which this test never runs
        EXPECT_TRUE(main.armourySession().armoury().rifles.empty());
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    const QStringList aside = QFileInfo(path).dir().entryList({"armeria.json.illeggibile-*"});
    ASSERT_FALSE(aside.isEmpty());
    for (const QString& name : aside)
        QFile::remove(QFileInfo(path).dir().filePath(name));
}

} // namespace
} // namespace siacci::armoury
