// The code conversions, the JV-Link result text and the Shift-JIS text layer on any bytes:
// nothing fails, widths are what each table promises, and every text made for the screen or
// a file is well formed in its encoding.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "codes/code_tables.h"
#include "codes/jv_result_text.h"
#include "fuzz_support.h"
#include "support/sjis_text.h"

namespace {

using namespace koyomi;

// Valid UTF-8 goes through UTF-16 unchanged; anything invalid would come back as U+FFFD.
bool IsValidUtf8(std::string_view text) {
    return Utf16ToUtf8(Utf8ToUtf16(text)) == text;
}

void CheckTables(std::string_view code, int form) {
    // Venue: forms 0 to 3 always have their width, but form 1 of Japan ("A2") is "日" and a
    // space; form 9 is the 20-byte long name, or 6 spaces for a code the table does not list.
    const int form_one_width = code == "A2" ? 3 : 2;
    const int venue_widths[] = {6, form_one_width, 4, 6};
    for (int venue_form = 0; venue_form < 4; ++venue_form) {
        KOYOMI_REQUIRE(ByteWidth(VenueText(code, venue_form)) == venue_widths[venue_form]);
    }
    // Six spaces in form 9 only for an unlisted code, which is blank in form 0 too.
    const std::string long_name = VenueText(code, 9);
    KOYOMI_REQUIRE(ByteWidth(long_name) == 20 ||
                   (long_name == "      " && VenueText(code, 0) == "      "));
    if (form != 0 && form != 1 && form != 2 && form != 3 && form != 9) {
        KOYOMI_REQUIRE(VenueText(code, form).empty());
    }

    // A code without digits after its leading spaces reads as 0, the blank day.
    const std::string_view after_spaces =
        code.substr(std::min(code.find_first_not_of(' '), code.size()));
    const bool reads_zero =
        after_spaces.empty() || after_spaces.front() < '0' || after_spaces.front() > '9';
    for (int weekday_form = 1; weekday_form <= 3; ++weekday_form) {
        const int width = ByteWidth(WeekdayText(code, weekday_form));
        KOYOMI_REQUIRE(width == 2 * weekday_form || (width == 0 && !reads_zero));
    }
    KOYOMI_REQUIRE(ByteWidth(GradeText(code, 1)) == 5);
    KOYOMI_REQUIRE(ByteWidth(GradeText(code, 8)) == 3);
    KOYOMI_REQUIRE(ByteWidth(GradeText(code, 9)) == 18);
    KOYOMI_REQUIRE(ByteWidth(RaceKindText(code, 4)) == 8);
    KOYOMI_REQUIRE(ByteWidth(RaceKindText(code, 6)) == 12);
    KOYOMI_REQUIRE(ByteWidth(RaceKindText(code, 8)) == 16);
    KOYOMI_REQUIRE(ByteWidth(RaceKindText(code, 9)) == 25);
    KOYOMI_REQUIRE(ByteWidth(RaceSymbolText(code)) == 24);
    for (const std::string& text :
         {VenueText(code, form), WeekdayText(code, form), GradeText(code, form),
          RaceKindText(code, form), RaceSymbolText(code), WeightKindText(code), TrackText(code)}) {
        KOYOMI_REQUIRE(IsValidSjis(text));
    }

    const std::string number = NumberField(code);
    KOYOMI_REQUIRE(number.size() == code.size());
    const std::string_view digits = TrimBlanks(number);
    KOYOMI_REQUIRE(digits.find_first_not_of("0123456789") == std::string_view::npos &&
                   !digits.starts_with('0'));
}

void CheckResultText(std::string_view operation, int code) {
    const std::string text = JVResultText(operation, code);
    const std::string code_text = "(" + std::to_string(code) + ")";
    KOYOMI_REQUIRE(text.ends_with(code_text));
    KOYOMI_REQUIRE(IsValidSjis(text));
    // A name no step knows, and JVClose with anything but success, give the code alone.
    const bool known = operation.starts_with("JVSet") || operation == "JVInit" ||
                       operation == "JVOpen" || operation == "JVRTOpen" ||
                       operation == "JVStatus" || operation == "JVRead" || operation == "JVClose" ||
                       operation == "JVFileDelete";
    if (!known || (operation == "JVClose" && code != 0)) {
        KOYOMI_REQUIRE(text == code_text);
    }
}

void CheckTextLayer(std::string_view bytes, int position, int length) {
    KOYOMI_REQUIRE(IsValidSjis(Utf8ToSjis(bytes)));
    const std::string utf8 = SjisToUtf8(bytes);
    KOYOMI_REQUIRE(IsValidUtf8(utf8));
    // Code page 932 has no U+FFFD of its own: it appears exactly when a byte was not valid.
    KOYOMI_REQUIRE(IsValidSjis(bytes) == (utf8.find("\xEF\xBF\xBD") == std::string::npos));
    const std::u16string wide = SjisToUtf16(bytes);
    KOYOMI_REQUIRE(Utf16ToUtf8(wide) == utf8);
    if (IsValidSjis(bytes)) {
        // A valid text goes through UTF-16 and back as JV-Link's records do, in the same
        // number of bytes and still valid (code page 932 has a few characters twice, so the
        // bytes themselves may change).
        const std::string back = Utf16ToSjis(wide);
        KOYOMI_REQUIRE(back.size() == bytes.size() && IsValidSjis(back));
        KOYOMI_REQUIRE(SjisToUtf16(back) == wide);
    }
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    KOYOMI_REQUIRE(IsValidSjis(Utf16ToSjis(units)));
    KOYOMI_REQUIRE(IsValidUtf8(Utf16ToUtf8(units)));

    const std::string_view field = Field(bytes, position, length);
    if (position >= 1 && length > 0 && static_cast<size_t>(position) <= bytes.size()) {
        KOYOMI_REQUIRE(
            field == bytes.substr(static_cast<size_t>(position) - 1, static_cast<size_t>(length)));
    } else {
        KOYOMI_REQUIRE(field.empty());
    }

    // Exactly the blanks and control bytes at both ends go.
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    const std::string_view trimmed = TrimBlanks(bytes);
    const size_t head = bytes.empty() ? 0 : static_cast<size_t>(trimmed.data() - bytes.data());
    KOYOMI_REQUIRE(
        trimmed.empty() ||
        (head + trimmed.size() <= bytes.size() && bytes.substr(head, trimmed.size()) == trimmed &&
         std::all_of(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(head), blank) &&
         std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(head + trimmed.size()),
                     bytes.end(), blank) &&
         !blank(trimmed.front()) && !blank(trimmed.back())));
    KOYOMI_REQUIRE(!trimmed.empty() || std::all_of(bytes.begin(), bytes.end(), blank));

    const std::string stripped = StripFullWidthSpaces(bytes);
    KOYOMI_REQUIRE(stripped.size() <= bytes.size() && (bytes.size() - stripped.size()) % 2 == 0);
    KOYOMI_REQUIRE(StripFullWidthSpaces(stripped) == stripped);

    const std::string_view r = bytes.substr(0, bytes.size() / 3);
    const std::string written = OverwriteAt(bytes, r, position);
    if (position >= 1 && static_cast<size_t>(position) <= bytes.size()) {
        const size_t at = static_cast<size_t>(position) - 1;
        KOYOMI_REQUIRE(written.substr(0, at) == bytes.substr(0, at));
        KOYOMI_REQUIRE(written.substr(at, r.size()) == r);
        KOYOMI_REQUIRE(written.size() == std::max(bytes.size(), at + r.size()));
        KOYOMI_REQUIRE(written.substr(at + r.size()) ==
                       bytes.substr(std::min(bytes.size(), at + r.size())));
    } else if (position < 1) {
        KOYOMI_REQUIRE(written == std::string(r) + std::string(bytes));
    } else {
        KOYOMI_REQUIRE(written == std::string(bytes) + std::string(r));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int code = input.ConsumeIntegral<int>();
    const int form = input.ConsumeIntegralInRange<int>(-2, 12);
    const int position = input.ConsumeIntegralInRange<int>(-4, 400);
    const int length = input.ConsumeIntegralInRange<int>(-4, 400);
    const std::string operation = input.ConsumeRandomLengthString(24);
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    CheckResultText(operation, code);
    for (const char* name : {"JVInit", "JVSetUIProperties", "JVSetSaveFlag", "JVOpen", "JVRTOpen",
                             "JVStatus", "JVRead", "JVClose", "JVFileDelete"}) {
        CheckResultText(name, code);
    }
    CheckTables(bytes.substr(0, 8), form);
    CheckTables(bytes, form);
    CheckTextLayer(bytes, position, length);
    return 0;
}
