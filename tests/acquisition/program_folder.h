// Where the build put the program and its control: KOYOMI_PROGRAM_DIR from ctest, else the
// folder this build was configured with.
#pragma once

#include <cstdlib>
#include <filesystem>

namespace koyomi::testing {

inline std::filesystem::path program_folder_() {
    if (const char* folder = std::getenv("KOYOMI_PROGRAM_DIR"); folder != nullptr && *folder) {
        return folder;
    }
    return KOYOMI_TEST_PROGRAM_DIR;
}

}  // namespace koyomi::testing
