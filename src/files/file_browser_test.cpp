#include "files/file_browser.hpp"
#include "files/file_test_support.hpp"

#include <gtest/gtest.h>

namespace siacci {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::writeBytes;

TEST(Drives, MountedFileSystemsRootFirstWithoutPseudoOnes)
{
    const std::string mounts =
        "proc /proc proc rw,relatime 0 0\n"
        "sysfs /sys sysfs rw 0 0\n"
        "/dev/sdb1 /mnt/chiave\\040usb vfat rw 0 0\n"
        "/dev/sda2 /home ext4 rw 0 0\n"
        "tmpfs /tmp tmpfs rw 0 0\n"
        "tmpfs /run/user/1000 tmpfs rw 0 0\n"
        "/dev/sdc1 /run/media/anna/DATI exfat rw 0 0\n"
        "/dev/sda1 / ext4 rw 0 0\n"
        "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
        "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
        "/dev/sda2 /home ext4 rw 0 0\n"
        "garbage\n";
    const std::vector<std::string> expected = {"/", "/home", "/mnt/chiave usb",
                                               "/run/media/anna/DATI"};
    EXPECT_EQ(parseMounts(mounts), expected);
    EXPECT_EQ(parseMounts(""), std::vector<std::string>{"/"});
    const auto here = mountedDrives();
    ASSERT_FALSE(here.empty());
    EXPECT_EQ(here.front(), "/");
}

TEST(DirectoryLabel, ShortenedWhenWiderThanTheLabel)
{
    const TextWidthTwips width = [](const std::string& s) { return 100.0 * s.size(); };
    EXPECT_EQ(directoryLabel("/home/anna/Dati", width), "/home/anna/Dati");  // 1500 twips
    EXPECT_EQ(directoryLabel("/home/anna/tiro/carabina/Dati", width), "/ho.../Dati");
    EXPECT_EQ(directoryLabel("/àèìòù/aaaaaaaaaaaaaaaaaaaaa/Dati", width), "/àè.../Dati");
    EXPECT_EQ(directoryLabel("/home/anna/tiro/carabina/Dati", {}), "/home/anna/tiro/carabina/Dati");
}

TEST(FileNames, ExtensionTrimAndPatterns)
{
    EXPECT_EQ(withoutExtension("prova.bal"), "prova");
    EXPECT_EQ(withoutExtension("città.bal"), "città");
    EXPECT_EQ(withoutExtension(".bal"), "");
    EXPECT_EQ(trimBlanks("  prova \t"), "prova");
    const std::string longName(200, 'a');
    struct Row {
        const char* name;
        const char* pattern;
        bool matches;
    } rows[] = {{"prova.bal", "*.bal", true},    {"PROVA.BAL", "*.bal", true},
                {"prova.bal.txt", "*.bal", false}, {"a.txt", "*.bal;*.txt", true},
                {"ab.bal", "?b.*", true},        {"b.bal", "?b.*", false},
                {longName.c_str(), "*a*a*a*a*a*b", false}};
    for (const Row& row : rows)
        EXPECT_EQ(matchesPattern(row.name, row.pattern), row.matches) << row.pattern;
}

TEST(FileBrowser, PathFromTheRootThenSubdirectoriesAndTheBalFiles)
{
    TempDir dir;
    fs::create_directories(dir.path / "Zeta");
    fs::create_directories(dir.path / "alfa");
    fs::create_directories(dir.path / ".nascosta");
    for (const char* name : {"b.bal", "A.BAL", "note.txt", ".c.bal"})
        writeBytes(dir.path / name, "x");
    fs::create_directories(dir.path / "cartella.bal");

    FileBrowser browser({"/", dir.str()});
    ASSERT_TRUE(browser.setDirectory(dir.str()));
    EXPECT_EQ(browser.directory(), dir.str());
    EXPECT_EQ(browser.driveIndex(), 1);

    const auto& entries = browser.directories();
    const int current = browser.currentDirectoryIndex();
    ASSERT_EQ(static_cast<int>(entries.size()), current + 1 + 3);
    EXPECT_EQ(entries[0], (DirectoryEntry{"/", "/", 0, true}));
    EXPECT_EQ(entries[static_cast<std::size_t>(current)].path, dir.str());
    EXPECT_EQ(browser.highlightedDirectory(), current);
    const std::size_t c = static_cast<std::size_t>(current);
    EXPECT_EQ(entries[c + 1], (DirectoryEntry{dir.str() + "/alfa", "alfa", current + 1, false}));
    EXPECT_EQ(entries[c + 2].name, "cartella.bal");
    EXPECT_EQ(entries[c + 3].name, "Zeta");
    // A file named after a cartridge (".308 ...") is not hidden for its leading point.
    EXPECT_EQ(browser.files(), (std::vector<std::string>{".c.bal", "A.BAL", "b.bal"}));

    EXPECT_TRUE(browser.selectFileNamed("b"));
    EXPECT_EQ(browser.selectedFileName(), "b.bal");
    EXPECT_FALSE(browser.selectFileNamed("c"));

    EXPECT_FALSE(browser.setDirectory(dir.str() + "/manca"));
    EXPECT_FALSE(browser.setDirectory(dir.str() + "/b.bal"));
    EXPECT_EQ(browser.directory(), dir.str());

    ASSERT_TRUE(browser.setDirectory("/"));
    EXPECT_EQ(browser.driveIndex(), 0);
    EXPECT_EQ(browser.currentDirectoryIndex(), 0);
}

} // namespace
} // namespace siacci
