#include "support/message_dialog.h"

#include <algorithm>

namespace koyomi {

namespace {

constexpr MessageButton kAllButtons[] = {
    MessageButton::Yes,     MessageButton::No,       MessageButton::Ok,     MessageButton::Cancel,
    MessageButton::Abort,   MessageButton::Retry,    MessageButton::Ignore, MessageButton::All,
    MessageButton::NoToAll, MessageButton::YesToAll, MessageButton::Help,
};

MessageBoxRequest OkBox(std::string_view text, MessageKind kind) {
    return MessageBoxRequest{std::string(text), kind, {MessageButton::Ok}};
}

}  // namespace

DialogResult DialogResultOf(MessageButton button) {
    switch (button) {
        case MessageButton::Yes:
            return DialogResult::Yes;
        case MessageButton::No:
            return DialogResult::No;
        case MessageButton::Ok:
            return DialogResult::Ok;
        case MessageButton::Cancel:
            return DialogResult::Cancel;
        case MessageButton::Abort:
            return DialogResult::Abort;
        case MessageButton::Retry:
            return DialogResult::Retry;
        case MessageButton::Ignore:
            return DialogResult::Ignore;
        case MessageButton::All:
            return DialogResult::All;
        case MessageButton::NoToAll:
            return DialogResult::NoToAll;
        case MessageButton::YesToAll:
            return DialogResult::YesToAll;
        case MessageButton::Help:
            break;
    }
    return DialogResult::None;
}

std::vector<MessageButton> MessageButtons::InOrder() const {
    std::vector<MessageButton> buttons;
    for (MessageButton button : kAllButtons) {
        if (Contains(button)) {
            buttons.push_back(button);
        }
    }
    return buttons;
}

DialogResult MessageDialog::Execute(MessagePresenter& presenter) {
    MessageBoxRequest request;
    request.text = text;
    request.kind = kind;
    request.buttons =
        buttons.Empty() ? std::vector<MessageButton>{MessageButton::Ok} : buttons.InOrder();
    if (default_button && std::find(request.buttons.begin(), request.buttons.end(),
                                    *default_button) != request.buttons.end()) {
        request.default_button = default_button;
    }
    if (beep) {
        presenter.Beep();
    }
    return presenter.ShowModal(request);
}

void ShowInformation(MessagePresenter& presenter, std::string_view text, bool beep) {
    if (beep) {
        presenter.Beep();
    }
    presenter.ShowModal(OkBox(text, MessageKind::Information));
}

void ShowPlain(MessagePresenter& presenter, std::string_view text) {
    presenter.ShowModal(OkBox(text, MessageKind::Custom));
}

}  // namespace koyomi
