// The start-up's questions when JV-Link cannot be created, with a loader of the test's own.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "testing/scripted_jv_link.h"
#include "testing/temp_folder.h"

namespace koyomi {
namespace {

// Answers every box with `answer`, or, without one, as Enter does: with the default button.
class RecordingPresenter final : public MessagePresenter {
  public:
    std::vector<std::string> calls;  // "beep", or a box's text
    std::vector<MessageBoxRequest> boxes;
    std::optional<DialogResult> answer;

    void Beep() override { calls.push_back("beep"); }
    DialogResult ShowModal(const MessageBoxRequest& request) override {
        calls.push_back(request.text);
        boxes.push_back(request);
        if (answer) {
            return *answer;
        }
        return request.default_button ? DialogResultOf(*request.default_button) : DialogResult::Ok;
    }
};

// JV-Link in this process is not registered; after the switch the local data service serves.
class SampleDataQuestionTest : public ::testing::Test {
  protected:
    testing::TempFolder folder_;
    int switches_ = 0;
    ControlLoader loader_{[this] {
                              JVLinkCreation creation;
                              if (switches_ > 0) {
                                  creation.link = std::make_unique<testing::ScriptedJVLink>();
                              } else {
                                  creation.failure.kind = ControlFailureKind::NotInstalled;
                                  creation.failure.reason = "CLSIDFromProgID(JVDTLab.JVLink)";
                              }
                              return creation;
                          },
                          [this] {
                              ++switches_;
                              return Status();
                          }};

    Startup Start(RecordingPresenter& presenter) {
        const FolderEnvironment env{folder_ / "home", {}, {}, {}};
        std::filesystem::create_directories(folder_ / "portable");
        return StartProgram(folder_ / "portable" / "koyomivw", env, presenter, loader_);
    }
};

TEST_F(SampleDataQuestionTest, EnterEndsTheProgramAfterThePresenceBox) {
    RecordingPresenter presenter;
    const Startup started = Start(presenter);
    EXPECT_EQ(started.control, nullptr);
    EXPECT_EQ(started.exit_code, 0);
    EXPECT_EQ(switches_, 0);
    EXPECT_EQ(presenter.calls,
              (std::vector<std::string>{
                  "beep",
                  "JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。\n\n"
                  "同梱のサンプルデータで試しますか？\n"
                  "「はい」を選ぶと、この選択を JV Link 設定に保存します。"}));
    const MessageBoxRequest& box = presenter.boxes.at(0);
    EXPECT_EQ(box.kind, MessageKind::Information);
    EXPECT_EQ(box.buttons, (std::vector<MessageButton>{MessageButton::Yes, MessageButton::No}));
    EXPECT_EQ(box.default_button, MessageButton::No);
}

TEST_F(SampleDataQuestionTest, YesStartsWithTheLocalDataService) {
    RecordingPresenter presenter;
    presenter.answer = DialogResult::Yes;
    const Startup started = Start(presenter);
    EXPECT_NE(started.control, nullptr);
    EXPECT_EQ(switches_, 1);
    EXPECT_EQ(presenter.boxes.size(), 1u);
}

}  // namespace
}  // namespace koyomi
