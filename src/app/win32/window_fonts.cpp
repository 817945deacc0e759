#include "app/win32/window_fonts.h"

#include <initializer_list>

#include "app/win32/dpi.h"

namespace koyomi::win32 {

WindowFonts::~WindowFonts() {
    Free();
}

void WindowFonts::Make(int dpi) {
    Free();
    controls = CreateGothicFont(12, dpi, false);
    year = CreateGothicFont(12, dpi, true);
    title = CreateGothicFont(16, dpi, true);
    ticker = CreateGothicFont(15, dpi, true);
    list = CreateGothicFont(11, dpi, false);
    list_bold = CreateGothicFont(11, dpi, true);
    hint = CreateGothicFont(15, dpi, false);
}

void WindowFonts::Free() {
    for (HFONT* font : {&controls, &year, &title, &ticker, &list, &list_bold, &hint}) {
        if (*font != nullptr) {
            DeleteObject(*font);
            *font = nullptr;
        }
    }
}

}  // namespace koyomi::win32
