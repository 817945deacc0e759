#include "support/msg_dlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/sjis_text.h"

namespace koyomi {
namespace {

// Records beeps and boxes in the order they happen and closes each box with a chosen result.
class FakePresenter final : public MessagePresenter {
  public:
    std::vector<std::string> calls;
    std::vector<MessageBoxRequest> boxes;
    TModalResult answer = TModalResult::mrOk;

    void Beep() override { calls.push_back("beep"); }
    TModalResult ShowModal(const MessageBoxRequest& request) override {
        calls.push_back("box");
        boxes.push_back(request);
        return answer;
    }
};

TEST(MsgDlg, StartsWithTheStoredDefaults) {
    const TMsgDlg dialog;
    EXPECT_FALSE(dialog.Sound);
    EXPECT_EQ(dialog.MsgLeft, -1);
    EXPECT_EQ(dialog.MsgTop, -1);
    EXPECT_EQ(dialog.HelpContext, 0);
    EXPECT_EQ(dialog.DisplayMsg, "");
    EXPECT_EQ(dialog.MsgDlgType, TMsgDlgType::mtInformation);
    EXPECT_EQ(dialog.MsgPosition, TMsgPosition::poScreenCenter);
    EXPECT_EQ(dialog.VisibleButtons, TMsgDlgButtons{TMsgDlgBtn::mbOK});
    EXPECT_FALSE(dialog.OnButtonClick);
    EXPECT_EQ(static_cast<int>(TMsgPosition::poDesigned), 0);
    EXPECT_EQ(static_cast<int>(TMsgPosition::poScreenCenter), 1);
}

TEST(MsgDlg, DefaultBoxIsCentredInformationWithOkAndNoBeep) {
    FakePresenter presenter;
    TMsgDlg dialog;
    dialog.DisplayMsg = Utf8ToSjis("データ作成が完了しました。");
    EXPECT_EQ(dialog.Execute(presenter), TModalResult::mrOk);

    EXPECT_EQ(presenter.calls, std::vector<std::string>{"box"});
    const MessageBoxRequest expected{
        dialog.DisplayMsg, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, std::nullopt, 0};
    EXPECT_EQ(presenter.boxes.at(0), expected);
}

TEST(MsgDlg, HonoursEveryProperty) {
    FakePresenter presenter;
    presenter.answer = TModalResult::mrNo;
    TMsgDlg dialog;
    dialog.Sound = true;
    dialog.MsgLeft = 40;
    dialog.MsgTop = 70;
    dialog.HelpContext = 12;
    dialog.DisplayMsg = "x";
    dialog.MsgDlgType = TMsgDlgType::mtWarning;
    dialog.MsgPosition = TMsgPosition::poDesigned;
    dialog.VisibleButtons = {TMsgDlgBtn::mbHelp, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbYes};
    std::vector<TModalResult> clicks;
    dialog.OnButtonClick = [&clicks, &dialog](TMsgDlg& sender, TModalResult result) {
        EXPECT_EQ(&sender, &dialog);
        clicks.push_back(result);
    };

    EXPECT_EQ(dialog.Execute(presenter), TModalResult::mrNo);
    EXPECT_EQ(presenter.calls, (std::vector<std::string>{"beep", "box"}));
    const MessageBoxRequest& box = presenter.boxes.at(0);
    EXPECT_EQ(box.kind, TMsgDlgType::mtWarning);
    EXPECT_EQ(box.buttons,
              (std::vector<TMsgDlgBtn>{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbHelp}));
    EXPECT_EQ(box.position, (ScreenPoint{40, 70}));
    EXPECT_EQ(box.helpContext, 12);
    EXPECT_EQ(clicks, std::vector<TModalResult>{TModalResult::mrNo});

    // Left and top count only for a designed position.
    dialog.MsgPosition = TMsgPosition::poScreenCenter;
    dialog.Execute(presenter);
    EXPECT_EQ(presenter.boxes.at(1).position, std::nullopt);
}

TEST(MsgDlg, BoxWithoutButtonsStillGetsOk) {
    FakePresenter presenter;
    TMsgDlg dialog;
    dialog.VisibleButtons = {};
    dialog.Execute(presenter);
    EXPECT_EQ(presenter.boxes.at(0).buttons, std::vector<TMsgDlgBtn>{TMsgDlgBtn::mbOK});
}

TEST(MessageConvention, InformationBoxBeepsFirstWhenAsked) {
    FakePresenter presenter;
    const std::string text = Utf8ToSjis("JVLinkのインポートを開始します。");
    ShowInformation(presenter, text, true);
    ShowInformation(presenter, text, false);

    EXPECT_EQ(presenter.calls, (std::vector<std::string>{"beep", "box", "box"}));
    const MessageBoxRequest expected{
        text, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, std::nullopt, 0};
    EXPECT_EQ(presenter.boxes.at(0), expected);
    EXPECT_EQ(presenter.boxes.at(1), expected);
}

TEST(MessageConvention, PlainBoxHasNoIconAndNoBeep) {
    FakePresenter presenter;
    const std::string text = Utf8ToSjis("ホームページの表示に失敗しました。");
    ShowPlain(presenter, text);
    EXPECT_EQ(presenter.calls, std::vector<std::string>{"box"});
    const MessageBoxRequest expected{
        text, TMsgDlgType::mtCustom, {TMsgDlgBtn::mbOK}, std::nullopt, 0};
    EXPECT_EQ(presenter.boxes.at(0), expected);
}

}  // namespace
}  // namespace koyomi
