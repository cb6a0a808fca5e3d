// `make screenshots`: both file windows over a temporary directory holding a few shot files:
// files-open, files-open-chosen, files-save, files-save-long (a long directory label).
#include "files/qt_file_window.hpp"

#include "common/qt_screenshots.hpp"
#include "common/fakes.hpp"

#include <QListWidget>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

namespace siacci::screenshots {

namespace {

class ScreenshotHost : public ShotFileHost {
public:
    BalRecord currentRecord() const override { return {}; }
    std::string descriptionText() const override { return "22 LONG RIFLE HIGHT 40 grains"; }
    void fileOpened(const BalReadResult&) override {}
    void fileSaved() override {}
};

} // namespace

void files(const QString& dir)
{
    QTemporaryDir temporary;
    if (!temporary.isValid())
        return;
    namespace fs = std::filesystem;
    const fs::path root = fs::path(temporary.path().toStdString()) / "Tiro";
    const fs::path deep = root / "Carabine da caccia" / "Ricariche 2024" / "Dati";
    fs::create_directories(deep);
    fs::create_directories(root / "Pistole");
    const char* names[] = {"22 LONG RIFLE HIGHT 40 grains.bal", ".308 WINCHESTER 165.bal",
                           "9 mm PARABELLUM.bal", "prova.bal"};
    for (const char* name : names) {
        std::ofstream(root / name) << "400,\"x\",0.1,40,4,70,10,150,15,0,0,0,1,,,,,,,\r\n";
        std::ofstream(deep / name) << "400,\"x\",0.1,40,4,70,10,150,15,0,0,0,1,,,,,,,\r\n";
    }

    ScreenshotHost host;
    testing::FakeDialogs dialogs;
    FileSession session;
    session.rememberFile(root.string(), "prova");
    {
        GetFileWindow open(session, host, dialogs);
        save(open, dir, "files-open");
        open.findChild<QListWidget*>("File1")->setCurrentRow(1);  // as a click
        save(open, dir, "files-open-chosen");
    }
    {
        SaveFileWindow saveWindow(session, host, dialogs);
        save(saveWindow, dir, "files-save");
    }
    session.rememberFile(deep.string(), "prova");
    {
        SaveFileWindow saveWindow(session, host, dialogs);
        save(saveWindow, dir, "files-save-long");
    }
}

} // namespace siacci::screenshots
