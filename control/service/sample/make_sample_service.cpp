// Writes the sample data service: make_sample_service <folder> [first-year last-year]
// (default 2025 to 2027). The output is the same on every run and every machine.
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "control/service/sample/sample_service.h"

namespace {

bool ParseYear(std::string_view text, int& year) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), year);
    return error == std::errc() && end == text.data() + text.size() && year >= 1990 && year <= 2999;
}

}  // namespace

int main(int argc, char** argv) {
    int first_year = 2025;
    int last_year = 2027;
    if ((argc != 2 && argc != 4) ||
        (argc == 4 && (!ParseYear(argv[2], first_year) || !ParseYear(argv[3], last_year) ||
                       first_year > last_year))) {
        std::fprintf(stderr, "usage: %s <folder> [first-year last-year]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "%s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }
    for (const koyomi::SampleServiceFile& file :
         koyomi::SampleServiceFiles(first_year, last_year)) {
        const std::filesystem::path path = folder / file.name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(file.content.data(), static_cast<std::streamsize>(file.content.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "%s: cannot write\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
