#include "app/win32/dpi.h"

#include "app/win32/window_layout.h"

namespace koyomi::win32 {

int Scale(int pixels, int dpi) {
    return ScaleToDpi(pixels, dpi);
}

int WindowDpi(HWND window) {
    // Looked up at run time: the call is missing on the Windows 7 and 8 many JV-Link users run.
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    static const auto get_dpi_for_window =
        reinterpret_cast<GetDpiForWindowCall>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (get_dpi_for_window != nullptr && window != nullptr) {
        const UINT dpi = get_dpi_for_window(window);
        if (dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

HFONT CreateGothicFont(int pixels, int dpi, bool bold, bool underline) {
    LOGFONTW font{};
    font.lfHeight = -Scale(pixels, dpi);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpynW(font.lfFaceName, L"ＭＳ Ｐゴシック", LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

}  // namespace koyomi::win32
