#include "files/careful_write.hpp"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

namespace siacci {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinks = 40; // as the kernel's own limit on a chain of symbolic links

// Writes all of `bytes` at the file's current offset; false with errno set on failure.
bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The old contents of the file, to put back should the in-place write fail.
bool readAll(int fd, std::string& out)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

CarefulWriteResult systemError(int error)
{
    return {CarefulWriteStatus::SystemError, error ? error : EIO};
}

// A new temporary file beside the target, readable by the user alone until it is complete. Its
// name is short whatever the target's, so that any name the file system takes (255 bytes) can
// be saved.
int createTemporary(const fs::path& target, fs::path& temporary)
{
    const fs::path directory = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = directory / (".siacci-" + std::to_string(random() % 1000000) + ".tmp");
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// Rewrites a file with several hard links in place; the temporary file already holds the new
// contents whole. Returns 0 or the errno of the failure (after the old contents went back).
int rewriteInPlace(const fs::path& target, std::string_view bytes)
{
    const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return errno;
    std::string old;
    int error = 0;
    if (!readAll(fd, old))
        error = errno;
    else if (::lseek(fd, 0, SEEK_SET) < 0 || !writeAll(fd, bytes) ||
             ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd) != 0) {
        error = errno ? errno : EIO;
        if (::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, old))
            (void)!::ftruncate(fd, static_cast<off_t>(old.size()));
    }
    ::close(fd);
    return error;
}

} // namespace

fs::path followLinks(const fs::path& path)
{
    fs::path current = path;
    std::error_code ec;
    for (int i = 0; i < kMaxLinks && fs::is_symlink(current, ec); ++i) {
        const fs::path next = fs::read_symlink(current, ec);
        if (ec)
            break;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

bool existsButNotRegular(const fs::path& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

CarefulWriteResult writeFileCarefully(const fs::path& path, std::string_view bytes)
{
    const fs::path target = followLinks(path);
    struct stat st {};
    const bool exists = ::lstat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return systemError(errno);
    if (exists && S_ISLNK(st.st_mode))
        return systemError(ELOOP); // a chain longer than any the system follows
    if (exists && S_ISDIR(st.st_mode))
        return systemError(EISDIR);
    if (exists && !S_ISREG(st.st_mode))
        return {CarefulWriteStatus::NotRegular, 0};
    if (exists && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return {CarefulWriteStatus::ReadOnly, 0};
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return systemError(errno);

    fs::path temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0)
        return systemError(errno);
    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return systemError(error);
    };
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        return fail(errno);

    if (exists && st.st_nlink > 1) {
        const int error = rewriteInPlace(target, bytes);
        ::close(fd);
        ::unlink(temporary.c_str());
        return error ? systemError(error) : CarefulWriteResult{};
    }
    if (exists) {
        // The owner and group go first: changing them can clear the set-id bits.
        (void)!::fchown(fd, st.st_uid, st.st_gid);
        if (::fchmod(fd, st.st_mode & 07777) != 0)
            return fail(errno);
    } else if (::fchmod(fd, 0666 & ~currentUmask()) != 0) {
        return fail(errno);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return systemError(error);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return systemError(error);
    }
    return {};
}

std::string systemErrorText(int error)
{
    switch (error) {
    case EACCES:
    case EPERM: return "accesso negato";
    case EROFS: return "il disco è protetto in scrittura";
    case ENOSPC:
    case EDQUOT: return "il disco è pieno";
    case ENOENT: return "la cartella o il file non esiste";
    case ENOTDIR: return "il percorso non è una cartella";
    case EISDIR: return "esiste una cartella con questo nome";
    case ENAMETOOLONG: return "il nome è troppo lungo";
    case EINVAL:
    case EILSEQ: return "il nome non è valido";
    case EIO: return "errore del disco";
    case ELOOP: return "troppi collegamenti simbolici";
    case EFBIG: return "il file è troppo grande";
    default: return "errore di scrittura";
    }
}

std::string writeFailureText(const CarefulWriteResult& result)
{
    switch (result.status) {
    case CarefulWriteStatus::Written: return {};
    case CarefulWriteStatus::NotRegular: return "non è un file normale";
    case CarefulWriteStatus::ReadOnly: return "il file è di sola lettura";
    case CarefulWriteStatus::SystemError: return systemErrorText(result.error);
    }
    return systemErrorText(result.error);
}

namespace {

class CarefulFileWriter : public FileWriter {
public:
    CarefulWriteResult write(const fs::path& path, std::string_view bytes) override
    {
        return writeFileCarefully(path, bytes);
    }
};

CarefulFileWriter theCarefulWriter;
FileWriter* currentWriter = &theCarefulWriter;

bool isAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// "armeria.json.a1B2c3": the name of the target, a point, six letters or digits.
bool isQtTemporaryOf(const std::string& name, const std::string& target)
{
    if (name.size() != target.size() + 7 || name.compare(0, target.size(), target) != 0 ||
        name[target.size()] != '.')
        return false;
    for (std::size_t i = target.size() + 1; i < name.size(); ++i)
        if (!isAlnum(name[i]))
            return false;
    return true;
}

// ".siacci-123456.tmp", as createTemporary names them.
bool isOwnTemporary(const std::string& name)
{
    constexpr std::string_view prefix = ".siacci-", suffix = ".tmp";
    if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size() - suffix.size(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return true;
}

} // namespace

FileWriter& fileWriter()
{
    return *currentWriter;
}

ScopedFileWriter::ScopedFileWriter(FileWriter& writer) : m_previous(currentWriter)
{
    currentWriter = &writer;
}

ScopedFileWriter::~ScopedFileWriter()
{
    currentWriter = m_previous;
}

void removeStaleTemporaries(const fs::path& target, fs::file_time_type::duration minimumAge)
{
    const fs::path real = followLinks(target);
    const fs::path directory = real.parent_path().empty() ? fs::path(".") : real.parent_path();
    const std::string targetName = real.filename().string();
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!it->is_regular_file(ec) || it->is_symlink(ec))
            continue;
        if (isQtTemporaryOf(name, targetName))
            stale.push_back(it->path());
        else if (isOwnTemporary(name)) {
            const auto written = it->last_write_time(ec);
            if (!ec && now - written >= minimumAge)
                stale.push_back(it->path());
        }
    }
    for (const fs::path& p : stale)
        fs::remove(p, ec);
}

} // namespace siacci
