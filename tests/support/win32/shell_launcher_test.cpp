#include "support/win32/shell_launcher.h"

#include <gtest/gtest.h>

namespace koyomi {
namespace {

TEST(ShellLauncher, AssociationCommandsGetTheAddressOnceAndQuoted) {
    const std::wstring url = L"file:///C:/Program%20Files/koyomivw/koyomivw-home/index.html";
    EXPECT_EQ(AssociationCommandLine(LR"("C:\Program Files\Browser\browser.exe" %1)", url),
              LR"("C:\Program Files\Browser\browser.exe" ")" + url + L"\"");
    EXPECT_EQ(AssociationCommandLine(LR"("C:\b.exe" -osint -url "%1")", url),
              LR"("C:\b.exe" -osint -url ")" + url + L"\"");
    EXPECT_EQ(AssociationCommandLine(LR"(C:\b.exe /n "%L" 100%%)", url),
              LR"(C:\b.exe /n ")" + url + L"\" 100%");
    EXPECT_EQ(AssociationCommandLine(LR"("C:\b.exe")", url), LR"("C:\b.exe" ")" + url + L"\"");
}

}  // namespace
}  // namespace koyomi
