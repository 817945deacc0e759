// A fresh folder for one test, fuzz run or benchmark, removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace koyomi::testing {

class TempFolder {
  public:
    enum class Place {
        kTemporary,  // below the system's temporary folder (TMPDIR, else /tmp)
        // /dev/shm when there, else /tmp: in memory for the fuzz targets, and a place every
        // user may enter, for a child that runs as another user.
        kShared,
    };

    // The folder is named `name` followed by a random part; `name` may hold spaces and
    // characters outside ASCII, for tests of paths. Throws when no folder can be made.
    explicit TempFolder(std::string_view name = "koyomi-test", Place place = Place::kTemporary);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return path_ / name;
    }

    // Empties the folder for the next input.
    void Clear() const;

  private:
    std::filesystem::path path_;
};

}  // namespace koyomi::testing
