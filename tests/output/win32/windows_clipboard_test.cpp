#include "output/win32/windows_clipboard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/sjis_text.h"

namespace koyomi {
namespace {

// The clipboard's content in one format, as the bytes it holds.
std::string ClipboardBytes(UINT format) {
    HANDLE data = GetClipboardData(format);
    if (data == nullptr) {
        return {};
    }
    const void* bytes = GlobalLock(data);
    std::string copy(static_cast<const char*>(bytes), GlobalSize(data));
    GlobalUnlock(data);
    return copy;
}

TEST(WindowsClipboard, HoldsTheBytesMarkedJapaneseAndTheSameTextInUnicode) {
    HWND owner =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    const std::string text = Utf8ToSjis("2026年 スケジュール【ALL】\r\n1\t01月05日(月)\t中山\r\n");
    ASSERT_TRUE(PutTextOnClipboard(owner, text));

    ASSERT_TRUE(OpenClipboard(owner));
    const std::string bytes = ClipboardBytes(CF_TEXT);
    const std::string locale = ClipboardBytes(CF_LOCALE);
    const std::string unicode = ClipboardBytes(CF_UNICODETEXT);
    CloseClipboard();
    DestroyWindow(owner);

    EXPECT_EQ(bytes.substr(0, bytes.find('\0')), text);
    LCID lcid = 0;
    ASSERT_GE(locale.size(), sizeof lcid);
    std::memcpy(&lcid, locale.data(), sizeof lcid);
    EXPECT_EQ(PRIMARYLANGID(LANGIDFROMLCID(lcid)), LANG_JAPANESE);
    const std::u16string expected = u"2026年 スケジュール【ALL】\r\n1\t01月05日(月)\t中山\r\n";
    ASSERT_GE(unicode.size(), (expected.size() + 1) * 2);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(unicode.data()), expected.size()),
              expected);
    EXPECT_EQ(unicode[expected.size() * 2], '\0');
}

}  // namespace
}  // namespace koyomi
