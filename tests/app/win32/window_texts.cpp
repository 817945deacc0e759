// Prints, in UTF-8, the texts of every visible top-level window whose title is the first
// argument, and of each window inside it, a line each: the end-to-end scripts read what a
// box of another process says, which xdotool cannot. Exits 1 when there is no such window.
#include <windows.h>

#include <string>

namespace {

struct Search {
    std::wstring title;
    std::string found;
    bool any = false;
};

std::wstring TextOf(HWND window) {
    // WM_GETTEXT crosses processes for the standard controls a box is made of.
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

void AddLine(Search& search, const std::wstring& text) {
    if (text.empty()) {
        return;
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
    search.found += utf8 + "\n";
}

BOOL CALLBACK AddChild(HWND child, LPARAM context) {
    AddLine(*reinterpret_cast<Search*>(context), TextOf(child));
    return TRUE;
}

BOOL CALLBACK AddTopLevel(HWND window, LPARAM context) {
    Search& search = *reinterpret_cast<Search*>(context);
    if (IsWindowVisible(window) && TextOf(window) == search.title) {
        search.any = true;
        EnumChildWindows(window, AddChild, context);
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        return 2;
    }
    Search search{argv[1], {}, false};
    EnumWindows(AddTopLevel, reinterpret_cast<LPARAM>(&search));
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), search.found.data(),
              static_cast<DWORD>(search.found.size()), &written, nullptr);
    return search.any ? 0 : 1;
}
