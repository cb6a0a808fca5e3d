#include "files/file_windows.hpp"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace siacci {

namespace fs = std::filesystem;

namespace {

std::string joinPath(const std::string& directory, const std::string& name)
{
    if (!directory.empty() && directory.back() == kPathSeparator)
        return directory + name;
    return directory + kPathSeparator + name;
}

bool isDirectory(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool hasWildcard(const std::string& text)
{
    return text.find_first_of("*?") != std::string::npos;
}

Message warning(std::string text)
{
    Message m;
    m.title = "ATTENZIONE";
    m.text = std::move(text);
    m.icon = MessageIcon::Warning;
    return m;
}

} // namespace

std::string saveFailedText(const std::string& path, const std::string& reason)
{
    return "Impossibile salvare il file " + path + ": " + reason + ".";
}

std::string missingDirectoryText(const std::string& path)
{
    return "La cartella " + path + " non esiste.";
}

// ---- FileSession ----------------------------------------------------------------------------

void FileSession::rememberFile(const std::string& directory, const std::string& name)
{
    m_lastFilePath = joinPath(directory, name);
}

std::string FileSession::startDirectory() const
{
    if (!m_lastFilePath.empty()) {
        // The last path cut back to its directory: up to and with its last separator.
        const std::size_t cut = m_lastFilePath.find_last_of(kPathSeparator);
        if (cut != std::string::npos)
            return existingDirectory(m_lastFilePath.substr(0, cut + 1));
    }
    std::error_code ec;
    const fs::path working = fs::current_path(ec);
    return existingDirectory(ec ? std::string("/") : working.string());
}

// ---- FileWindowModel ------------------------------------------------------------------------

FileWindowModel::FileWindowModel(FileSession& session, ShotFileHost& host, Dialogs& dialogs,
                                 TextWidthTwips textWidth, FileBrowser browser)
    : m_session(session), m_host(host), m_dialogs(dialogs), m_textWidth(std::move(textWidth)),
      m_browser(std::move(browser))
{
}

bool FileWindowModel::takeNameFocusRequest()
{
    return std::exchange(m_focusName, false);
}

void FileWindowModel::updateLabel()
{
    m_label = siacci::directoryLabel(m_browser.directory(), m_textWidth);
}

bool FileWindowModel::moveTo(const std::string& directory)
{
    if (!m_browser.setDirectory(directory)) {
        m_dialogs.beep();
        m_browser.reload();
        updateLabel();
        return false;
    }
    updateLabel();
    return true;
}

void FileWindowModel::showDirectory(const std::string& directory)
{
    m_browser.setPattern("*.bal");
    if (!m_browser.setDirectory(directory))
        m_browser.setDirectory(existingDirectory(directory));
    updateLabel();
}

// ---- GetFileModel ---------------------------------------------------------------------------

GetFileModel::GetFileModel(FileSession& session, ShotFileHost& host, Dialogs& dialogs,
                           TextWidthTwips textWidth, FileBrowser browser)
    : FileWindowModel(session, host, dialogs, std::move(textWidth), std::move(browser))
{
}

GetFileModel::~GetFileModel()
{
    m_session.setOpenWindowDirectory(std::nullopt);
}

void GetFileModel::startUp()
{
    showDirectory(m_session.startDirectory());
    m_session.setOpenWindowDirectory(m_browser.directory());
    m_state = State::DirectoryMoved;
}

void GetFileModel::afterDirectoryChange()
{
    m_session.setOpenWindowDirectory(m_browser.directory());
    m_state = State::DirectoryMoved;
}

void GetFileModel::driveChanged(int index)
{
    const auto& drives = m_browser.drives();
    if (index < 0 || index >= static_cast<int>(drives.size()))
        return;
    moveTo(drives[static_cast<std::size_t>(index)]);
    afterDirectoryChange();
}

void GetFileModel::directoryOpened(int index)
{
    const auto& entries = m_browser.directories();
    if (index < 0 || index >= static_cast<int>(entries.size()))
        return;
    moveTo(entries[static_cast<std::size_t>(index)].path);
    afterDirectoryChange();
}

void GetFileModel::fileClicked(int index)
{
    m_browser.selectFile(index);
    const auto file = m_browser.selectedFileName();
    if (!file)
        return;
    m_name = withoutExtension(*file);
    m_state = State::FileChosen;
}

WindowOutcome GetFileModel::fileDoubleClicked(int index)
{
    fileClicked(index);
    return m_state == State::FileChosen ? firstButton() : WindowOutcome::Stay;
}

void GetFileModel::nameEdited(const std::string& text)
{
    m_name = text;
    m_state = State::NameTyped;
}

WindowOutcome GetFileModel::firstButton()
{
    switch (m_state) {
    case State::DirectoryMoved: {
        const auto& entries = m_browser.directories();
        const int highlighted = m_browser.highlightedDirectory();
        if (highlighted >= 0 && highlighted < static_cast<int>(entries.size()))
            moveTo(entries[static_cast<std::size_t>(highlighted)].path);
        afterDirectoryChange();
        return WindowOutcome::Stay;
    }
    case State::NameTyped:
        takeTypedName();
        return WindowOutcome::Stay;
    case State::FileChosen:
        return readChosenFile();
    }
    return WindowOutcome::Stay;
}

// The typed text goes to the file list: a directory (or a path ending in one) moves the lists
// there, a pattern changes what the list shows, a file name of the list selects that file, with
// or without its ".bal", and counts as a click on it, so the next "A P R I" reads it.
void GetFileModel::takeTypedName()
{
    const std::string text = trimBlanks(m_name);
    if (text.empty())
        return;
    std::string last = text;
    const std::size_t separator = text.find_last_of(kPathSeparator);
    if (separator != std::string::npos) {
        const std::string directory =
            absolutePath(separator == 0 ? std::string("/") : text.substr(0, separator),
                         m_browser.directory());
        if (!isDirectory(directory)) {
            m_dialogs.beep();
            return;
        }
        if (existingDirectory(directory) != m_browser.directory()) {
            moveTo(directory);
            afterDirectoryChange();
        }
        last = text.substr(separator + 1);
    }
    if (last.empty())
        return;
    if (hasWildcard(last)) {
        m_browser.setPattern(last);
        return;
    }
    const std::string asDirectory = absolutePath(last, m_browser.directory());
    if (isDirectory(asDirectory)) {
        if (asDirectory != m_browser.directory()) {
            moveTo(asDirectory);
            afterDirectoryChange();
        }
        return;
    }
    if (!m_browser.selectFileNamed(last)) {
        m_dialogs.beep();
        return;
    }
    m_name = withoutExtension(*m_browser.selectedFileName());
    m_state = State::FileChosen;
}

WindowOutcome GetFileModel::readChosenFile()
{
    m_session.rememberFile(m_browser.directory(), m_name);
    const auto file = m_browser.selectedFileName();
    BalReadResult result;
    if (file) {
        result = readBalFile(joinPath(m_browser.directory(), *file));
    } else {
        result.status = BalReadStatus::Unreadable;
        result.reason = "nessun file scelto";
    }
    if (!result.complete())
        m_dialogs.beep();
    m_host.fileOpened(result);
    return WindowOutcome::Close;
}

// ---- SaveFileModel --------------------------------------------------------------------------

SaveFileModel::SaveFileModel(FileSession& session, ShotFileHost& host, Dialogs& dialogs,
                             TextWidthTwips textWidth, FileBrowser browser)
    : FileWindowModel(session, host, dialogs, std::move(textWidth), std::move(browser))
{
}

void SaveFileModel::startUp()
{
    // The description proposed as the name. A separator in it (".243 WINCHESTER ... IMR-4350/42.0")
    // would read as a directory, so it becomes a dash.
    m_name = m_host.descriptionText();
    std::replace(m_name.begin(), m_name.end(), kPathSeparator, '-');
    const auto& open = m_session.openWindowDirectory();
    showDirectory(open ? *open : m_session.startDirectory());
    m_state = State::SaveName;
}

void SaveFileModel::driveChanged(int index)
{
    const auto& drives = m_browser.drives();
    if (index < 0 || index >= static_cast<int>(drives.size()))
        return;
    moveTo(drives[static_cast<std::size_t>(index)]);
    m_state = State::DirectoryMoved;
}

void SaveFileModel::directoryOpened(int index)
{
    const auto& entries = m_browser.directories();
    if (index < 0 || index >= static_cast<int>(entries.size()))
        return;
    moveTo(entries[static_cast<std::size_t>(index)].path);
    m_state = State::DirectoryMoved;
}

void SaveFileModel::fileClicked(int index)
{
    m_browser.selectFile(index);
    const auto file = m_browser.selectedFileName();
    if (!file)
        return;
    m_name = withoutExtension(*file);
    m_state = State::SaveName;
}

void SaveFileModel::nameEdited(const std::string& text)
{
    m_name = text;
    m_state = State::SaveName;
}

WindowOutcome SaveFileModel::firstButton()
{
    if (m_state == State::DirectoryMoved) {
        const auto& entries = m_browser.directories();
        const int highlighted = m_browser.highlightedDirectory();
        if (highlighted >= 0 && highlighted < static_cast<int>(entries.size()))
            moveTo(entries[static_cast<std::size_t>(highlighted)].path);
        m_state = State::SaveName;
        return WindowOutcome::Stay;
    }
    if (m_name.find(kPathSeparator) != std::string::npos) {
        takeTypedPath();
        return WindowOutcome::Stay;
    }
    return save();
}

// A typed path: the window moves to its directory (relative to the one shown) and the name field
// keeps only the last part. Nothing is written.
void SaveFileModel::takeTypedPath()
{
    const std::size_t separator = m_name.find_last_of(kPathSeparator);
    const std::string directory = absolutePath(
        separator == 0 ? std::string("/") : m_name.substr(0, separator), m_browser.directory());
    if (!isDirectory(directory)) {
        m_dialogs.message(warning(missingDirectoryText(directory)));
        m_focusName = true;
        return;
    }
    moveTo(directory);
    m_name = m_name.substr(separator + 1);
    m_state = State::SaveName;
}

WindowOutcome SaveFileModel::save()
{
    const std::string name = trimBlanks(m_name);
    if (name.empty()) {
        m_dialogs.beep();
        m_focusName = true;
        return WindowOutcome::Stay;
    }
    // The extension is always added, also to a name that already ends with it.
    const std::string path = joinPath(m_browser.directory(), name + ".bal");
    const BalWriteResult written = writeBalFile(path, m_host.currentRecord());
    if (!written) {
        m_dialogs.message(warning(saveFailedText(path, written.reason)));
        m_browser.reload();
        m_focusName = true;
        return WindowOutcome::Stay;
    }
    m_session.rememberFile(m_browser.directory(), name);
    m_host.fileSaved();
    return WindowOutcome::Close;
}

} // namespace siacci
