#include "support/message_dialog.h"

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
    DialogResult answer = DialogResult::Ok;

    void Beep() override { calls.push_back("beep"); }
    DialogResult ShowModal(const MessageBoxRequest& request) override {
        calls.push_back("box");
        boxes.push_back(request);
        return answer;
    }
};

TEST(MessageDialog, StartsWithTheStoredDefaults) {
    const MessageDialog dialog;
    EXPECT_FALSE(dialog.beep);
    EXPECT_EQ(dialog.text, "");
    EXPECT_EQ(dialog.kind, MessageKind::Information);
    EXPECT_EQ(dialog.buttons, MessageButtons{MessageButton::Ok});
}

TEST(MessageDialog, DefaultBoxIsCentredInformationWithOkAndNoBeep) {
    FakePresenter presenter;
    MessageDialog dialog;
    dialog.text = "データ作成が完了しました。";
    EXPECT_EQ(dialog.Execute(presenter), DialogResult::Ok);

    EXPECT_EQ(presenter.calls, std::vector<std::string>{"box"});
    const MessageBoxRequest expected{dialog.text, MessageKind::Information, {MessageButton::Ok}};
    EXPECT_EQ(presenter.boxes.at(0), expected);
}

TEST(MessageDialog, HonoursEveryProperty) {
    FakePresenter presenter;
    presenter.answer = DialogResult::No;
    MessageDialog dialog;
    dialog.beep = true;
    dialog.text = "x";
    dialog.kind = MessageKind::Warning;
    dialog.buttons = {MessageButton::Help, MessageButton::No, MessageButton::Yes};

    EXPECT_EQ(dialog.Execute(presenter), DialogResult::No);
    EXPECT_EQ(presenter.calls, (std::vector<std::string>{"beep", "box"}));
    const MessageBoxRequest& box = presenter.boxes.at(0);
    EXPECT_EQ(box.kind, MessageKind::Warning);
    EXPECT_EQ(box.buttons, (std::vector<MessageButton>{MessageButton::Yes, MessageButton::No,
                                                       MessageButton::Help}));
}

TEST(MessageDialog, DefaultButtonReachesTheBoxOnlyWhenTheBoxShowsIt) {
    FakePresenter presenter;
    MessageDialog dialog;
    dialog.buttons = {MessageButton::Yes, MessageButton::No};
    dialog.Execute(presenter);
    dialog.default_button = MessageButton::No;
    dialog.Execute(presenter);
    dialog.default_button = MessageButton::Cancel;
    dialog.Execute(presenter);

    EXPECT_EQ(presenter.boxes.at(0).default_button, std::nullopt);
    EXPECT_EQ(presenter.boxes.at(1).default_button, MessageButton::No);
    EXPECT_EQ(presenter.boxes.at(2).default_button, std::nullopt);
}

TEST(MessageDialog, BoxWithoutButtonsStillGetsOk) {
    FakePresenter presenter;
    MessageDialog dialog;
    dialog.buttons = {};
    dialog.Execute(presenter);
    EXPECT_EQ(presenter.boxes.at(0).buttons, std::vector<MessageButton>{MessageButton::Ok});
}

TEST(MessageConvention, InformationBoxBeepsFirstWhenAsked) {
    FakePresenter presenter;
    const std::string text = "JVLinkのインポートを開始します。";
    ShowInformation(presenter, text, true);
    ShowInformation(presenter, text, false);

    EXPECT_EQ(presenter.calls, (std::vector<std::string>{"beep", "box", "box"}));
    const MessageBoxRequest expected{text, MessageKind::Information, {MessageButton::Ok}};
    EXPECT_EQ(presenter.boxes.at(0), expected);
    EXPECT_EQ(presenter.boxes.at(1), expected);
}

TEST(MessageConvention, PlainBoxHasNoIconAndNoBeep) {
    FakePresenter presenter;
    const std::string text = "ホームページの表示に失敗しました。";
    ShowPlain(presenter, text);
    EXPECT_EQ(presenter.calls, std::vector<std::string>{"box"});
    const MessageBoxRequest expected{text, MessageKind::Custom, {MessageButton::Ok}};
    EXPECT_EQ(presenter.boxes.at(0), expected);
}

}  // namespace
}  // namespace koyomi
