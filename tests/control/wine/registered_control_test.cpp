// Which JV-Link a prefix has, from system.reg fragments written as Wine writes them: in a
// 64-bit prefix both bitnesses share the ProgID and differ only in where the class is.
#include "control/wine/registered_control.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi::testing {
namespace {

constexpr std::string_view kHeader =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to REGISTRY\\\\Machine\n\n";
constexpr std::string_view kProgId = R"(
[Software\\Classes\\JVDTLab.JVLink\\CLSID] 1796822109
#time=1dd87df50bef8de
@="{2AB1774D-0C41-11D7-916F-0003479BEB3F}"
)";
constexpr std::string_view kClass64 = R"(
[Software\\Classes\\CLSID\\{2AB1774D-0C41-11D7-916F-0003479BEB3F}\\InprocServer32] 1796822109
#time=1dd87df50bef622
@="Z:\\work\\jvlink-test-control64.dll"
"ThreadingModel"="Apartment"
)";
constexpr std::string_view kClass32On64 = R"(
[Software\\Classes\\Wow6432Node\\CLSID\\{2AB1774D-0C41-11D7-916F-0003479BEB3F}\\InprocServer32] 1796822109
@="Z:\\work\\jvlink-test-control.dll"
)";

ControlRegistration Parse(std::string_view arch, const std::string& keys, bool wow64 = false) {
    const Result<ControlRegistration> parsed = ParseControlRegistration(
        std::string(kHeader) + std::string(arch) + keys, kJVLinkProgId, wow64);
    EXPECT_TRUE(parsed) << parsed.Reason();
    return parsed ? *parsed : ControlRegistration{};
}

TEST(RegisteredControlTest, TheViewThatHoldsTheClassChoosesTheHost) {
    const std::string progid(kProgId);
    struct Case {
        std::string keys;
        ControlRegistration expected;
        std::string_view host;
    };
    for (const Case& c : {
             Case{progid + std::string(kClass32On64), {true, false}, "jvlink-host.exe"},
             Case{progid + std::string(kClass64), {false, true}, "jvlink-host64.exe"},
             Case{progid + std::string(kClass64) + std::string(kClass32On64),
                  {true, true},
                  "jvlink-host.exe"},
             // A ProgID under Wow6432Node names the 32-bit view's class as well.
             Case{"[Software\\\\Classes\\\\Wow6432Node\\\\jvdtlab.jvlink\\\\clsid]\n"
                  "@=\"{2ab1774d-0c41-11d7-916f-0003479beb3f}\"\n" +
                      std::string(kClass32On64),
                  {true, false},
                  "jvlink-host.exe"},
         }) {
        SCOPED_TRACE(c.keys);
        const ControlRegistration registration = Parse("#arch=win64\n", c.keys);
        EXPECT_EQ(registration, c.expected);
        EXPECT_EQ(HostProgramFor(registration), c.host);
    }
    // In a 32-bit prefix the classes are the 32-bit view; an old file without #arch is
    // decided by the prefix's folders.
    EXPECT_EQ(Parse("#arch=win32\n", progid + std::string(kClass64)),
              (ControlRegistration{true, false}));
    EXPECT_EQ(Parse("", progid + std::string(kClass64), true), (ControlRegistration{false, true}));
    EXPECT_EQ(Parse("", progid + std::string(kClass64), false), (ControlRegistration{true, false}));
}

TEST(RegisteredControlTest, AProgIdWithoutItsServerIsNotRegistered) {
    const std::string progid(kProgId);
    const std::string other_class = R"(
[Software\\Classes\\CLSID\\{00000000-0000-0000-0000-000000000001}\\InprocServer32] 1
@="other.dll"
)";
    const std::string class_without_server = R"(
[Software\\Classes\\CLSID\\{2AB1774D-0C41-11D7-916F-0003479BEB3F}] 1
@="JV-Link test control"
[Software\\Classes\\CLSID\\{2AB1774D-0C41-11D7-916F-0003479BEB3F}\\ProgID] 1
@="JVDTLab.JVLink"
)";
    for (const std::string& keys :
         {progid, progid + other_class, progid + class_without_server, std::string(kClass64),
          // The ProgID's value on a key of another name, an escaped bracket in between.
          R"([Software\\Classes\\JVDTLab.JVLink\[x\]\\CLSID] 1
@="{2AB1774D-0C41-11D7-916F-0003479BEB3F}"
)" + std::string(kClass64)}) {
        SCOPED_TRACE(keys);
        EXPECT_EQ(Parse("#arch=win64\n", keys), ControlRegistration{});
    }
}

TEST(RegisteredControlTest, AnUnreadableRegistryGivesTheHostOfOldAndSaysWhy) {
    TempFolder prefix;
    const std::filesystem::path file = prefix / "system.reg";
    HostChoice choice = ChooseHost(prefix.path());
    EXPECT_EQ(choice.program, "jvlink-host.exe");
    EXPECT_EQ(choice.why,
              "レジストリを読めません（" + file.string() + ": No such file or directory）");

    WriteBytes(file, std::string("\x89PNG\r\n", 6) + std::string(kProgId));
    const Result<ControlRegistration> read = ReadControlRegistration(prefix.path(), kJVLinkProgId);
    ASSERT_FALSE(read);
    EXPECT_EQ(Describe(read.Error()),
              file.string() + ": not a Wine registry file (no \"WINE REGISTRY Version 2\")");

    WriteBytes(file, std::string(kHeader) + "#arch=win64\n" + std::string(kProgId) +
                         std::string(kClass64));
    choice = ChooseHost(prefix.path());
    EXPECT_EQ(choice.program, "jvlink-host64.exe");
    EXPECT_EQ(choice.why, "64 ビット版の JV-Link が登録されています");
}

}  // namespace
}  // namespace koyomi::testing
