// The "LastTime" setting made from JVOpen's newest-data time stamp.
#pragma once

#include <string>
#include <string_view>

namespace koyomi {

// "yyyymmddhhnnss" (blanks around it ignored) -> "yyyy/mm/dd hh:nn:ss". An empty, blank or
// all-zero stamp, or one that is not 14 digits, gives an empty text: nothing to save.
std::string LastTimeText(std::u16string_view last_file_timestamp);

}  // namespace koyomi
