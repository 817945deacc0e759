// What a temporary folder is made of on each system: where it goes, and a new folder there.
#pragma once

#include <filesystem>
#include <string_view>

#include "testing/temp_folder.h"

namespace koyomi::testing {

// The folder new temporary folders of `place` go below.
std::filesystem::path BaseOf(TempFolder::Place place);

// A new folder in `base` named `name` and a random part. Throws when none can be made.
std::filesystem::path MakeUniqueFolder(const std::filesystem::path& base, std::string_view name);

}  // namespace koyomi::testing
