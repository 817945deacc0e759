// Whether JV-Link, not registered for programs of this build's bitness, is registered for the
// other one: a 32-bit JV-Link cannot be created in a 64-bit program, nor the other way round,
// and the user then needs the other build of koyomivw rather than another JV-Link.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace koyomi {

// The default value of a key below HKEY_CLASSES_ROOT, as programs of the other bitness see it;
// none when the key or its value is missing.
using OtherViewReader = std::function<std::optional<std::wstring>(const std::wstring& key)>;

// The registry as programs of the other bitness see it (KEY_WOW64_32KEY from a 64-bit build,
// KEY_WOW64_64KEY from a 32-bit one).
std::optional<std::wstring> ReadOtherRegistryView(const std::wstring& key);

// The line the presence box adds when "JVDTLab.JVLink" names a class whose in-process server is
// registered in the other view: which build of koyomivw the user should take instead.
std::optional<std::string> OtherBitnessAdvice(const OtherViewReader& read);

}  // namespace koyomi
