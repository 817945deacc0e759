#include "app/win32/message_loop.h"

namespace koyomi::win32 {
namespace {

// Esc closes an open drop-down list; only with none open is it the window's "中止".
bool ClosesDropDown(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE) {
        return false;
    }
    for (HWND focus = GetFocus(); focus != nullptr; focus = GetParent(focus)) {
        wchar_t name[16] = {};
        GetClassNameW(focus, name, 16);
        if (lstrcmpiW(name, L"ComboBox") == 0) {
            return SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0) != 0;
        }
    }
    return false;
}

}  // namespace

bool TranslateWindowMessage(HWND window, HACCEL keys, MSG& message) {
    if (!ClosesDropDown(message) && TranslateAcceleratorW(window, keys, &message) != 0) {
        return true;
    }
    return IsDialogMessageW(window, &message) != 0;
}

int RunMessageLoop(HWND window, HACCEL keys) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!TranslateWindowMessage(window, keys, message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

}  // namespace koyomi::win32
