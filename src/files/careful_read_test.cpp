#include "files/careful_read.hpp"
#include "files/file_test_support.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace siacci {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::writeBytes;

// Before, the armoury and the drag table were opened whatever the name led to: a FIFO hung the
// program at start-up, /dev/zero was read until memory ran out.
TEST(CarefulRead, RefusesWhatIsNotARegularFileOfBoundedSize)
{
    TempDir dir;
    writeBytes(dir.path / "dieci", "0123456789");
    ASSERT_EQ(::mkfifo((dir.path / "coda").c_str(), 0644), 0);
    fs::create_directory(dir.path / "cartella");
    fs::create_symlink("dieci", dir.path / "collegamento");
    fs::create_symlink("/dev/zero", dir.path / "zeri");

    struct Case {
        fs::path path;
        std::size_t limit;
        CarefulReadStatus status;
        const char* text;
    };
    const Case cases[] = {
        {dir.path / "dieci", 10, CarefulReadStatus::Read, ""},
        {dir.path / "collegamento", 10, CarefulReadStatus::Read, ""},
        {dir.path / "dieci", 9, CarefulReadStatus::TooLarge, "il file è troppo grande"},
        {dir.path / "manca", 10, CarefulReadStatus::Missing, "il file non esiste"},
        {dir.path / "cartella", 10, CarefulReadStatus::Directory, "è una cartella, non un file"},
        {dir.path / "coda", 10, CarefulReadStatus::NotRegular, "non è un file normale"},
        {"/dev/zero", 10, CarefulReadStatus::NotRegular, "non è un file normale"},
        {dir.path / "zeri", 10, CarefulReadStatus::NotRegular, "non è un file normale"},
        {dir.path / "dieci" / "x", 10, CarefulReadStatus::SystemError, "il percorso non è una cartella"},
    };
    for (const Case& c : cases) {
        const CarefulReadResult r = readFileCarefully(c.path, c.limit);
        EXPECT_EQ(r.status, c.status) << c.path;
        EXPECT_EQ(readFailureText(r), c.text) << c.path;
        EXPECT_EQ(r.bytes, r ? "0123456789" : "") << c.path;
    }
}

// A file with no read permission: refused with the reason, even when stat says it is regular.
TEST(CarefulRead, UnreadableFileSaysAccessDenied)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TempDir dir;
    writeBytes(dir.path / "chiuso", "x");
    fs::permissions(dir.path / "chiuso", fs::perms::none);
    EXPECT_EQ(readFailureText(readFileCarefully(dir.path / "chiuso", 10)), "accesso negato");
}

} // namespace
} // namespace siacci
