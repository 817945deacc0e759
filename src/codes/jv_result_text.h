// The message shown for a JV-Link result code: text of the operation and code, always ending
// in "(" code ")". Code page 932.
#pragma once

#include <string>
#include <string_view>

namespace koyomi {

std::string JVResultText(std::string_view operation, int code);

}  // namespace koyomi
