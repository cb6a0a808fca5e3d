#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the drive, directory and file lists of the open and save windows show, read from this
// machine's file systems. Paths are UTF-8 (the bytes the system gives), with "/" as separator.
namespace siacci {

inline constexpr char kPathSeparator = '/';

// The width of the directory label; a path wider than this is shortened.
inline constexpr double kDirectoryLabelWidth_twips = 2055;

// The width in twips of a text in the label's font, supplied by the view.
using TextWidthTwips = std::function<double(const std::string&)>;

// The mount points of the file systems a user keeps files on, from the text of /proc/mounts:
// the root "/" first, then the others in alphabetical order. Pseudo file systems (proc, sysfs,
// cgroup, tmpfs, devpts ...) and mounts under /proc, /sys, /dev and /run (but /run/media) are
// left out. Octal escapes of the file (\040 for a blank) are decoded.
std::vector<std::string> parseMounts(std::string_view procMounts);

// parseMounts of this machine, keeping only mount points that are directories. Never empty: "/"
// is always there.
std::vector<std::string> mountedDrives();

// The label text of a directory: the path itself, or, when it is wider than 2055 twips, its first
// three characters, "...", the separator and its last component ("/ho.../Dati").
std::string directoryLabel(const std::string& path, const TextWidthTwips& widthTwips);

// A file name without its last four characters (the extension ".bal"), counted as characters,
// not bytes.
std::string withoutExtension(const std::string& fileName);

// Blanks trimmed at both ends.
std::string trimBlanks(std::string_view text);

// The nearest directory that exists, walking up from `path` (absolute, or relative to the
// working directory); "/" at worst.
std::string existingDirectory(const std::string& path);

// `path` made absolute against `base` (when relative) and normalised, without following links.
std::string absolutePath(const std::string& path, const std::string& base);

// A name against a pattern of the file list: "*" any run of characters, "?" one character,
// letters compared without case (so files written on the older platform as PROVA.BAL show),
// several patterns separated by ";".
bool matchesPattern(std::string_view name, std::string_view pattern);

// One line of the directory list: the components of the current path from the root down (open
// folders), then the subdirectories of the current directory.
struct DirectoryEntry {
    std::string path;    // the full path the line stands for
    std::string name;    // the text shown: "/" for the root, else the last component
    int depth = 0;       // indentation: 0 for the root
    bool onPath = false; // a component of the current path (an open folder)

    friend bool operator==(const DirectoryEntry&, const DirectoryEntry&) = default;
};

// The three lists of a file window and their selections. The file list always shows the
// directory of the directory list.
class FileBrowser {
public:
    // Reads the drives of this machine (mountedDrives) unless given.
    explicit FileBrowser(std::vector<std::string> drives = mountedDrives());

    // Moves all three lists to a directory. Returns false, and changes nothing, when `path` is
    // not a directory (missing, removed meanwhile, or a file).
    bool setDirectory(const std::string& path);
    // Reads the current directory again (when it has vanished: its nearest existing parent).
    void reload();
    void setPattern(const std::string& pattern);

    const std::string& directory() const { return m_directory; }
    const std::string& pattern() const { return m_pattern; }

    const std::vector<std::string>& drives() const { return m_drives; }
    // The drive holding the current directory (the longest mount point containing it).
    int driveIndex() const { return m_driveIndex; }

    const std::vector<DirectoryEntry>& directories() const { return m_directories; }
    int currentDirectoryIndex() const { return m_currentIndex; }
    int highlightedDirectory() const { return m_highlighted; }
    void highlightDirectory(int index);

    // The names of the files matching the pattern, sorted without regard to case; names beginning
    // with a point included. Directories beginning with a point are left out of Dir1.
    const std::vector<std::string>& files() const { return m_files; }
    int selectedFile() const { return m_selectedFile; } // -1: none
    void selectFile(int index);
    // Selects the file of that name, or of that name followed by ".bal"; false if none.
    bool selectFileNamed(const std::string& name);
    std::optional<std::string> selectedFileName() const;

private:
    void readDirectory();

    std::vector<std::string> m_drives;
    int m_driveIndex = 0;
    std::string m_directory = "/";
    std::string m_pattern = "*.bal";
    std::vector<DirectoryEntry> m_directories;
    int m_currentIndex = 0;
    int m_highlighted = 0;
    std::vector<std::string> m_files;
    int m_selectedFile = -1;
};

} // namespace siacci
