// The temporary files the file layer writes beside a target before it replaces it, and the
// file a replace writes: what the Linux and the Windows file layers share.
#pragma once

#include <cstdint>
#include <filesystem>

namespace koyomi {

// Makes "<target>.~<12 lowercase hex digits>" names, never the name of a year file or a
// settings file. A name only has to be unlikely to be taken: the caller's exclusive create
// settles a clash by asking for the next one.
class TemporaryNames {
  public:
    // `process_id` keeps two programs that start at the same moment apart.
    explicit TemporaryNames(std::uint64_t process_id);

    std::filesystem::path Next(const std::filesystem::path& target);

  private:
    std::uint64_t seed_;
};

// True for a name TemporaryNames makes; only the file's name is looked at.
bool IsTemporaryName(const std::filesystem::path& file);

// The file a symbolic link under `target` points to, so that the link stays; `target` itself
// otherwise.
std::filesystem::path FollowLinks(const std::filesystem::path& target);

}  // namespace koyomi
