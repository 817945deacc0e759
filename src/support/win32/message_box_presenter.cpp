#include "support/win32/message_box_presenter.h"

#include <commctrl.h>

#include <string_view>
#include <vector>

#include "support/sjis_text.h"

namespace koyomi {
namespace {

// A button's identifier in the dialog: clear of IDOK, IDCANCEL and the other standard ones,
// which the dialog itself sends for Enter and Esc.
constexpr int kFirstButtonId = 1000;

std::wstring Wide(std::string_view utf8) {
    const std::u16string units = Utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

// Help closes nothing: the box stays open.
HRESULT CALLBACK KeepOpenOnHelp(HWND, UINT notification, WPARAM button, LPARAM, LONG_PTR help) {
    if (notification == TDN_BUTTON_CLICKED && static_cast<LONG_PTR>(button) == help) {
        return S_FALSE;
    }
    return S_OK;
}

}  // namespace

const wchar_t* ButtonCaption(MessageButton button) {
    switch (button) {
        case MessageButton::Yes:
            return L"はい";
        case MessageButton::No:
            return L"いいえ";
        case MessageButton::Ok:
            return L"OK";
        case MessageButton::Cancel:
            return L"キャンセル";
        case MessageButton::Abort:
            return L"中止";
        case MessageButton::Retry:
            return L"再試行";
        case MessageButton::Ignore:
            return L"無視";
        case MessageButton::All:
            return L"すべて";
        case MessageButton::NoToAll:
            return L"すべてにいいえ";
        case MessageButton::YesToAll:
            return L"すべてにはい";
        case MessageButton::Help:
            return L"ヘルプ";
    }
    return L"OK";
}

void MessageBoxPresenter::Beep() {
    MessageBeep(MB_OK);
}

DialogResult MessageBoxPresenter::ShowModal(const MessageBoxRequest& request) {
    const std::wstring text = Wide(request.text);
    std::vector<MessageButton> shown = request.buttons;
    if (shown.empty()) {
        shown.push_back(MessageButton::Ok);
    }
    std::vector<TASKDIALOG_BUTTON> buttons;
    int default_id = kFirstButtonId;
    LONG_PTR help_id = -1;
    for (size_t i = 0; i < shown.size(); ++i) {
        const int id = kFirstButtonId + static_cast<int>(i);
        buttons.push_back({id, ButtonCaption(shown[i])});
        if (request.default_button == shown[i]) {
            default_id = id;
        }
        if (shown[i] == MessageButton::Help) {
            help_id = id;
        }
    }

    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner_;
    config.hInstance = GetModuleHandleW(nullptr);
    // Esc and the close box end it without a button.
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = caption_.c_str();
    config.pszContent = text.c_str();
    config.cButtons = static_cast<UINT>(buttons.size());
    config.pButtons = buttons.data();
    config.nDefaultButton = default_id;
    config.pfCallback = &KeepOpenOnHelp;
    config.lpCallbackData = help_id;
    switch (request.kind) {
        case MessageKind::Warning:
            config.pszMainIcon = TD_WARNING_ICON;
            break;
        case MessageKind::Error:
            config.pszMainIcon = TD_ERROR_ICON;
            break;
        case MessageKind::Information:
            config.pszMainIcon = TD_INFORMATION_ICON;
            break;
        case MessageKind::Confirmation:
            // The task dialog has no question icon of its own; the system's is used.
            config.dwFlags |= TDF_USE_HICON_MAIN;
            config.hMainIcon = LoadIconW(nullptr, IDI_QUESTION);
            break;
        case MessageKind::Custom:
            break;
    }

    int pressed = 0;
    if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) {
        // No box could be made: as if it was closed without a button, which never agrees.
        return DialogResult::Cancel;
    }
    const int index = pressed - kFirstButtonId;
    if (index < 0 || index >= static_cast<int>(shown.size())) {
        return DialogResult::Cancel;
    }
    return DialogResultOf(shown[static_cast<size_t>(index)]);
}

}  // namespace koyomi
