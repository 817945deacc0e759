// The download session talking to a JV-Link that answers anything: any result codes, counts,
// time stamps and record texts (UTF-16 that need not be valid). The session always ends, closes
// the request exactly once, writes "LastTime" only after a read that reached its end with a
// proper time stamp, and leaves exactly the records it was given, merged, in whole year files.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "acquisition/download_session.h"
#include "acquisition/download_view.h"
#include "acquisition/jv_link.h"
#include "fuzz_support.h"
#include "schedule/year_file.h"
#include "support/clock.h"
#include "support/settings_file.h"
#include "support/sjis_text.h"
#include "testing/recording_view.h"
#include "testing/scripted_jv_link.h"
#include "year_file_model.h"
#include "year_file_order.h"

namespace {

using namespace koyomi;

std::u16string ConsumeWide(FuzzedDataProvider& input, size_t max_units, bool raw) {
    const std::string bytes = input.ConsumeRandomLengthString(max_units * 2);
    if (!raw) {
        return SjisToUtf16(bytes);
    }
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return units;
}

int ConsumeResult(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return 0;
        case 1:
            return input.ConsumeIntegralInRange(-3, -1);
        case 2:
            return input.ConsumeIntegralInRange(-600, 600);
        default:
            return input.ConsumeIntegral<int>();
    }
}

// "yyyy/mm/dd hh:nn:ss" from a time stamp of 14 digits, blanks around it ignored; empty for
// anything else and for all zeros, which must not be saved.
std::string ExpectedLastTime(std::u16string_view stamp) {
    const auto blank = [](char16_t c) { return c <= u' '; };
    while (!stamp.empty() && blank(stamp.front())) {
        stamp.remove_prefix(1);
    }
    while (!stamp.empty() && blank(stamp.back())) {
        stamp.remove_suffix(1);
    }
    if (stamp.size() != 14 || stamp == u"00000000000000" ||
        !std::all_of(stamp.begin(), stamp.end(),
                     [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
        return {};
    }
    std::string digits(stamp.begin(), stamp.end());
    return digits.substr(0, 4) + "/" + digits.substr(4, 2) + "/" + digits.substr(6, 2) + " " +
           digits.substr(8, 2) + ":" + digits.substr(10, 2) + ":" + digits.substr(12, 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing::TempFolder& scratch = fuzz::Scratch();
    scratch.Clear();
    FuzzedDataProvider input(data, size);

    testing::ScriptedJVLink link;
    link.open_result = input.ConsumeBool() ? 0 : ConsumeResult(input);
    link.read_count = input.ConsumeIntegralInRange(-2, 8);
    link.download_count = input.ConsumeIntegralInRange(-2, 8);
    link.close_result = input.ConsumeBool() ? 0 : ConsumeResult(input);
    const bool raw = input.ConsumeBool();
    link.last_file_timestamp = ConsumeWide(input, 20, raw);
    for (int i = input.ConsumeIntegralInRange(0, 6); i > 0; --i) {
        link.status_results.push_back(ConsumeResult(input));
    }
    link.status_results.push_back(link.download_count);  // then the download is done for ever
    while (input.remaining_bytes() > 0 && link.read_steps.size() < 64) {
        testing::ReadStep step;
        if (input.ConsumeIntegralInRange(0, 3) != 0) {
            step.buffer = ConsumeWide(input, 600, input.ConsumeBool());
            step.result = static_cast<int>(step.buffer.size()) + 1;
        } else {
            step.result = ConsumeResult(input);
        }
        link.read_steps.push_back(step);
    }

    testing::RecordingView view;
    SettingsFile settings(scratch.path() / "koyomivw");
    settings.Loaded();
    const FixedClock clock({2026, 12, 20, 10, 0, 0});
    {
        DownloadSession session(link, view, clock, settings, scratch.path());
        session.StartFetch(FetchMode::Setup);
        // Every scripted answer runs out into one that ends the session.
        for (int tick = 0; tick < 64 && session.IsOpen(); ++tick) {
            KOYOMI_REQUIRE(view.timer_enabled);
            session.PollDownload();
        }
        KOYOMI_REQUIRE(!session.IsOpen());
        KOYOMI_REQUIRE(!view.timer_enabled);
    }
    KOYOMI_REQUIRE(link.open_calls == 1 && link.close_calls == 1);
    KOYOMI_REQUIRE(std::all_of(link.read_sizes.begin(), link.read_sizes.end(),
                               [](int size) { return size == kJVReadBufferSize; }));

    // "LastTime" only after a read that reached its end, and only a proper time.
    const std::string last_time = ExpectedLastTime(link.last_file_timestamp);
    const std::string saved = settings.ReadString("JvDataGet", "LastTime", "");
    KOYOMI_REQUIRE(saved == (link.read_to_end ? last_time : std::string()));
    KOYOMI_REQUIRE(!view.Boxes().empty());

    // The year files hold exactly the records delivered, merged in order.
    std::map<std::string, std::vector<std::string>> expected;
    for (const std::u16string& buffer : link.delivered) {
        if (const auto line = model::ScheduleLineOf(Utf16ToSjis(buffer))) {
            model::MergeLine(expected[std::string(model::LineYear(*line))], *line);
        }
    }
    std::vector<std::string> names;
    for (const auto& [year, lines] : expected) {
        const std::filesystem::path file = scratch.path() / YearFileName(year);
        names.push_back(file.filename().string());
        const Result<std::string> text = testing::TryReadBytes(file);
        KOYOMI_REQUIRE(text.Ok());
        KOYOMI_REQUIRE(fuzz::HoldsLinesInOrder(*text, lines));
    }
    if (!saved.empty()) {
        names.push_back("koyomivw.ini");
    }
    std::sort(names.begin(), names.end());
    KOYOMI_REQUIRE(testing::FolderNames(scratch.path()) == names);
    return 0;
}
