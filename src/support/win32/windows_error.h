// Windows' own words for an error code, for the reasons the user reads.
#pragma once

#include <windows.h>

#include <string>

namespace koyomi {

// The system's message for `code` (GetLastError, HRESULT) in UTF-8 without the line end;
// "error <code>" when the system has none.
std::string WindowsErrorReason(DWORD code);

}  // namespace koyomi
