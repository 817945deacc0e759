#include "acquisition/win32/control_bitness.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace koyomi::testing
