#pragma once

// Test support for everything that writes files: a writer port that fails on purpose, and a
// small file system that really fills up where the test may mount one.
#include "files/careful_write.hpp"

#include <cerrno>
#include <filesystem>
#include <random>
#include <string>
#include <sys/mount.h>
#include <vector>

namespace siacci::testing {

// Fails every write with `result` (a full disk unless told otherwise), changing nothing, and
// records what it was asked to write.
class FailingWriter : public FileWriter {
public:
    explicit FailingWriter(CarefulWriteResult failure = {CarefulWriteStatus::SystemError, ENOSPC})
        : result(failure)
    {
    }
    CarefulWriteResult write(const std::filesystem::path& path, std::string_view bytes) override
    {
        paths.push_back(path);
        sizes.push_back(bytes.size());
        return result;
    }

    CarefulWriteResult result;
    std::vector<std::filesystem::path> paths;
    std::vector<std::size_t> sizes;
};

// The failures every caller must report: a full disk, a read-only file, a device, a failed sync.
inline std::vector<CarefulWriteResult> writeFailures()
{
    return {{CarefulWriteStatus::SystemError, ENOSPC},
            {CarefulWriteStatus::ReadOnly, 0},
            {CarefulWriteStatus::NotRegular, 0},
            {CarefulWriteStatus::SystemError, EIO}};
}

// A tmpfs of `bytes` bytes mounted on a new folder, where the system lets the test mount one
// (root with the right to mount); `mounted` false otherwise, and the test skips.
struct SmallTmpfs {
    std::filesystem::path path;
    bool mounted = false;

    explicit SmallTmpfs(std::size_t bytes)
    {
        std::random_device seed;
        path = std::filesystem::temp_directory_path() / ("siacci-pieno-" + std::to_string(seed()));
        std::error_code ec;
        std::filesystem::create_directories(path, ec);
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
        mounted = !ec && ::mount("tmpfs", path.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallTmpfs()
    {
        if (mounted)
            ::umount(path.c_str());
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;
};

} // namespace siacci::testing
