#include "support/msg_dlg.h"

namespace koyomi {

namespace {

constexpr TMsgDlgBtn kAllButtons[] = {
    TMsgDlgBtn::mbYes,     TMsgDlgBtn::mbNo,       TMsgDlgBtn::mbOK,     TMsgDlgBtn::mbCancel,
    TMsgDlgBtn::mbAbort,   TMsgDlgBtn::mbRetry,    TMsgDlgBtn::mbIgnore, TMsgDlgBtn::mbAll,
    TMsgDlgBtn::mbNoToAll, TMsgDlgBtn::mbYesToAll, TMsgDlgBtn::mbHelp,
};

MessageBoxRequest OkBox(std::string_view text, TMsgDlgType kind) {
    return MessageBoxRequest{std::string(text), kind, {TMsgDlgBtn::mbOK}, std::nullopt, 0};
}

}  // namespace

TModalResult ModalResultOf(TMsgDlgBtn button) {
    switch (button) {
        case TMsgDlgBtn::mbYes:
            return TModalResult::mrYes;
        case TMsgDlgBtn::mbNo:
            return TModalResult::mrNo;
        case TMsgDlgBtn::mbOK:
            return TModalResult::mrOk;
        case TMsgDlgBtn::mbCancel:
            return TModalResult::mrCancel;
        case TMsgDlgBtn::mbAbort:
            return TModalResult::mrAbort;
        case TMsgDlgBtn::mbRetry:
            return TModalResult::mrRetry;
        case TMsgDlgBtn::mbIgnore:
            return TModalResult::mrIgnore;
        case TMsgDlgBtn::mbAll:
            return TModalResult::mrAll;
        case TMsgDlgBtn::mbNoToAll:
            return TModalResult::mrNoToAll;
        case TMsgDlgBtn::mbYesToAll:
            return TModalResult::mrYesToAll;
        case TMsgDlgBtn::mbHelp:
            break;
    }
    return TModalResult::mrNone;
}

std::vector<TMsgDlgBtn> TMsgDlgButtons::InOrder() const {
    std::vector<TMsgDlgBtn> buttons;
    for (TMsgDlgBtn button : kAllButtons) {
        if (Contains(button)) {
            buttons.push_back(button);
        }
    }
    return buttons;
}

TModalResult TMsgDlg::Execute(MessagePresenter& presenter) {
    MessageBoxRequest request;
    request.text = DisplayMsg;
    request.kind = MsgDlgType;
    request.buttons = VisibleButtons.Empty() ? std::vector<TMsgDlgBtn>{TMsgDlgBtn::mbOK}
                                             : VisibleButtons.InOrder();
    if (MsgPosition == TMsgPosition::poDesigned) {
        request.position = ScreenPoint{MsgLeft, MsgTop};
    }
    request.helpContext = HelpContext;

    if (Sound) {
        presenter.Beep();
    }
    const TModalResult result = presenter.ShowModal(request);
    if (OnButtonClick) {
        OnButtonClick(*this, result);
    }
    return result;
}

void ShowInformation(MessagePresenter& presenter, std::string_view text, bool beep) {
    if (beep) {
        presenter.Beep();
    }
    presenter.ShowModal(OkBox(text, TMsgDlgType::mtInformation));
}

void ShowPlain(MessagePresenter& presenter, std::string_view text) {
    presenter.ShowModal(OkBox(text, TMsgDlgType::mtCustom));
}

}  // namespace koyomi
