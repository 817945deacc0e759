#include "testing/built_program.h"

#include <cstdlib>

namespace koyomi::testing {

std::filesystem::path BuiltProgramFolder() {
    if (const char* folder = std::getenv("KOYOMI_PROGRAM_DIR"); folder != nullptr && *folder) {
        return folder;
    }
    return KOYOMI_BUILT_PROGRAM_DIR;
}

}  // namespace koyomi::testing
