#include "files/careful_write.hpp"
#include "files/bal_record.hpp"
#include "files/failing_writer.hpp"
#include "files/file_test_support.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace siacci {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::entriesIn;
using testing::fileBytes;
using testing::writeBytes;

BalRecord aRecord()
{
    ShotInput s;
    s.velocity = 400;
    s.description = "prova";
    s.bc = 0.1;
    s.weight = 40;
    s.sightHeight = 4;
    s.maxDistance = 70;
    s.increment = 10;
    s.zeroDistance = 150;
    s.temperature = 15;
    return recordFromShot(s, TableMode::Metric);
}

fs::perms permsOf(const fs::path& p) { return fs::status(p).permissions(); }

// Before, a save over a symbolic link replaced the link by a plain file and left its target as
// it was.
TEST(CarefulWrite, WritesThroughSymbolicLinks)
{
    TempDir dir;
    fs::create_directory(dir.path / "dati");
    writeBytes(dir.path / "dati" / "vero.bal", "vecchio");
    fs::create_symlink("dati/vero.bal", dir.path / "collegamento.bal");
    fs::create_symlink("collegamento.bal", dir.path / "catena.bal");
    fs::create_symlink("dati/nuovo.bal", dir.path / "pendente.bal");

    ASSERT_TRUE(writeBalFile(dir.path / "catena.bal", aRecord()));
    EXPECT_TRUE(fs::is_symlink(dir.path / "catena.bal"));
    EXPECT_TRUE(fs::is_symlink(dir.path / "collegamento.bal"));
    EXPECT_EQ(fileBytes(dir.path / "dati" / "vero.bal"), encodeBalRecord(aRecord()));

    // A dangling link: its file is created, the link kept.
    ASSERT_TRUE(writeBalFile(dir.path / "pendente.bal", aRecord()));
    EXPECT_TRUE(fs::is_symlink(dir.path / "pendente.bal"));
    EXPECT_EQ(fileBytes(dir.path / "dati" / "nuovo.bal"), encodeBalRecord(aRecord()));
    EXPECT_EQ(entriesIn(dir.path / "dati"), 2);
}

// Before, a private file (0600) came back as 0644.
TEST(CarefulWrite, KeepsThePermissionsOfTheFileAndGivesANewOneTheUmask)
{
    TempDir dir;
    const fs::path priv = dir.path / "privato.bal";
    writeBytes(priv, "vecchio");
    fs::permissions(priv, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(writeBalFile(priv, aRecord()));
    EXPECT_EQ(permsOf(priv), fs::perms::owner_read | fs::perms::owner_write);

    const mode_t old = ::umask(027);
    ASSERT_TRUE(writeBalFile(dir.path / "nuovo.bal", aRecord()));
    ::umask(old);
    EXPECT_EQ(permsOf(dir.path / "nuovo.bal"),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// Before, a read-only file was silently replaced, and a FIFO or a device node became a plain
// file. Both are refused now, with nothing changed and no temporary file left.
TEST(CarefulWrite, RefusesReadOnlyFilesAndWhatIsNotARegularFile)
{
    TempDir dir;
    const fs::path readOnly = dir.path / "sola lettura.bal";
    writeBytes(readOnly, "vecchio");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    const BalWriteResult refused = writeBalFile(readOnly, aRecord());
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.reason, "il file è di sola lettura");
    EXPECT_EQ(fileBytes(readOnly), "vecchio");

    const fs::path fifo = dir.path / "coda.bal";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const BalWriteResult notRegular = writeBalFile(fifo, aRecord());
    EXPECT_FALSE(notRegular);
    EXPECT_EQ(notRegular.reason, "non è un file normale");
    EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);

    // A link to a device node is refused as the node itself would be.
    fs::create_symlink("/dev/null", dir.path / "nulla.bal");
    EXPECT_EQ(writeFileCarefully(dir.path / "nulla.bal", "x").status,
              CarefulWriteStatus::NotRegular);
    EXPECT_TRUE(fs::is_symlink(dir.path / "nulla.bal"));
    EXPECT_EQ(entriesIn(dir.path), 3);
}

// Before, a save broke a file's hard links: the other name kept the old contents.
TEST(CarefulWrite, RewritesAFileWithHardLinksInPlace)
{
    TempDir dir;
    const fs::path first = dir.path / "primo.bal";
    writeBytes(first, std::string(3000, 'v')); // longer than the new contents
    fs::create_hard_link(first, dir.path / "secondo.bal");
    ASSERT_TRUE(writeBalFile(first, aRecord()));
    EXPECT_EQ(fileBytes(dir.path / "secondo.bal"), encodeBalRecord(aRecord()));
    EXPECT_EQ(fs::hard_link_count(first), 2u);
    EXPECT_EQ(entriesIn(dir.path), 2);
}

// Before, opening a FIFO waited for a writer for ever.
TEST(BalFile, ReadRefusesWhatIsNotARegularFileWithoutOpeningIt)
{
    TempDir dir;
    const fs::path fifo = dir.path / "coda.bal";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const BalReadResult read = readBalFile(fifo);
    EXPECT_EQ(read.status, BalReadStatus::Unreadable);
    EXPECT_EQ(read.reason, "non è un file normale");
    EXPECT_EQ(readBalFile("/dev/zero").reason, "non è un file normale");
}

// Before, names of 241 to 251 characters (255 bytes with ".bal") were refused as too long: the
// temporary file's name, longer than the target's, passed the file system's limit.
TEST(BalFile, NamesUpToTheFileSystemLimitAreSavedAndRead)
{
    TempDir dir;
    const fs::path longest = dir.path / (std::string(251, 'a') + ".bal");
    ASSERT_TRUE(writeBalFile(longest, aRecord()));
    EXPECT_EQ(readBalFile(longest).status, BalReadStatus::Complete);
    const fs::path tooLong = dir.path / (std::string(252, 'a') + ".bal");
    EXPECT_EQ(writeBalFile(tooLong, aRecord()).reason, "il nome è troppo lungo");
    EXPECT_EQ(readBalFile(tooLong).reason, "il nome è troppo lungo");
    // Multibyte letters count as bytes: 125 two-byte letters and ".bal" make 254 bytes.
    std::string accented;
    for (int i = 0; i < 125; ++i)
        accented += "\xC3\xA0";
    EXPECT_TRUE(writeBalFile(dir.path / (accented + ".bal"), aRecord()));
    EXPECT_EQ(entriesIn(dir.path), 2);
}

TEST(CarefulWrite, FollowLinksResolvesRelativeChains)
{
    TempDir dir;
    fs::create_directory(dir.path / "a");
    fs::create_symlink("../b.bal", dir.path / "a" / "l.bal");
    EXPECT_EQ(followLinks(dir.path / "a" / "l.bal"), dir.path / "a" / ".." / "b.bal");
    EXPECT_EQ(followLinks(dir.path / "x.bal"), dir.path / "x.bal");
    fs::create_symlink("giro.bal", dir.path / "giro.bal");
    EXPECT_EQ(writeFileCarefully(dir.path / "giro.bal", "x").status,
              CarefulWriteStatus::SystemError);
}

// The writer on a file system that really fills up: the old file stays whole, no temporary is
// left, and the failure says the disk is full. (Skipped where the test may not mount.)
TEST(CarefulWrite, AFullDiskKeepsTheOldFileWhole)
{
    testing::SmallTmpfs disk(64 * 1024);
    if (!disk.mounted)
        GTEST_SKIP() << "no permission to mount a small tmpfs";
    const fs::path file = disk.path / "armeria.json";
    writeBytes(file, "vecchio");
    const CarefulWriteResult full = writeFileCarefully(file, std::string(200 * 1024, 'x'));
    EXPECT_EQ(full.status, CarefulWriteStatus::SystemError);
    EXPECT_EQ(writeFailureText(full), "il disco è pieno");
    EXPECT_EQ(fileBytes(file), "vecchio");
    EXPECT_EQ(entriesIn(disk.path), 1);
    // A hard-linked file (rewritten in place) is refused before it is touched.
    fs::create_hard_link(file, disk.path / "altro.json");
    EXPECT_FALSE(writeFileCarefully(file, std::string(200 * 1024, 'x')));
    EXPECT_EQ(fileBytes(disk.path / "altro.json"), "vecchio");
    EXPECT_EQ(entriesIn(disk.path), 2);
    EXPECT_TRUE(writeFileCarefully(file, "nuovo"));
    EXPECT_EQ(fileBytes(disk.path / "altro.json"), "nuovo");
}

// A save killed half-way leaves its temporary beside the file; the next save of that file
// removes it (the Qt writer's "armeria.json.XXXXXX" at once, the own ones once they are old,
// as another program may be saving at this moment). Other files are never touched.
TEST(CarefulWrite, LeftoverTemporariesAreRemovedAtTheNextSave)
{
    TempDir dir;
    const fs::path target = dir.path / "armeria.json";
    for (const char* name : {"armeria.json.Ab12Cd", "armeria.json.illeggibile-2026-12-09-001205",
                             "armeria.json.XY", "altro.json.Ab12Cd", ".siacci-123456.tmp",
                             ".siacci-654321.tmp", ".siacci-abc.tmp"})
        writeBytes(dir.path / name, "x");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(dir.path / ".siacci-123456.tmp", old);
    fs::last_write_time(dir.path / ".siacci-abc.tmp", old);
    fs::create_directory(dir.path / "armeria.json.Qw34Er");
    removeStaleTemporaries(target);
    for (const char* kept : {"armeria.json.illeggibile-2026-12-09-001205", "armeria.json.XY",
                             "altro.json.Ab12Cd", ".siacci-654321.tmp", ".siacci-abc.tmp",
                             "armeria.json.Qw34Er"})
        EXPECT_TRUE(fs::exists(dir.path / kept)) << kept;
    EXPECT_FALSE(fs::exists(dir.path / "armeria.json.Ab12Cd"));
    EXPECT_FALSE(fs::exists(dir.path / ".siacci-123456.tmp"));
}

// The port: while a failing writer is in place, the shot file reports its failure in Italian
// and nothing reaches the disk; afterwards the careful writer is back.
TEST(CarefulWrite, TheShotFileReportsEveryFailureOfTheWriterPort)
{
    TempDir dir;
    const fs::path file = dir.path / "tiro.bal";
    writeBytes(file, "vecchio");
    for (const CarefulWriteResult& failure : testing::writeFailures()) {
        testing::FailingWriter failing(failure);
        ScopedFileWriter scope(failing);
        const BalWriteResult r = writeBalFile(file, aRecord());
        EXPECT_FALSE(r);
        EXPECT_EQ(r.reason, writeFailureText(failure));
        EXPECT_EQ(failing.paths.size(), 1u);
        EXPECT_EQ(fileBytes(file), "vecchio");
    }
    EXPECT_TRUE(writeBalFile(file, aRecord()));
    EXPECT_EQ(fileBytes(file), encodeBalRecord(aRecord()));
}

} // namespace
} // namespace siacci
