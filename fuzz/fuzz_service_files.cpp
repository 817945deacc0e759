// The stand-in control reading a data service of any bytes: file names, dataspec IDs,
// its own INI files, and a whole JVOpen / JVStatus / JVRead / JVClose conversation over one or
// two service files. Every record comes out exactly as the file holds it, a record that JV-Link
// could not deliver (not Shift-JIS, or too long for the buffer) stops the read with -403, and
// the control never answers out of turn.
#include <fuzzer/FuzzedDataProvider.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/jv_link.h"
#include "control/service/download_cache.h"
#include "control/service/fault_plan.h"
#include "control/service/ini_sections.h"
#include "control/service/service_files.h"
#include "control/service/service_records.h"
#include "control/service/standin_jvlink.h"
#include "control/service/standin_settings.h"
#include "fuzz_support.h"
#include "support/sjis_text.h"

namespace {

using namespace koyomi;

constexpr int kBadContent = -403;
const char* const kFileNames[] = {"YSCH20240101000000.jvd", "YSCH20240201000000.jvd"};

void CheckNamesAndSpecs(const std::string& text) {
    if (const std::optional<ServiceFile> file = ParseServiceFileName(text)) {
        KOYOMI_REQUIRE(file->name == text && file->dataspec.size() == 4 &&
                       file->created.size() == 14 && text.starts_with(file->dataspec));
    }
    const std::u16string wide = Utf8ToUtf16(text);
    if (const auto specs = ParseDataSpec(wide)) {
        KOYOMI_REQUIRE(!specs->empty() && specs->size() <= wide.size() / 4);
    }
}

void CheckFaultText(const std::string& text) {
    const FaultPlan plan = ParseFaultPlan(text);
    for (const std::optional<Fault>* fault :
         {&plan.jv_init, &plan.jv_set_ui_properties, &plan.jv_open, &plan.jv_status, &plan.jv_read,
          &plan.jv_close}) {
        KOYOMI_REQUIRE(!*fault || (*fault)->after >= 0);
    }
    KOYOMI_REQUIRE(!plan.ms_per_file || *plan.ms_per_file >= 0);
    const IniSections sections = ParseIniText(text);
    for (const auto& [section, keys] : sections) {
        for (const auto& [key, value] : keys) {
            KOYOMI_REQUIRE(IniValue(sections, section, key) == value);
        }
    }
}

// What JVRead must answer, in order, for these service files.
struct Expected {
    int result = 0;
    std::string record;  // for a result above 0
};

std::vector<Expected> ExpectedReads(const std::vector<std::string>& contents) {
    std::vector<Expected> reads;
    for (const std::string& content : contents) {
        for (std::string_view record : SplitServiceRecords(content)) {
            KOYOMI_REQUIRE(!record.empty() && record.find('\n') == std::string_view::npos);
            if (record.size() + 2 > static_cast<size_t>(kJVReadBufferSize) ||
                !IsValidSjis(record)) {
                reads.push_back({kBadContent, {}});
                return reads;
            }
            reads.push_back({static_cast<int>(record.size() + 2), std::string(record)});
        }
        reads.push_back({-1, {}});
    }
    reads.push_back({0, {}});
    return reads;
}

void CheckConversation(const std::filesystem::path& root, const std::vector<std::string>& contents,
                       bool cached, const std::string& settings_text) {
    const std::filesystem::path service = root / "service";
    std::filesystem::create_directories(service);
    testing::WriteBytes(service / kFaultsFileName, "[download]\nms_per_file=0\n");
    StandInPaths paths;
    paths.service_override = service;
    paths.settings_file = root / "settings.ini";
    paths.cache_root = root / "cache";
    paths.bundled_service = root / "bundled";
    testing::WriteBytes(paths.settings_file, settings_text);
    LoadStandInSettings(paths.settings_file);

    const std::filesystem::path cache = ServiceCacheFolder(paths.cache_root, service);
    std::filesystem::create_directories(cache);
    for (size_t i = 0; i < contents.size(); ++i) {
        testing::WriteBytes(service / kFileNames[i], contents[i]);
        if (cached) {
            testing::WriteBytes(cache / kFileNames[i], contents[i]);
        }
    }

    StandInJVLink link(paths);
    KOYOMI_REQUIRE(link.JVInit(u"SA100200/SD300400/KoyomiVw/Ver.1.02") == 0);
    int read_count = -1;
    int download_count = -1;
    std::u16string timestamp;
    KOYOMI_REQUIRE(
        link.JVOpen(u"YSCH", u"20000101000000", 3, read_count, download_count, timestamp) == 0);
    const int files = static_cast<int>(contents.size());
    KOYOMI_REQUIRE(read_count == files);
    KOYOMI_REQUIRE(download_count == (cached ? 0 : files));
    KOYOMI_REQUIRE(timestamp == Utf8ToUtf16(std::string(kFileNames[files - 1]).substr(4, 14)));
    if (download_count > 0) {
        int status = 0;
        for (int poll = 0; poll < 100000 && (status = link.JVStatus()) < download_count; ++poll) {
            KOYOMI_REQUIRE(status >= 0);
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        KOYOMI_REQUIRE(status == download_count);
    }

    int size = kJVReadBufferSize;
    for (const Expected& expected : ExpectedReads(contents)) {
        std::u16string buffer;
        std::u16string file_name;
        const int result = link.JVRead(buffer, size, file_name);
        KOYOMI_REQUIRE(result == expected.result);
        if (result > 0) {
            KOYOMI_REQUIRE(buffer == SjisToUtf16(expected.record) + u"\r\n");
        }
    }
    KOYOMI_REQUIRE(link.JVClose() == 0);

    // Closed, the control answers out of turn with "not opened"; opened again, everything is
    // in its cache and nothing is downloaded twice.
    std::u16string buffer;
    std::u16string file_name;
    KOYOMI_REQUIRE(link.JVRead(buffer, size, file_name) == -203);
    KOYOMI_REQUIRE(link.JVStatus() == -203);
    KOYOMI_REQUIRE(
        link.JVOpen(u"YSCH", u"20000101000000", 3, read_count, download_count, timestamp) == 0);
    KOYOMI_REQUIRE(read_count == files && download_count == 0);
    KOYOMI_REQUIRE(link.JVClose() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing::TempFolder& scratch = fuzz::Scratch();
    scratch.Clear();
    FuzzedDataProvider input(data, size);
    const std::uint8_t flags = input.ConsumeIntegral<std::uint8_t>();
    const std::string small_text = input.ConsumeRandomLengthString(512);
    CheckNamesAndSpecs(small_text);
    CheckFaultText(small_text);

    std::vector<std::string> contents;
    if (flags & 2) {
        contents.push_back(input.ConsumeRandomLengthString(1 << 17));
    }
    contents.push_back(input.ConsumeRemainingBytesAsString());
    CheckConversation(scratch.path(), contents, (flags & 1) != 0, small_text);
    return 0;
}
