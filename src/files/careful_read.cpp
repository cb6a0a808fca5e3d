#include "files/careful_read.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace siacci {

namespace {

CarefulReadResult failure(CarefulReadStatus status, int error = 0)
{
    CarefulReadResult r;
    r.status = status;
    r.error = error;
    return r;
}

CarefulReadResult statusOf(const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        return failure(CarefulReadStatus::Directory);
    if (!S_ISREG(st.st_mode))
        return failure(CarefulReadStatus::NotRegular);
    return {};
}

} // namespace

CarefulReadResult readFileCarefully(const std::filesystem::path& path, std::size_t maxBytes)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? failure(CarefulReadStatus::Missing)
                               : failure(CarefulReadStatus::SystemError, errno);
    if (CarefulReadResult wrong = statusOf(st); !wrong)
        return wrong;
    // Non-blocking, should the name have become a FIFO since it was looked at; the descriptor's
    // own file is checked again before a byte is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? failure(CarefulReadStatus::Missing)
                               : failure(CarefulReadStatus::SystemError, errno);
    CarefulReadResult result;
    if (::fstat(fd, &st) != 0) {
        result = failure(CarefulReadStatus::SystemError, errno);
    } else if (CarefulReadResult wrong = statusOf(st); !wrong) {
        result = wrong;
    } else {
        char buffer[16384];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                result = failure(CarefulReadStatus::SystemError, errno);
                break;
            }
            if (n == 0)
                break;
            if (result.bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
                result = failure(CarefulReadStatus::TooLarge);
                break;
            }
            result.bytes.append(buffer, static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    return result;
}

std::string readFailureText(const CarefulReadResult& result)
{
    switch (result.status) {
    case CarefulReadStatus::Read: return {};
    case CarefulReadStatus::Missing: return "il file non esiste";
    case CarefulReadStatus::Directory: return "è una cartella, non un file";
    case CarefulReadStatus::NotRegular: return "non è un file normale";
    case CarefulReadStatus::TooLarge: return "il file è troppo grande";
    case CarefulReadStatus::SystemError: break;
    }
    switch (result.error) {
    case EACCES:
    case EPERM: return "accesso negato";
    case ENAMETOOLONG: return "il nome è troppo lungo";
    case ENOTDIR: return "il percorso non è una cartella";
    case ELOOP: return "troppi collegamenti simbolici";
    case EIO: return "errore del disco";
    default: return "errore di lettura";
    }
}

FileStamp fileStamp(const std::filesystem::path& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.device = static_cast<unsigned long long>(st.st_dev);
    stamp.inode = static_cast<unsigned long long>(st.st_ino);
    stamp.size = static_cast<unsigned long long>(st.st_size);
    stamp.modified_ns = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    stamp.changed_ns = static_cast<long long>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec;
    return stamp;
}

} // namespace siacci
