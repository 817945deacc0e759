#include "app/win32/command_forwarding.h"

#include <commctrl.h>

namespace koyomi::win32 {
namespace {

constexpr UINT_PTR kForwardingId = 1;

LRESULT CALLBACK Forward(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                         DWORD_PTR target) {
    const bool from_child =
        lparam != 0 &&
        (message == WM_COMMAND || message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLOREDIT);
    if (from_child) {
        return SendMessageW(reinterpret_cast<HWND>(target), message, wparam, lparam);
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, Forward, kForwardingId);
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace

void ForwardCommands(HWND container, HWND target) {
    SetWindowSubclass(container, Forward, kForwardingId, reinterpret_cast<DWORD_PTR>(target));
}

}  // namespace koyomi::win32
