#include "acquisition/win32/control_bitness.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <optional>
#include <string>

namespace koyomi::testing {
namespace {

constexpr wchar_t kProgIdKey[] = L"JVDTLab.JVLink\\CLSID";
constexpr wchar_t kServerKey[] = L"CLSID\\{6B0C3F2E-51A4-4D8A-9E37-0A1B2C3D4E5F}\\InprocServer32";

OtherViewReader Registry(std::map<std::wstring, std::wstring> keys) {
    return [keys = std::move(keys)](const std::wstring& key) -> std::optional<std::wstring> {
        const auto found = keys.find(key);
        if (found == keys.end()) {
            return std::nullopt;
        }
        return found->second;
    };
}

// Only a ProgID whose class has its in-process server in the other view names the other build;
// a ProgID alone, or a class without a server, is no JV-Link of the other bitness.
TEST(OtherBitnessAdviceTest, NamesTheOtherBuildOnlyForACompleteRegistration) {
    const std::wstring clsid = L"{6B0C3F2E-51A4-4D8A-9E37-0A1B2C3D4E5F}";
    const std::optional<std::string> advice = OtherBitnessAdvice(
        Registry({{kProgIdKey, clsid}, {kServerKey, L"C:\\Windows\\JVLink.dll"}}));
    ASSERT_TRUE(advice);
    EXPECT_EQ(*advice,
              sizeof(void*) == 8
                  ? "この JV-Link は 32 ビット版です。32 ビット版の koyomivw をお使いください。"
                  : "この JV-Link は 64 ビット版です。64 ビット版の koyomivw をお使いください。");
    EXPECT_FALSE(OtherBitnessAdvice(Registry({})));
    EXPECT_FALSE(OtherBitnessAdvice(Registry({{kProgIdKey, clsid}})));
    EXPECT_FALSE(OtherBitnessAdvice(Registry({{kProgIdKey, clsid}, {kServerKey, L""}})));
    EXPECT_FALSE(OtherBitnessAdvice(Registry({{kProgIdKey, L""}, {kServerKey, L"x.dll"}})));
}

// A 32-bit prefix has one view, which both flags name, so the reader is seen there reading a
// key's default value below the classes root and finding none for a missing key.
TEST(OtherBitnessAdviceTest, ReadsTheDefaultValueBelowTheClassesRoot) {
    const std::wstring class_key = L"koyomivw-test.Bitness";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (class_key + L"\\CLSID").c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring clsid = L"{6B0C3F2E-51A4-4D8A-9E37-0A1B2C3D4E5F}";
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid.c_str()),
                   static_cast<DWORD>((clsid.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    const std::optional<std::wstring> read = ReadOtherRegistryView(L"koyomivw-test.Bitness\\CLSID");
    const std::optional<std::wstring> missing =
        ReadOtherRegistryView(L"koyomivw-test.Bitness\\None");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, class_key.c_str());
    EXPECT_EQ(read, clsid);
    EXPECT_FALSE(missing);
}

}  // namespace
}  // namespace koyomi::testing
