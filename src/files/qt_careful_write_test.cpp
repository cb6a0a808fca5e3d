// Every file the windows write goes through the careful writer: with a writer that fails (a
// full disk, a read-only file, a device, a failed sync) each caller reports the failure and the
// old file stays as it was; on a small file system that really fills up, the same.
#include "armoury/armoury_test_data.hpp"
#include "armoury/qt_armoury_store.hpp"
#include "ballistics/tables.hpp"
#include "ballistics/worked_example.hpp"
#include "files/failing_writer.hpp"
#include "files/qt_careful_write.hpp"
#include "print/qt_report_painter.hpp"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace siacci {
namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

ReportDocument workedReport()
{
    ReportDocument doc;
    doc.lines = tableEuropa(workedExample(), RunKind::Print).printed;
    doc.fontSize_pt = 11;
    return doc;
}

// Before, the armoury and the PDFs went through QSaveFile, whose commit() on Debian's Qt does
// not report a failed flush: on a full disk they said "saved" and left an empty file.
TEST(CarefulWriteCallers, EveryWriterReportsTheFailureAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("vecchio");
    put(file, "vecchio");
    for (const CarefulWriteResult& failure : testing::writeFailures()) {
        const QString reason = QString::fromStdString(writeFailureText(failure));
        testing::FailingWriter failing(failure);
        ScopedFileWriter scope(failing);

        EXPECT_EQ(writeFileBytes(file, "nuovo"), reason);

        QString why;
        EXPECT_FALSE(writeReportPdf(workedReport(), file, &why));
        EXPECT_EQ(why, reason);
        EXPECT_GT(failing.sizes.back(), 1000u) << "the whole PDF was handed to the writer";

        armoury::QtArmouryStore store(file);
        const std::string saved = store.save(armoury::Armoury{{armoury::testing::fullRifle()}});
        EXPECT_NE(saved.find(reason.toStdString()), std::string::npos) << saved;
        EXPECT_NE(armoury::writeDocument(file, {}).find(reason.toStdString()), std::string::npos);

        EXPECT_EQ(failing.paths.size(), 4u);
        EXPECT_EQ(bytesOf(file), "vecchio");
    }
}

// The same on a real 64 KiB file system (where the test may mount one): the armoury and the
// PDF are refused whole, the old armoury reads as before, no temporary is left.
TEST(CarefulWriteCallers, AFullDiskLosesNothing)
{
    testing::SmallTmpfs disk(64 * 1024);
    if (!disk.mounted)
        GTEST_SKIP() << "no permission to mount a small tmpfs";
    const QString folder = QString::fromStdString(disk.path.string());
    const QString path = folder + "/armeria.json";
    armoury::QtArmouryStore store(path);
    const armoury::Armoury small{{armoury::testing::fullRifle()}};
    ASSERT_EQ(store.save(small), "");
    armoury::Armoury big = small;
    for (int i = 0; i < 200; ++i)
        armoury::duplicateRifle(big, 0);
    const std::string refused = store.save(big);
    EXPECT_NE(refused.find("il disco è pieno"), std::string::npos) << refused;
    EXPECT_EQ(armoury::QtArmouryStore(path).open().armoury, small);

    QByteArray filler(56 * 1024, 'x');
    put(folder + "/riempitivo", filler);
    QString why;
    EXPECT_FALSE(writeReportPdf(workedReport(), folder + "/tabella.pdf", &why));
    EXPECT_EQ(why, "il disco è pieno");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

} // namespace
} // namespace siacci
