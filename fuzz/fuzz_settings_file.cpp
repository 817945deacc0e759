// The settings file on any bytes: reads never fail, a write that is accepted reads back as
// written (with the quoting rule), every other section and key keeps its value, a refused
// write leaves the file alone, and only the settings file itself is ever written.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "support/profile_file.h"
#include "support/settings_file.h"
#include "support/sjis_text.h"

namespace {

using namespace koyomi;

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names match with ASCII letters folded, a double-byte character compared whole.
bool SameName(std::string_view a, std::string_view b) {
    a = TrimBlanks(a);
    b = TrimBlanks(b);
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (IsSjisLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a.substr(i, 2) != b.substr(i, 2)) {
                return false;
            }
            ++i;
        } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// ReadString's quoting rule on a stored value.
std::string Unquoted(std::string_view text) {
    if (text.size() >= 2 && ((text.front() == '"' && text.back() == '"') ||
                             (text.front() == '\xA2' && text.back() == '\xA3'))) {
        return std::string(text.substr(1, text.size() - 2));
    }
    return std::string(text);
}

struct Entry {
    std::string section;
    std::string key;
};

// Short names, often one of the program's own, so that hits on existing lines are common.
std::string Name(FuzzedDataProvider& input, std::initializer_list<const char*> known) {
    const std::uint8_t pick = input.ConsumeIntegral<std::uint8_t>();
    if (pick < known.size() * 32) {
        return *(known.begin() + pick / 32);
    }
    return input.ConsumeRandomLengthString(24);
}

Entry ConsumeEntry(FuzzedDataProvider& input) {
    Entry entry;
    entry.section = Name(input, {"locate", "kikan", "JvDataGet", "JVDATAGET"});
    entry.key = Name(input, {"top", "left", "kikan", "LastTime"});
    return entry;
}

void CheckText(std::string_view text, const Entry& written, const Entry& probe,
               std::string_view value) {
    const std::optional<std::string_view> probe_before =
        FindProfileValue(text, probe.section, probe.key);
    if (!IsUsableProfileEntry(written.section, written.key, value)) {
        return;
    }
    const std::string updated = WithProfileValue(text, written.section, written.key, value);
    const std::optional<std::string_view> read_back =
        FindProfileValue(updated, written.section, written.key);
    KOYOMI_REQUIRE(read_back && *read_back == TrimBlanks(value));

    const std::optional<std::string_view> probe_after =
        FindProfileValue(updated, probe.section, probe.key);
    if (SameName(probe.section, written.section) && SameName(probe.key, written.key)) {
        KOYOMI_REQUIRE(probe_after == read_back);
    } else {
        KOYOMI_REQUIRE(probe_after == probe_before);
    }
    // Writing the same again changes nothing.
    KOYOMI_REQUIRE(WithProfileValue(updated, written.section, written.key, value) == updated);
}

void CheckFile(const std::string& text, const Entry& written, const Entry& probe,
               const std::string& value, int number) {
    const std::filesystem::path folder = fuzz::Scratch().path();
    SettingsFile settings(folder / "koyomivw");
    settings.Loaded();
    const std::filesystem::path file = folder / "koyomivw.ini";
    KOYOMI_REQUIRE(settings.Path() == file);
    testing::WriteBytes(file, text);

    const std::string probe_before = settings.ReadString(probe.section, probe.key, "none");
    const std::optional<std::string_view> stored = FindProfileValue(text, probe.section, probe.key);
    KOYOMI_REQUIRE(probe_before == (stored ? Unquoted(*stored) : std::string("none")));
    settings.ReadInteger(probe.section, probe.key, 7);

    const Status result = settings.WriteString(written.section, written.key, value);
    const Result<std::string> read = testing::TryReadBytes(file);
    KOYOMI_REQUIRE(read.Ok());
    const std::string& after = *read;
    KOYOMI_REQUIRE(testing::FolderNames(folder) == std::vector<std::string>{"koyomivw.ini"});
    if (!IsUsableProfileEntry(written.section, written.key, value)) {
        KOYOMI_REQUIRE(!result.Ok() && !result.Reason().empty() && result.File() == file);
        KOYOMI_REQUIRE(after == text);
        return;
    }
    KOYOMI_REQUIRE(result.Ok());
    KOYOMI_REQUIRE(after == text ||
                   after == WithProfileValue(text, written.section, written.key, value));
    KOYOMI_REQUIRE(settings.ReadString(written.section, written.key, "none") ==
                   Unquoted(TrimBlanks(value)));

    if (settings.WriteInteger(written.section, written.key, number)) {
        KOYOMI_REQUIRE(settings.ReadInteger(written.section, written.key, number ^ 1) == number);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Scratch().Clear();
    FuzzedDataProvider input(data, size);
    const Entry written = ConsumeEntry(input);
    const Entry probe = ConsumeEntry(input);
    const std::string value = input.ConsumeRandomLengthString(64);
    const int number = input.ConsumeIntegral<int>();
    const std::string text = input.ConsumeRemainingBytesAsString();

    CheckText(text, written, probe, value);
    CheckFile(text, written, probe, value, number);
    return 0;
}
