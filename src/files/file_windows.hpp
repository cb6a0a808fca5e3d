#pragma once

#include "common/ports.hpp"
#include "files/file_browser.hpp"
#include "files/shot_file_host.hpp"

#include <optional>
#include <string>

// The models of the open window "APRIFILE" and the save window "SALVA FILE".
namespace siacci {

// What the two file windows share for the whole run. Owned by the program (beside the main
// window's model) and handed by reference to each window when it is created.
class FileSession {
public:
    // The full path of the last file opened or saved: directory, separator and the name as typed,
    // without extension. Empty until the first open or save.
    const std::string& lastFilePath() const { return m_lastFilePath; }
    void rememberFile(const std::string& directory, const std::string& name);

    // Where the open window starts: the directory of the last file (or its nearest existing
    // parent), else the working directory of the program.
    std::string startDirectory() const;

    // The directory the open window shows while it is open; the save window starts there.
    const std::optional<std::string>& openWindowDirectory() const { return m_openWindowDirectory; }
    void setOpenWindowDirectory(std::optional<std::string> directory)
    {
        m_openWindowDirectory = std::move(directory);
    }

private:
    std::string m_lastFilePath;
    std::optional<std::string> m_openWindowDirectory;
};

// What the view does after an event.
enum class WindowOutcome { Stay, Close };

inline constexpr const char* kCancelCaption = "A N N U L L A";
// The spaced captions as a screen reader says them: a word, not letter by letter.
inline constexpr const char* kCancelName = "Annulla";

// The controls and events both windows have: Drive1, Dir1, File1, Text1, Label1.
class FileWindowModel {
public:
    FileWindowModel(const FileWindowModel&) = delete;
    FileWindowModel& operator=(const FileWindowModel&) = delete;
    virtual ~FileWindowModel() = default;

    const FileBrowser& browser() const { return m_browser; }
    const std::string& name() const { return m_name; }              // Text1
    const std::string& directoryLabel() const { return m_label; }   // Label1
    // True once after the model asked for the focus in the name field.
    bool takeNameFocusRequest();

    // A single click on a line of Dir1: it is highlighted, nothing opens.
    void directoryHighlighted(int index) { m_browser.highlightDirectory(index); }
    // "A N N U L L A": closes the window, nothing else.
    WindowOutcome cancel() { return WindowOutcome::Close; }

    // The events whose meaning differs between the two windows.
    virtual void driveChanged(int index) = 0;                 // a drive chosen in Drive1
    virtual void directoryOpened(int index) = 0;              // a double click or Enter in Dir1
    virtual void fileClicked(int index) = 0;                  // a click on a line of File1
    virtual WindowOutcome fileDoubleClicked(int index) = 0;   // a double click in File1
    virtual void nameEdited(const std::string& text) = 0;     // typing in Text1
    virtual WindowOutcome firstButton() = 0;                  // "A P R I" / "S A L V A"

protected:
    FileWindowModel(FileSession& session, ShotFileHost& host, Dialogs& dialogs,
                    TextWidthTwips textWidth, FileBrowser browser);

    // The directory-changed steps: the lists move, the label follows, the drive list follows.
    // A directory that has vanished beeps and leaves the lists on the nearest existing one.
    bool moveTo(const std::string& directory);
    void showDirectory(const std::string& directory);  // start-up: no beep, nearest existing
    void updateLabel();

    FileSession& m_session;
    ShotFileHost& m_host;
    Dialogs& m_dialogs;
    TextWidthTwips m_textWidth;
    FileBrowser m_browser;
    std::string m_name;
    std::string m_label;
    bool m_focusName = false;
};

// The open window GetFile, caption "APRIFILE".
class GetFileModel : public FileWindowModel {
public:
    // What the first button does: read the file, move the file list to the typed name, or open
    // the directory highlighted in Dir1.
    enum class State { NameTyped = 0, FileChosen = 1, DirectoryMoved = 2 };

    static constexpr const char* kCaption = "APRIFILE";
    static constexpr const char* kFirstButtonCaption = "A P R I";
    static constexpr const char* kFirstButtonName = "Apri";

    GetFileModel(FileSession& session, ShotFileHost& host, Dialogs& dialogs,
                 TextWidthTwips textWidth = {}, FileBrowser browser = FileBrowser());
    ~GetFileModel() override;

    State state() const { return m_state; }

    // Events, in the order a user meets them. The view centres the window before startUp.
    void startUp();
    void driveChanged(int index) override;
    void directoryOpened(int index) override;   // a double click or Enter on a line of Dir1
    void fileClicked(int index) override;
    WindowOutcome fileDoubleClicked(int index) override;  // a click, then "A P R I"
    void nameEdited(const std::string& text) override;
    WindowOutcome firstButton() override;       // "A P R I"

private:
    void afterDirectoryChange();
    void takeTypedName();
    WindowOutcome readChosenFile();

    State m_state = State::DirectoryMoved;
};

// The save window SaveFile, caption "SALVA FILE".
class SaveFileModel : public FileWindowModel {
public:
    enum class State { SaveName = 0, DirectoryMoved = 1 };

    static constexpr const char* kCaption = "SALVA FILE";
    static constexpr const char* kFirstButtonCaption = "S A L V A";
    static constexpr const char* kFirstButtonName = "Salva";

    SaveFileModel(FileSession& session, ShotFileHost& host, Dialogs& dialogs,
                  TextWidthTwips textWidth = {}, FileBrowser browser = FileBrowser());

    State state() const { return m_state; }

    void startUp();
    void driveChanged(int index) override;
    void directoryOpened(int index) override;
    void fileClicked(int index) override;
    // A double click is a click: nothing is written without "S A L V A".
    WindowOutcome fileDoubleClicked(int index) override
    {
        fileClicked(index);
        return WindowOutcome::Stay;
    }
    void nameEdited(const std::string& text) override;
    // "S A L V A". A name with "/" moves the window to that directory and keeps the last part as
    // the name; an empty name beeps; otherwise the file is written, and a failed write shows the
    // reason and keeps the window open with the name as typed.
    WindowOutcome firstButton() override;

private:
    void takeTypedPath();
    WindowOutcome save();

    State m_state = State::SaveName;
};

// The Italian texts of the two windows' messages.
std::string saveFailedText(const std::string& path, const std::string& reason);
std::string missingDirectoryText(const std::string& path);

} // namespace siacci
