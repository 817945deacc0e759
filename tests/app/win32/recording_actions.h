// A WindowActions that writes down what the window asked for, one line an action.
#pragma once

#include <string>
#include <vector>

#include "app/win32/window_actions.h"

namespace koyomi::win32::testing {

class RecordingActions : public WindowActions {
  public:
    std::vector<std::string> calls;
    WindowPlacement closed_with;

    void Fetch() override { calls.push_back("Fetch"); }
    void CopyToClipboard() override { calls.push_back("CopyToClipboard"); }
    void SaveCalendar() override { calls.push_back("SaveCalendar"); }
    void OpenControlSettings() override { calls.push_back("OpenControlSettings"); }
    void Print() override { calls.push_back("Print"); }
    void SetUpPrinter() override { calls.push_back("SetUpPrinter"); }
    void Exit() override { calls.push_back("Exit"); }
    void ChooseDataKind(DataKind kind) override {
        calls.push_back(kind == DataKind::Normal ? "ChooseDataKind Normal"
                                                 : "ChooseDataKind Setup");
    }
    void ShowHelpContents() override { calls.push_back("ShowHelpContents"); }
    void ShowAbout() override { calls.push_back("ShowAbout"); }
    void ChooseYear(int index) override { calls.push_back("ChooseYear " + std::to_string(index)); }
    void ChooseVenue(int index) override {
        calls.push_back("ChooseVenue " + std::to_string(index));
    }
    void ChoosePeriod(int index) override {
        calls.push_back("ChoosePeriod " + std::to_string(index));
    }
    void ChooseGradedOnly(bool on) override {
        calls.push_back(on ? "ChooseGradedOnly on" : "ChooseGradedOnly off");
    }
    void MoveToToday() override { calls.push_back("MoveToToday"); }
    void CancelFetch() override { calls.push_back("CancelFetch"); }
    void TimerFired(WindowTimer) override {}
    void FirstShown() override { calls.push_back("FirstShown"); }
    void Closing(const WindowPlacement& placement) override {
        calls.push_back("Closing");
        closed_with = placement;
    }
};

}  // namespace koyomi::win32::testing
