#pragma once

// Helpers of the shot-file tests: temporary directories, file contents, a recording main window.
#include "files/shot_file_host.hpp"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace siacci::testing {

// The shot file of "22 LONGRIFLE", "22  HIGHT 40 grains" saved in metric mode.
inline const std::string kHightLine =
    "400,\"22 LONG RIFLE HIGHT 40 grains\",0.1,40,4,70,10,150,15,0,0,0,1,,,,,,,\r\n";

// A directory of its own under the system's temporary directory, removed afterwards.
struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        std::random_device seed;
        path = std::filesystem::temp_directory_path() /
               ("siacci-files-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path);
        path = std::filesystem::canonical(path);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path, ec);
    }
    std::string str() const { return path.string(); }
};

inline std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline int entriesIn(const std::filesystem::path& directory)
{
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(directory))
        ++n;
    return n;
}

// The main window as the file windows see it, recording what they asked.
class FakeShotFileHost : public ShotFileHost {
public:
    BalRecord record;
    std::string description;
    std::vector<BalReadResult> opened;
    int saved = 0;

    BalRecord currentRecord() const override { return record; }
    std::string descriptionText() const override { return description; }
    void fileOpened(const BalReadResult& result) override { opened.push_back(result); }
    void fileSaved() override { ++saved; }
};

} // namespace siacci::testing
