// A small INI reader for the stand-in control's own files (settings.ini, faults.ini).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace koyomi {

// Section -> key -> value. Section and key names are kept in ASCII lower case, so lookups
// ignore case as Windows profile files do.
using IniSections =
    std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>>;

// "[name]" starts a section, "key=value" sets a key of the current one; blanks around names and
// values are dropped; lines starting with ';' or '#', lines without '=' and keys before the
// first section are ignored. A key given twice keeps its last value. CR LF or LF line ends.
IniSections ParseIniText(std::string_view text);

// The value of a key, or nothing when the section or key is missing.
std::optional<std::string> IniValue(const IniSections& sections, std::string_view section,
                                    std::string_view key);

// The value of a key as a decimal integer (optional sign), or nothing when it is missing, not
// a whole number, or out of range.
std::optional<int> IniInteger(const IniSections& sections, std::string_view section,
                              std::string_view key);

}  // namespace koyomi
