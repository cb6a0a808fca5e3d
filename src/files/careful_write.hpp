#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Replacing a file's contents the way a careful editor does, for the shot files and any other
// document the program saves.
namespace siacci {

enum class CarefulWriteStatus {
    Written,
    NotRegular,   // the name (or the file a symbolic link leads to) is a FIFO, a device, a socket
    ReadOnly,     // the existing file has no write permission for anyone (refused even to root)
    SystemError,  // `error` holds the errno value
};

struct CarefulWriteResult {
    CarefulWriteStatus status = CarefulWriteStatus::Written;
    int error = 0;

    explicit operator bool() const { return status == CarefulWriteStatus::Written; }
};

// Writes `bytes` as the whole contents of `path`. Never throws.
// - A symbolic link is followed (also through a chain, also when it dangles): the file it leads
//   to is written and the link stays a link.
// - An existing file keeps its permission bits (and, where the system allows, its owner and
//   group). A new file gets 0666 less the umask.
// - A file the user may not write (and one without any write bit, which root too is refused) and
//   anything that is not a regular file are refused with nothing changed.
// - Atomic: the contents go to a temporary file (mode 0600) in the same folder, synced, then
//   renamed over the target, so a failed save leaves the old file whole and no temporary behind.
// - A file with several hard links is rewritten in place instead, so that every name keeps
//   seeing the same file: the new contents are first written whole to the temporary file (which
//   proves the disk has room), then written over the file in one write and synced; should that
//   write fail, the old contents are written back. A shot file is one short line, so the window
//   for a torn file is one write of a few hundred bytes.
CarefulWriteResult writeFileCarefully(const std::filesystem::path& path, std::string_view bytes);

// Why a write failed, in Italian ("il disco è pieno"), from the errno value of the failure.
std::string systemErrorText(int error);
// Why a careful write failed, in Italian; empty when the file was written.
std::string writeFailureText(const CarefulWriteResult& result);

// The port every file the program writes goes through: the careful writer above, or in the
// tests a writer that fails on purpose (a full disk, a read-only folder...) so that each caller
// can be shown to report the failure and keep the old file.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual CarefulWriteResult write(const std::filesystem::path& path, std::string_view bytes) = 0;
};

// The writer in use: the careful writer unless a test put another in its place.
FileWriter& fileWriter();

// While it lives, every write goes to `writer` instead (tests only; not thread-safe).
class ScopedFileWriter {
public:
    explicit ScopedFileWriter(FileWriter& writer);
    ~ScopedFileWriter();
    ScopedFileWriter(const ScopedFileWriter&) = delete;
    ScopedFileWriter& operator=(const ScopedFileWriter&) = delete;

private:
    FileWriter* m_previous;
};

// Removes what saves of `target` killed half-way left beside it: the temporaries of the Qt
// writer of older versions ("armeria.json.XXXXXX", six letters or digits) and this writer's own
// (".siacci-NNN.tmp") once they are older than `minimumAge` (a save running at the same time in
// another program keeps its own). Regular files only; never the target itself.
void removeStaleTemporaries(const std::filesystem::path& target,
                            std::filesystem::file_time_type::duration minimumAge = std::chrono::minutes(10));

// The file a path leads to once every symbolic link is followed (at most 40), the path itself
// when it is no link. A relative link is taken from the folder of the link.
std::filesystem::path followLinks(const std::filesystem::path& path);

// True when the path names something that exists and is not a regular file (after following
// links): a FIFO, a device, a socket, a directory.
bool existsButNotRegular(const std::filesystem::path& path);

} // namespace siacci
