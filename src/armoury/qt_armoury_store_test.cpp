#include "armoury/armoury_test_data.hpp"
#include "armoury/qt_armoury_store.hpp"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

} // namespace
} // namespace siacci::armoury

#include "app/form4_window.hpp"

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
