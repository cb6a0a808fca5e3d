#include "files/file_windows.hpp"

#include "common/fakes.hpp"
#include "files/file_test_support.hpp"

#include <gtest/gtest.h>

namespace siacci {
namespace {

namespace fs = std::filesystem;
using testing::FakeDialogs;
using testing::FakeShotFileHost;
using testing::TempDir;
using testing::fileBytes;
using testing::kHightLine;
using testing::writeBytes;

const std::string kImperialLine =
    "1312,\"22 LONG RIFLE HIGHT 40 grains\",0.1,40,1.57,70,10,150,15,0,0,0,2,,,,,,,\r\n";

// A directory with two shot files and a subdirectory, and a session whose last file lies there.
struct FileWindows : ::testing::Test {
    TempDir dir;
    FileSession session;
    FakeShotFileHost host;
    FakeDialogs dialogs;

    FileWindows()
    {
        writeBytes(dir.path / "prova.bal", kHightLine);
        writeBytes(dir.path / "inglese.bal", kImperialLine);
        writeBytes(dir.path / "dodici.bal", "400,\"x\",0.1,40,4,70,10,150,15,0,0,0\r\n");
        writeBytes(dir.path / "binario.bal", std::string("\0\1\2\3", 4));
        fs::create_directory(dir.path / "sub");
        session.rememberFile(dir.str(), "prova");
        host.description = "22 LONG RIFLE HIGHT 40 grains";
        host.record.velocity = 400;
        host.record.description = host.description;
        host.record.mode = TableMode::Metric;
    }

    FileBrowser browser() { return FileBrowser({"/", dir.str()}); }

    static int indexOf(const std::vector<std::string>& files, const std::string& name)
    {
        for (std::size_t i = 0; i < files.size(); ++i)
            if (files[i] == name)
                return static_cast<int>(i);
        return -1;
    }
    static int directoryIndex(const FileBrowser& b, const std::string& name)
    {
        for (std::size_t i = 0; i < b.directories().size(); ++i)
            if (b.directories()[i].name == name && !b.directories()[i].onPath)
                return static_cast<int>(i);
        return -1;
    }
};

using GetFile = FileWindows;
using SaveFile = FileWindows;

TEST_F(GetFile, StartsInTheDirectoryOfTheLastFile)
{
    {
        GetFileModel open(session, host, dialogs, {}, browser());
        open.startUp();
        EXPECT_EQ(open.browser().directory(), dir.str());
        EXPECT_EQ(open.browser().pattern(), "*.bal");
        EXPECT_EQ(open.directoryLabel(), dir.str());
        EXPECT_EQ(open.state(), GetFileModel::State::DirectoryMoved);
        EXPECT_EQ(open.browser().driveIndex(), 1);
        EXPECT_EQ(session.openWindowDirectory(), dir.str());
    }
    EXPECT_FALSE(session.openWindowDirectory());  // the window is gone

    FileSession fresh;
    GetFileModel open(fresh, host, dialogs, {}, browser());
    open.startUp();
    EXPECT_EQ(open.browser().directory(), existingDirectory(fs::current_path().string()));
}

TEST_F(GetFile, StatesFollowWhatTheUserLastTouched)
{
    GetFileModel open(session, host, dialogs, {}, browser());
    open.startUp();
    using S = GetFileModel::State;
    open.fileClicked(indexOf(open.browser().files(), "prova.bal"));
    EXPECT_EQ(open.state(), S::FileChosen);
    EXPECT_EQ(open.name(), "prova");
    open.nameEdited("prov");
    EXPECT_EQ(open.state(), S::NameTyped);
    open.directoryOpened(directoryIndex(open.browser(), "sub"));
    EXPECT_EQ(open.state(), S::DirectoryMoved);
    EXPECT_EQ(open.browser().directory(), dir.str() + "/sub");
    EXPECT_TRUE(open.browser().files().empty());
    EXPECT_EQ(session.openWindowDirectory(), dir.str() + "/sub");
    open.fileClicked(0);  // an empty list: nothing to click
    EXPECT_EQ(open.state(), S::DirectoryMoved);
    open.driveChanged(0);
    EXPECT_EQ(open.state(), S::DirectoryMoved);
    EXPECT_EQ(open.browser().directory(), "/");
    EXPECT_EQ(open.browser().driveIndex(), 0);
    EXPECT_TRUE(host.opened.empty());
}

TEST_F(GetFile, ApriRightAfterOpeningOpensTheHighlightedDirectory)
{
    GetFileModel open(session, host, dialogs, {}, browser());
    open.startUp();
    EXPECT_EQ(open.firstButton(), WindowOutcome::Stay);  // the current directory itself
    EXPECT_EQ(open.browser().directory(), dir.str());
    open.directoryHighlighted(directoryIndex(open.browser(), "sub"));
    EXPECT_EQ(open.browser().directory(), dir.str());    // a click only highlights
    EXPECT_EQ(open.firstButton(), WindowOutcome::Stay);
    EXPECT_EQ(open.browser().directory(), dir.str() + "/sub");
    EXPECT_TRUE(host.opened.empty());
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(GetFile, ChosenFileIsReadAndTheWindowCloses)
{
    GetFileModel open(session, host, dialogs, {}, browser());
    open.startUp();
    open.fileClicked(indexOf(open.browser().files(), "inglese.bal"));
    EXPECT_EQ(open.firstButton(), WindowOutcome::Close);
    ASSERT_EQ(host.opened.size(), 1u);
    const BalReadResult& result = host.opened[0];
    ASSERT_TRUE(result.complete()) << result.reason;
    // Saved in imperial mode: the values come back as they were, not converted again.
    ShotInput shot;
    TableMode mode = TableMode::Metric;
    applyRecord(result, shot, mode);
    EXPECT_EQ(mode, TableMode::Imperial);
    EXPECT_EQ(shot.velocity, 1312);
    EXPECT_EQ(shot.sightHeight, 1.57);
    EXPECT_EQ(session.lastFilePath(), dir.str() + "/inglese");
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(GetFile, FailedReadsBeepAndTheOpenGoesOn)
{
    struct Row {
        const char* file;
        int fieldsRead;
        BalReadStatus status;
    } rows[] = {{"dodici.bal", 12, BalReadStatus::Incomplete},
                {"binario.bal", 0, BalReadStatus::Refused}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        host.opened.clear();
        dialogs.beeps = 0;
        GetFileModel open(session, host, dialogs, {}, browser());
        open.startUp();
        open.fileClicked(indexOf(open.browser().files(), row.file));
        EXPECT_EQ(open.firstButton(), WindowOutcome::Close);
        EXPECT_EQ(dialogs.beeps, 1);
        ASSERT_EQ(host.opened.size(), 1u);
        EXPECT_EQ(host.opened[0].fieldsRead, row.fieldsRead);
        EXPECT_EQ(host.opened[0].status, row.status);
    }

    // The file vanished between the click and "A P R I".
    host.opened.clear();
    dialogs.beeps = 0;
    GetFileModel open(session, host, dialogs, {}, browser());
    open.startUp();
    open.fileClicked(indexOf(open.browser().files(), "prova.bal"));
    fs::remove(dir.path / "prova.bal");
    EXPECT_EQ(open.firstButton(), WindowOutcome::Close);
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0].status, BalReadStatus::Unreadable);
}

TEST_F(GetFile, TypedNameSelectingAFileCountsAsAClick)
{
    GetFileModel open(session, host, dialogs, {}, browser());
    open.startUp();
    using S = GetFileModel::State;
    for (const char* typed : {"prova", "prova.bal"}) {
        open.nameEdited(typed);
        EXPECT_EQ(open.firstButton(), WindowOutcome::Stay);  // nothing read yet
        EXPECT_EQ(open.state(), S::FileChosen) << typed;
        EXPECT_EQ(open.name(), "prova");
    }
    EXPECT_TRUE(host.opened.empty());
    EXPECT_EQ(open.firstButton(), WindowOutcome::Close);
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0].record.velocity, 400);

    // A name the list does not hold beeps and stays typed.
    GetFileModel again(session, host, dialogs, {}, browser());
    again.startUp();
    again.nameEdited("manca");
    EXPECT_EQ(again.firstButton(), WindowOutcome::Stay);
    EXPECT_EQ(again.state(), S::NameTyped);
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(GetFile, TypedPathOrPatternMovesTheList)
{
    writeBytes(dir.path / "sub" / "dentro.bal", kHightLine);
    writeBytes(dir.path / "note.txt", "x");
    GetFileModel open(session, host, dialogs, {}, browser());
    open.startUp();
    using S = GetFileModel::State;

    open.nameEdited("*.txt");
    open.firstButton();
    EXPECT_EQ(open.browser().files(), std::vector<std::string>{"note.txt"});
    EXPECT_EQ(open.state(), S::NameTyped);
    open.nameEdited("*.bal");
    open.firstButton();

    open.nameEdited("sub");  // a directory of the list
    open.firstButton();
    EXPECT_EQ(open.browser().directory(), dir.str() + "/sub");
    EXPECT_EQ(open.state(), S::DirectoryMoved);

    open.nameEdited("../sub/dentro");
    open.firstButton();
    EXPECT_EQ(open.state(), S::FileChosen);
    EXPECT_EQ(open.name(), "dentro");

    open.nameEdited(dir.str() + "/manca/prova");
    open.firstButton();
    EXPECT_EQ(open.state(), S::NameTyped);
    EXPECT_EQ(open.browser().directory(), dir.str() + "/sub");
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(SaveFile, StartsWhereTheOpenWindowIsWithTheDescriptionAsName)
{
    host.description = ".243 WINCHESTER 105 grains SPITZER IMR-4350/42.0";
    GetFileModel open(session, host, dialogs, {}, browser());
    open.startUp();
    open.directoryOpened(directoryIndex(open.browser(), "sub"));

    SaveFileModel save(session, host, dialogs, {}, browser());
    save.startUp();
    EXPECT_EQ(save.browser().directory(), dir.str() + "/sub");
    EXPECT_EQ(save.name(), ".243 WINCHESTER 105 grains SPITZER IMR-4350-42.0");
    EXPECT_EQ(save.state(), SaveFileModel::State::SaveName);
    EXPECT_EQ(save.browser().pattern(), "*.bal");
}

TEST_F(SaveFile, StatesAndTheFileListFollowingTheDirectory)
{
    writeBytes(dir.path / "sub" / "dentro.bal", kHightLine);
    SaveFileModel save(session, host, dialogs, {}, browser());
    save.startUp();
    EXPECT_EQ(save.browser().directory(), dir.str());  // the open window would start here
    using S = SaveFileModel::State;

    save.directoryHighlighted(directoryIndex(save.browser(), "sub"));
    save.driveChanged(1);
    EXPECT_EQ(save.state(), S::DirectoryMoved);
    // "S A L V A" in state 1 opens the highlighted directory and writes nothing.
    save.directoryHighlighted(directoryIndex(save.browser(), "sub"));
    EXPECT_EQ(save.firstButton(), WindowOutcome::Stay);
    EXPECT_EQ(save.state(), S::SaveName);
    EXPECT_EQ(save.browser().directory(), dir.str() + "/sub");
    EXPECT_EQ(save.browser().files(), std::vector<std::string>{"dentro.bal"});
    EXPECT_EQ(host.saved, 0);

    save.directoryOpened(0);
    EXPECT_EQ(save.state(), S::DirectoryMoved);
    save.nameEdited("x");
    EXPECT_EQ(save.state(), S::SaveName);
}

TEST_F(SaveFile, NameRules)
{
    struct Row {
        const char* typed;
        const char* written;
    } rows[] = {{"prova", "nuovo.bal"}, {"nuovo", "nuovo.bal"}, {"nuovo.bal", "nuovo.bal.bal"},
                {"  spazi  ", "spazi.bal"}, {"città", "città.bal"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        SaveFileModel save(session, host, dialogs, {}, browser());
        save.startUp();
        save.nameEdited(row.typed);
        const int savedBefore = host.saved;
        EXPECT_EQ(save.firstButton(), WindowOutcome::Close);
        EXPECT_EQ(host.saved, savedBefore + 1);
        const std::string name = trimBlanks(row.typed);
        EXPECT_EQ(session.lastFilePath(), dir.str() + "/" + name);
        EXPECT_EQ(fileBytes(dir.path / (name + ".bal")), encodeBalRecord(host.record));
    }
    EXPECT_TRUE(fs::exists(dir.path / "nuovo.bal.bal"));
    EXPECT_EQ(fileBytes(dir.path / "prova.bal"), encodeBalRecord(host.record));  // replaced
}

TEST_F(SaveFile, TypedPathMovesTheDirectoryAndKeepsTheName)
{
    SaveFileModel save(session, host, dialogs, {}, browser());
    save.startUp();
    save.nameEdited(dir.str() + "/sub/prova");
    EXPECT_EQ(save.firstButton(), WindowOutcome::Stay);
    EXPECT_EQ(save.browser().directory(), dir.str() + "/sub");
    EXPECT_EQ(save.name(), "prova");
    EXPECT_FALSE(fs::exists(dir.path / "sub" / "prova.bal"));
    EXPECT_EQ(save.firstButton(), WindowOutcome::Close);  // the second press writes
    EXPECT_TRUE(fs::exists(dir.path / "sub" / "prova.bal"));

    // The next window starts in sub, where the last file went; a relative path starts there.
    SaveFileModel relative(session, host, dialogs, {}, browser());
    relative.startUp();
    EXPECT_EQ(relative.browser().directory(), dir.str() + "/sub");
    relative.nameEdited("../altro");
    relative.firstButton();
    EXPECT_EQ(relative.browser().directory(), dir.str());
    EXPECT_EQ(relative.name(), "altro");

    SaveFileModel root(session, host, dialogs, {}, browser());
    root.startUp();
    root.nameEdited("/radice");
    root.firstButton();
    EXPECT_EQ(root.browser().directory(), "/");
    EXPECT_EQ(root.name(), "radice");

    SaveFileModel missing(session, host, dialogs, {}, browser());
    missing.startUp();
    missing.nameEdited("manca/prova");
    EXPECT_EQ(missing.firstButton(), WindowOutcome::Stay);
    EXPECT_EQ(missing.name(), "manca/prova");
    EXPECT_EQ(missing.browser().directory(), dir.str() + "/sub");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "La cartella " + dir.str() + "/sub/manca non esiste.");
    EXPECT_TRUE(missing.takeNameFocusRequest());
}

TEST_F(SaveFile, EmptyNameBeepsAndGivesTheFocusBack)
{
    for (const char* typed : {"", "   "}) {
        SaveFileModel save(session, host, dialogs, {}, browser());
        save.startUp();
        save.nameEdited(typed);
        EXPECT_EQ(save.firstButton(), WindowOutcome::Stay);
        EXPECT_TRUE(save.takeNameFocusRequest());
        EXPECT_FALSE(save.takeNameFocusRequest());
    }
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(host.saved, 0);
    EXPECT_TRUE(fs::exists(dir.path / "prova.bal"));
    EXPECT_FALSE(fs::exists(dir.path / ".bal"));
}

TEST_F(SaveFile, FailedSaveShowsTheReasonAndKeepsTheWindow)
{
    fs::create_directory(dir.path / "cartella.bal");
    SaveFileModel save(session, host, dialogs, {}, browser());
    save.startUp();
    save.nameEdited(" cartella ");
    EXPECT_EQ(save.firstButton(), WindowOutcome::Stay);
    EXPECT_EQ(save.name(), " cartella ");  // as typed
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "ATTENZIONE");
    EXPECT_EQ(dialogs.messages[0].text, "Impossibile salvare il file " + dir.str() +
                                            "/cartella.bal: esiste una cartella con questo nome.");
    EXPECT_EQ(host.saved, 0);
    EXPECT_EQ(session.lastFilePath(), dir.str() + "/prova");  // not the failed one
}

// The directory cannot be written: by its permissions, or, for the superuser whom permissions
// do not bind, because it turned into a regular file after the window showed it.
TEST_F(SaveFile, SaveIntoAReadOnlyDirectory)
{
    const fs::path locked = dir.path / "sola lettura";
    fs::create_directory(locked);
    writeBytes(locked / "prova.bal", "prima");

    SaveFileModel save(session, host, dialogs, {}, FileBrowser({"/"}));
    save.startUp();
    save.nameEdited(locked.string() + "/prova");
    save.firstButton();  // the path moves the window there
    ASSERT_EQ(save.browser().directory(), locked.string());

    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const bool permissionsBind = !std::ofstream(locked / "sonda");
    std::string reason = "accesso negato";
    if (!permissionsBind) {
        fs::permissions(locked, fs::perms::owner_all);
        fs::remove_all(locked);
        writeBytes(locked, "un file");
        reason = "il percorso non è una cartella";
    }
    EXPECT_EQ(save.firstButton(), WindowOutcome::Stay);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find(reason), std::string::npos) << dialogs.messages[0].text;
    EXPECT_EQ(save.name(), "prova");
    EXPECT_EQ(host.saved, 0);
    if (permissionsBind) {
        EXPECT_EQ(fileBytes(locked / "prova.bal"), "prima");
        EXPECT_EQ(testing::entriesIn(locked), 1);
    } else {
        EXPECT_EQ(fileBytes(locked), "un file");
    }
}

TEST_F(SaveFile, DirectoryRemovedUnderTheWindow)
{
    fs::create_directory(dir.path / "via");
    SaveFileModel save(session, host, dialogs, {}, browser());
    save.startUp();
    save.directoryOpened(directoryIndex(save.browser(), "via"));
    save.nameEdited("prova");
    fs::remove(dir.path / "via");
    EXPECT_EQ(save.firstButton(), WindowOutcome::Stay);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(save.browser().directory(), dir.str());  // back on what still exists
    EXPECT_EQ(host.saved, 0);
}

} // namespace
} // namespace siacci
