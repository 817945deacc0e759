// Message boxes on Windows: a task dialog with the kind's icon and buttons of its own, so that
// they carry the same Japanese captions as the Linux boxes whatever the system's language
// (MessageBoxW would caption them in it).
#pragma once

#include <windows.h>

#include <string>

#include "support/message_dialog.h"

namespace koyomi {

class MessageBoxPresenter final : public MessagePresenter {
  public:
    // Every box is captioned `caption`.
    explicit MessageBoxPresenter(std::wstring caption) : caption_(std::move(caption)) {}

    // The window the boxes belong to and disable while open; none before the main window.
    void SetOwner(HWND owner) { owner_ = owner; }

    void Beep() override;
    DialogResult ShowModal(const MessageBoxRequest& request) override;

  private:
    std::wstring caption_;
    HWND owner_ = nullptr;
};

// The caption of a box's button, as the Linux boxes show it ("はい", "いいえ", "OK", ...).
const wchar_t* ButtonCaption(MessageButton button);

}  // namespace koyomi
