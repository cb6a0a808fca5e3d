#include "files/qt_file_window.hpp"

#include "common/fakes.hpp"
#include "common/qt_windows.hpp"
#include "files/file_test_support.hpp"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

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

class FileWindowTest : public ::testing::Test {
protected:
    TempDir dir;
    FileSession session;
    FakeShotFileHost host;
    FakeDialogs dialogs;
    WindowRegistry windows;

    // As the program opens them.
    template <class W> W* open(WindowId id)
    {
        windows.add<W>(id, [this] { return new W(session, host, dialogs); });
        return static_cast<W*>(windows.show(id));
    }

    void SetUp() override
    {
        writeBytes(dir.path / "prova.bal", kHightLine);
        writeBytes(dir.path / "altro.bal", kHightLine);
        fs::create_directory(dir.path / "sub");
        session.rememberFile(dir.str(), "prova");
        host.description = "22 LONG RIFLE HIGHT 40 grains";
        host.record.velocity = 400;
        host.record.mode = TableMode::Metric;
    }

    template <class T>
    static T* child(QWidget* window, const char* name)
    {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    static void clickItem(QListWidget* list, const QString& text, bool twice = false)
    {
        const auto items = list->findItems(text, Qt::MatchEndsWith);
        ASSERT_EQ(items.size(), 1) << text.toStdString();
        const QPoint at = list->visualItemRect(items[0]).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    static void deleteClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

// Every text of the two windows is Italian, the texts Qt gives them too (the context menu of
// the name field), and a screen reader says each control by a word.
TEST_F(FileWindowTest, EveryTextIsItalianAndEveryControlNamed)
{
    const struct { WindowId id; const char* title; const char* first; } windowsOf[] = {
        {WindowId::GetFile, "APRIFILE", "Apri"}, {WindowId::SaveFile, "SALVA FILE", "Salva"}};
    for (const auto& w : windowsOf) {
        QWidget* window = w.id == WindowId::GetFile ? static_cast<QWidget*>(open<GetFileWindow>(w.id))
                                                    : static_cast<QWidget*>(open<SaveFileWindow>(w.id));
        EXPECT_EQ(window->windowTitle(), w.title);
        QStringList names;
        for (const char* name : {"Text1", "File1", "Dir1", "Drive1", "Command1", "Command2"}) {
            QWidget* control = child<QWidget>(window, name);
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(a, nullptr) << name;
            // On Linux Qt names a combo box by its value and a label pointing at it: the name
            // the program gives is the widget's own.
            names << (qobject_cast<QComboBox*>(control) ? control->accessibleName() : a->text(QAccessible::Name));
        }
        EXPECT_EQ(names, QStringList({"Nome del file", "File", "Cartelle", QString::fromUtf8("Unità"), w.first,
                                      "Annulla"}));
        QMenu* menu = child<QLineEdit>(window, "Text1")->createStandardContextMenu();
        QStringList menuTexts;
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                menuTexts << action->text().section('\t', 0, 0).remove('&');
        EXPECT_EQ(menuTexts, QStringList({"Annulla", "Rifai", "Taglia", "Copia", "Incolla", "Elimina",
                                          "Seleziona tutto"}));
        delete menu;
        window->close();
        deleteClosed();
    }
}

TEST_F(FileWindowTest, OpenWindowShowsTheDirectoryAndReadsTheChosenFile)
{
    QPointer<GetFileWindow> window = open<GetFileWindow>(WindowId::GetFile);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), "APRIFILE");
    EXPECT_EQ(child<QPushButton>(window, "Command1")->text(), "A P R I");
    EXPECT_EQ(child<QPushButton>(window, "Command2")->text(), "A N N U L L A");
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(child<QLabel>(window, "Label1")->toolTip().toStdString(), dir.str());
    auto* file1 = child<QListWidget>(window, "File1");
    ASSERT_EQ(file1->count(), 2);
    EXPECT_EQ(file1->item(0)->text(), "altro.bal");
    EXPECT_GE(child<QComboBox>(window, "Drive1")->count(), 1);

    clickItem(file1, "prova.bal");
    EXPECT_EQ(child<QLineEdit>(window, "Text1")->text(), "prova");
    QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_TRUE(host.opened[0].complete());
    EXPECT_EQ(host.opened[0].record.velocity, 400);
    deleteClosed();
    EXPECT_TRUE(window.isNull());
}

TEST_F(FileWindowTest, OpenWindowDirectoryListAndTypedName)
{
    writeBytes(dir.path / "sub" / "dentro.bal", kHightLine);
    QPointer<GetFileWindow> window = open<GetFileWindow>(WindowId::GetFile);
    auto* dir1 = child<QListWidget>(window, "Dir1");
    auto* file1 = child<QListWidget>(window, "File1");

    // A click highlights; "A P R I" opens the highlighted directory.
    clickItem(dir1, "sub");
    EXPECT_EQ(file1->count(), 2);
    QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
    EXPECT_EQ(child<QLabel>(window, "Label1")->toolTip().toStdString(), dir.str() + "/sub");
    ASSERT_EQ(file1->count(), 1);
    EXPECT_EQ(file1->item(0)->text(), "dentro.bal");
    const QString last = dir1->item(dir1->currentRow())->text().trimmed();
    EXPECT_EQ(last, "sub");

    // The name typed and "A P R I" selects it; the second "A P R I" reads it.
    auto* text1 = child<QLineEdit>(window, "Text1");
    QTest::keyClicks(text1, "dentro");
    QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
    EXPECT_EQ(file1->currentRow(), 0);
    EXPECT_TRUE(host.opened.empty());
    QTest::keyClick(text1, Qt::Key_Return);
    EXPECT_EQ(host.opened.size(), 1u);
    deleteClosed();
    EXPECT_TRUE(window.isNull());
}

TEST_F(FileWindowTest, OpenWindowDoubleClicksOpenDirectoriesAndFiles)
{
    QPointer<GetFileWindow> window = open<GetFileWindow>(WindowId::GetFile);
    auto* dir1 = child<QListWidget>(window, "Dir1");
    clickItem(dir1, "sub", true);
    EXPECT_EQ(child<QListWidget>(window, "File1")->count(), 0);
    EXPECT_EQ(child<QLabel>(window, "Label1")->toolTip().toStdString(), dir.str() + "/sub");
    const int parentRow = dir1->currentRow() - 1;
    const QPoint parent = dir1->visualItemRect(dir1->item(parentRow)).center();
    QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, parent);
    QTest::mouseDClick(dir1->viewport(), Qt::LeftButton, {}, parent);
    auto* file1 = child<QListWidget>(window, "File1");
    ASSERT_EQ(file1->count(), 2);
    clickItem(file1, "prova.bal", true);
    EXPECT_EQ(host.opened.size(), 1u);
    delete window.data();
}

TEST_F(FileWindowTest, SaveWindowWritesTheTypedName)
{
    QPointer<SaveFileWindow> window = open<SaveFileWindow>(WindowId::SaveFile);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), "SALVA FILE");
    EXPECT_EQ(child<QPushButton>(window, "Command1")->text(), "S A L V A");
    auto* text1 = child<QLineEdit>(window, "Text1");
    EXPECT_EQ(text1->text(), "22 LONG RIFLE HIGHT 40 grains");

    text1->clear();
    QTest::keyClicks(text1, "sub/nuovo");
    QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
    EXPECT_EQ(text1->text(), "nuovo");
    EXPECT_EQ(child<QLabel>(window, "Label1")->toolTip().toStdString(), dir.str() + "/sub");
    EXPECT_FALSE(fs::exists(dir.path / "sub" / "nuovo.bal"));

    QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
    EXPECT_EQ(fileBytes(dir.path / "sub" / "nuovo.bal"), encodeBalRecord(host.record));
    EXPECT_EQ(host.saved, 1);
    EXPECT_EQ(session.lastFilePath(), dir.str() + "/sub/nuovo");
    deleteClosed();
    EXPECT_TRUE(window.isNull());
}

TEST_F(FileWindowTest, SaveWindowStaysOpenOnEmptyNameAndFailedSave)
{
    fs::create_directory(dir.path / "cartella.bal");
    QPointer<SaveFileWindow> window = open<SaveFileWindow>(WindowId::SaveFile);
    auto* text1 = child<QLineEdit>(window, "Text1");
    auto* command1 = child<QPushButton>(window, "Command1");

    text1->clear();
    QTest::keyClicks(text1, "   ");
    QTest::mouseClick(command1, Qt::LeftButton);
    EXPECT_EQ(dialogs.beeps, 1);

    text1->clear();
    QTest::keyClicks(text1, "cartella");
    QTest::mouseClick(command1, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("esiste una cartella con questo nome"),
              std::string::npos);
    deleteClosed();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(text1->text(), "cartella");
    EXPECT_EQ(host.saved, 0);

    // The file list follows the directory.
    clickItem(child<QListWidget>(window, "Dir1"), "sub", true);
    EXPECT_EQ(child<QListWidget>(window, "File1")->count(), 0);
    QTest::mouseClick(child<QPushButton>(window, "Command2"), Qt::LeftButton);
    deleteClosed();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(host.saved, 0);
}

TEST_F(FileWindowTest, CentredAndLongDirectoriesShortened)
{
    const fs::path deep = dir.path / "una cartella dal nome lungo" / "e un'altra ancora" / "Dati";
    fs::create_directories(deep);
    session.rememberFile(deep.string(), "prova");
    GetFileWindow window(session, host, dialogs);
    window.show();
    const QRect area = window.screen()->availableGeometry();
    EXPECT_LE((window.frameGeometry().center() - area.center()).manhattanLength(), 40);
    auto* label1 = child<QLabel>(&window, "Label1");
    EXPECT_EQ(label1->text(), QString::fromStdString(dir.str().substr(0, 3)) + ".../Dati");
}

} // namespace
} // namespace siacci
