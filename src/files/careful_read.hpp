#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

// Reading a whole file the program was given (a shot file, the armoury, an imported rifle, a
// measured drag table) without being led astray by what the name leads to: only a regular file
// is opened (a FIFO would make the open wait for a writer for ever, /dev/zero never ends), and
// the bytes are counted while they are read, so a file that grows, or lies about its size, is
// still refused at the limit.
namespace siacci {

enum class CarefulReadStatus {
    Read,
    Missing,      // no such file
    Directory,    // a folder
    NotRegular,   // a FIFO, a device, a socket
    TooLarge,     // more than the limit the caller gave
    SystemError,  // `error` holds the errno value
};

struct CarefulReadResult {
    CarefulReadStatus status = CarefulReadStatus::Read;
    int error = 0;
    std::string bytes; // the whole file when read

    explicit operator bool() const { return status == CarefulReadStatus::Read; }
};

// The whole of `path` (symbolic links followed) when it is a regular file of at most
// `maxBytes` bytes. Never throws, never blocks on a FIFO or a terminal.
CarefulReadResult readFileCarefully(const std::filesystem::path& path, std::size_t maxBytes);

// Why a careful read failed, in Italian ("non è un file normale"); empty when the file was read.
std::string readFailureText(const CarefulReadResult& result);

// What tells whether a file changed since it was last read or written: which file the name
// leads to, its size and its times to the nanosecond. Two stamps of an unchanged file are equal.
struct FileStamp {
    bool exists = false;
    unsigned long long device = 0, inode = 0, size = 0;
    long long modified_ns = 0, changed_ns = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
FileStamp fileStamp(const std::filesystem::path& path);

} // namespace siacci
