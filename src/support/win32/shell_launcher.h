// The desktop of Windows behind DesktopLauncher: the shell's handler for an address first,
// then the command the ".htm" association names.
#pragma once

#include <string>
#include <string_view>

#include "support/open_url.h"

namespace koyomi {

class ShellLauncher final : public DesktopLauncher {
  public:
    // ShellExecuteW "open" on the address.
    Status OpenWithUriHandler(const std::string& uri) override;
    // The "open" command of ".htm" (AssocQueryStringW), started with the address.
    Status OpenWithHtmlHandler(const std::string& uri) override;
};

// The command line an association's command gives for `target`: its "%1" or "%L" replaced by
// the target, quoted unless the command quotes it already; without either, the target is
// appended in quotes. "%%" stands for "%".
std::wstring AssociationCommandLine(std::wstring_view command, std::wstring_view target);

}  // namespace koyomi
