#include "files/file_browser.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>

namespace siacci {

namespace fs = std::filesystem;

namespace {

// /proc/mounts writes blanks, tabs, newlines and backslashes of a path as octal escapes.
std::string unescapeMountPath(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size()) {
            const std::string_view digits = text.substr(i + 1, 3);
            if (std::all_of(digits.begin(), digits.end(),
                                                  [](char c) { return c >= '0' && c <= '7'; })) {
                out += static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 +
                                         (digits[2] - '0'));
                i += 3;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

bool isPseudoFileSystem(const std::string& type)
{
    static const std::set<std::string> kPseudo = {
        "proc", "sysfs", "cgroup", "cgroup2", "tmpfs", "devtmpfs", "devpts", "mqueue",
        "securityfs", "debugfs", "tracefs", "pstore", "bpf", "configfs", "fusectl", "hugetlbfs",
        "autofs", "binfmt_misc", "rpc_pipefs", "nsfs", "efivarfs", "ramfs", "squashfs",
        "selinuxfs", "fuse.gvfsd-fuse", "fuse.portal", "nfsd"};
    return kPseudo.count(type) != 0;
}

bool startsWithDirectory(const std::string& path, const std::string& directory)
{
    if (directory == "/")
        return !path.empty() && path[0] == '/';
    return path == directory ||
           (path.size() > directory.size() && path.compare(0, directory.size(), directory) == 0 &&
            path[directory.size()] == '/');
}

bool isSystemMount(const std::string& point)
{
    if (startsWithDirectory(point, "/run/media"))
        return false;
    for (const char* system : {"/proc", "/sys", "/dev", "/run"})
        if (startsWithDirectory(point, system))
            return true;
    return false;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool lessWithoutCase(const std::string& a, const std::string& b)
{
    const auto n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char x = lowerAscii(a[i]);
        const char y = lowerAscii(b[i]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// The number of bytes of the first `count` characters of UTF-8 text.
std::size_t bytesOfCharacters(const std::string& text, std::size_t count)
{
    std::size_t i = 0;
    for (std::size_t n = 0; n < count && i < text.size(); ++n) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0u) == 0x80u)
            ++i;
    }
    return i;
}

std::size_t characterCount(const std::string& text)
{
    std::size_t n = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0u) != 0x80u)
            ++n;
    return n;
}

bool matchOne(std::string_view name, std::string_view pattern)
{
    // Iterative wildcard match with one backtracking point: linear in practice, never recursive.
    std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

std::vector<std::string> parseMounts(std::string_view procMounts)
{
    std::vector<std::string> points;
    std::istringstream lines{std::string(procMounts)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string device, point, type;
        if (!(words >> device >> point >> type))
            continue;
        point = unescapeMountPath(point);
        if (point.empty() || point[0] != '/' || isPseudoFileSystem(type) || isSystemMount(point))
            continue;
        if (std::find(points.begin(), points.end(), point) == points.end())
            points.push_back(point);
    }
    points.erase(std::remove(points.begin(), points.end(), std::string("/")), points.end());
    std::sort(points.begin(), points.end());
    points.insert(points.begin(), "/");
    return points;
}

std::vector<std::string> mountedDrives()
{
    std::ifstream in("/proc/mounts");
    std::ostringstream text;
    if (in)
        text << in.rdbuf();
    std::vector<std::string> drives = parseMounts(text.str());
    std::error_code ec;
    drives.erase(std::remove_if(drives.begin() + 1, drives.end(),
                                [&ec](const std::string& p) { return !fs::is_directory(p, ec); }),
                 drives.end());
    return drives;
}

std::string directoryLabel(const std::string& path, const TextWidthTwips& widthTwips)
{
    if (!widthTwips || widthTwips(path) <= kDirectoryLabelWidth_twips)
        return path;
    const std::size_t lastSeparator = path.find_last_of(kPathSeparator);
    const std::string last =
        lastSeparator == std::string::npos ? path : path.substr(lastSeparator + 1);
    return path.substr(0, bytesOfCharacters(path, 3)) + "..." + kPathSeparator + last;
}

std::string withoutExtension(const std::string& fileName)
{
    const std::size_t count = characterCount(fileName);
    return count <= 4 ? std::string() : fileName.substr(0, bytesOfCharacters(fileName, count - 4));
}

std::string trimBlanks(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::string absolutePath(const std::string& path, const std::string& base)
{
    fs::path p(path);
    if (p.is_relative())
        p = fs::path(base) / p;
    std::string out = p.lexically_normal().string();
    while (out.size() > 1 && out.back() == kPathSeparator)
        out.pop_back();
    return out.empty() ? std::string("/") : out;
}

std::string existingDirectory(const std::string& path)
{
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(path), ec);
    if (ec)
        p = fs::path("/");
    p = p.lexically_normal();
    while (!fs::is_directory(p, ec)) {
        if (p == p.root_path() || !p.has_parent_path() || p.parent_path() == p)
            return "/";
        p = p.parent_path();
    }
    const fs::path real = fs::canonical(p, ec);
    std::string out = (ec ? p : real).string();
    while (out.size() > 1 && out.back() == kPathSeparator)
        out.pop_back();
    return out.empty() ? std::string("/") : out;
}

bool matchesPattern(std::string_view name, std::string_view pattern)
{
    while (true) {
        const std::size_t semicolon = pattern.find(';');
        const std::string_view one = pattern.substr(0, semicolon);
        if (!one.empty() && matchOne(name, one))
            return true;
        if (semicolon == std::string_view::npos)
            return false;
        pattern.remove_prefix(semicolon + 1);
    }
}

FileBrowser::FileBrowser(std::vector<std::string> drives) : m_drives(std::move(drives))
{
    if (m_drives.empty())
        m_drives.push_back("/");
}

bool FileBrowser::setDirectory(const std::string& path)
{
    std::error_code ec;
    if (path.empty() || !fs::is_directory(path, ec))
        return false;
    m_directory = existingDirectory(path);
    readDirectory();
    return true;
}

void FileBrowser::reload()
{
    m_directory = existingDirectory(m_directory);
    readDirectory();
}

void FileBrowser::setPattern(const std::string& pattern)
{
    m_pattern = pattern;
    readDirectory();
}

void FileBrowser::highlightDirectory(int index)
{
    if (index >= 0 && index < static_cast<int>(m_directories.size()))
        m_highlighted = index;
}

void FileBrowser::selectFile(int index)
{
    m_selectedFile = index >= 0 && index < static_cast<int>(m_files.size()) ? index : -1;
}

bool FileBrowser::selectFileNamed(const std::string& name)
{
    for (const std::string& candidate : {name, name + ".bal"}) {
        const auto it = std::find(m_files.begin(), m_files.end(), candidate);
        if (it != m_files.end()) {
            m_selectedFile = static_cast<int>(it - m_files.begin());
            return true;
        }
    }
    return false;
}

std::optional<std::string> FileBrowser::selectedFileName() const
{
    if (m_selectedFile < 0 || m_selectedFile >= static_cast<int>(m_files.size()))
        return std::nullopt;
    return m_files[static_cast<std::size_t>(m_selectedFile)];
}

void FileBrowser::readDirectory()
{
    // The drive: the longest mount point holding the directory.
    m_driveIndex = 0;
    std::size_t longest = 0;
    for (std::size_t i = 0; i < m_drives.size(); ++i) {
        if (startsWithDirectory(m_directory, m_drives[i]) && m_drives[i].size() >= longest) {
            longest = m_drives[i].size();
            m_driveIndex = static_cast<int>(i);
        }
    }

    // The path from the root down, then the subdirectories.
    m_directories.clear();
    m_directories.push_back({"/", "/", 0, true});
    std::string sofar;
    int depth = 0;
    std::size_t start = 1;
    while (start < m_directory.size()) {
        std::size_t stop = m_directory.find(kPathSeparator, start);
        if (stop == std::string::npos)
            stop = m_directory.size();
        const std::string component = m_directory.substr(start, stop - start);
        sofar += kPathSeparator + component;
        m_directories.push_back({sofar, component, ++depth, true});
        start = stop + 1;
    }
    m_currentIndex = static_cast<int>(m_directories.size()) - 1;
    m_highlighted = m_currentIndex;

    std::vector<std::string> subdirectories;
    m_files.clear();
    m_selectedFile = -1;
    std::error_code ec;
    fs::directory_iterator it(m_directory, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty())
            continue;
        std::error_code typeError;
        // Hidden directories stay hidden; hidden files do not, because many cartridge names
        // proposed as file names begin with a point (".308 WINCHESTER ...").
        if (it->is_directory(typeError)) {
            if (name[0] != '.')
                subdirectories.push_back(name);
        }
        else if (it->is_regular_file(typeError) && matchesPattern(name, m_pattern))
            m_files.push_back(name);
    }
    std::sort(subdirectories.begin(), subdirectories.end(), lessWithoutCase);
    std::sort(m_files.begin(), m_files.end(), lessWithoutCase);
    const std::string prefix = m_directory == "/" ? std::string() : m_directory;
    for (const std::string& name : subdirectories)
        m_directories.push_back({prefix + kPathSeparator + name, name, depth + 1, false});
}

} // namespace siacci
