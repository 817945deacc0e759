#include "support/win32/message_box_presenter.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace koyomi {
namespace {

constexpr wchar_t kCaption[] = L"koyomivw presenter test";

struct SeenBox {
    std::vector<std::wstring> captions;  // the buttons, in the box's order
    std::wstring default_caption;
};

BOOL CALLBACK CollectButton(HWND child, LPARAM seen) {
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    if (lstrcmpiW(name, L"Button") == 0) {
        wchar_t text[64] = {};
        GetWindowTextW(child, text, 64);
        reinterpret_cast<SeenBox*>(seen)->captions.emplace_back(text);
    }
    return TRUE;
}

// Waits for the box and its `buttons` buttons (a box is found before all its buttons exist on a
// busy machine), notes them and the one Enter would press, then presses that one.
SeenBox PressDefaultButton(size_t buttons) {
    for (int i = 0; i < 2000; ++i) {
        SeenBox seen;
        if (HWND box = FindWindowW(L"#32770", kCaption)) {
            EnumChildWindows(box, &CollectButton, reinterpret_cast<LPARAM>(&seen));
            const LRESULT defined = SendMessageW(box, DM_GETDEFID, 0, 0);
            if (seen.captions.size() >= buttons && HIWORD(defined) == DC_HASDEFID) {
                HWND button = GetDlgItem(box, LOWORD(defined));
                wchar_t text[64] = {};
                GetWindowTextW(button, text, 64);
                seen.default_caption = text;
                PostMessageW(button, BM_CLICK, 0, 0);
                return seen;
            }
        }
        Sleep(10);
    }
    return {};
}

TEST(MessageBoxPresenter, EnterPressesTheRequestedButtonWithTheLinuxCaptions) {
    MessageBoxPresenter presenter(kCaption);
    MessageBoxRequest question{
        "試しますか?", MessageKind::Confirmation, {MessageButton::Yes, MessageButton::No}};
    question.default_button = MessageButton::No;
    SeenBox seen;
    std::thread answer([&seen] { seen = PressDefaultButton(2); });
    const DialogResult result = presenter.ShowModal(question);
    answer.join();
    EXPECT_EQ(seen.captions, (std::vector<std::wstring>{L"はい", L"いいえ"}));
    EXPECT_EQ(seen.default_caption, L"いいえ");
    EXPECT_EQ(result, DialogResult::No);

    // Without a default, Enter presses the first button.
    question.default_button.reset();
    question.buttons = {MessageButton::Ok, MessageButton::Cancel};
    std::thread first([&seen] { seen = PressDefaultButton(2); });
    EXPECT_EQ(presenter.ShowModal(question), DialogResult::Ok);
    first.join();
    EXPECT_EQ(seen.captions, (std::vector<std::wstring>{L"OK", L"キャンセル"}));
}

}  // namespace
}  // namespace koyomi
