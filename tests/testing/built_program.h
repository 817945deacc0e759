// Where the build put the program and what lies beside it (the control library, the help,
// the sample service).
#pragma once

#include <filesystem>

namespace koyomi::testing {

// KOYOMI_PROGRAM_DIR from the environment (ctest sets it), else the folder this build was
// configured with.
std::filesystem::path BuiltProgramFolder();

}  // namespace koyomi::testing
