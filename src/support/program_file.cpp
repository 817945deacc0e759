#include "support/program_file.h"

namespace koyomi {

std::filesystem::path ProgramFolderOf(const std::filesystem::path& program_file) {
    return program_file.parent_path();
}

}  // namespace koyomi
