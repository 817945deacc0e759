// Modal message boxes. TMsgDlg describes a box by its stored properties and shows it through
// a MessagePresenter; ShowInformation and ShowPlain are the two boxes every message of the
// program uses. The presenter is the only part that touches the window system.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace koyomi {

// Kind of box: icon and caption. mtCustom has no icon and the program's title as caption.
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum class TMsgPosition { poDesigned = 0, poScreenCenter = 1 };

// The platform's standard buttons, in the order a box shows them.
enum class TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
};

// How a modal box was closed. Closing without a button (Esc, the close box) is mrCancel.
enum class TModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// The result a button closes its box with; mbHelp closes nothing (mrNone).
TModalResult ModalResultOf(TMsgDlgBtn button);

// A set of buttons.
class TMsgDlgButtons {
  public:
    constexpr TMsgDlgButtons() = default;
    constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
        for (TMsgDlgBtn button : buttons) {
            bits_ |= Bit(button);
        }
    }
    constexpr bool Contains(TMsgDlgBtn button) const { return (bits_ & Bit(button)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    // The buttons in the order a box shows them.
    std::vector<TMsgDlgBtn> InOrder() const;

    friend constexpr bool operator==(TMsgDlgButtons, TMsgDlgButtons) = default;

  private:
    static constexpr std::uint32_t Bit(TMsgDlgBtn button) {
        return std::uint32_t{1} << static_cast<int>(button);
    }
    std::uint32_t bits_ = 0;
};

struct ScreenPoint {
    int left = 0;
    int top = 0;

    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Everything a box shows.
struct MessageBoxRequest {
    std::string text;  // code page 932
    TMsgDlgType kind = TMsgDlgType::mtInformation;
    std::vector<TMsgDlgBtn> buttons;      // never empty, in display order
    std::optional<ScreenPoint> position;  // top-left on screen; none: centred on the screen
    int helpContext = 0;

    friend bool operator==(const MessageBoxRequest&, const MessageBoxRequest&) = default;
};

// The window system's side of a message box.
class MessagePresenter {
  public:
    virtual ~MessagePresenter() = default;
    // The platform's default beep.
    virtual void Beep() = 0;
    // Shows the box modally and returns how the user closed it.
    virtual TModalResult ShowModal(const MessageBoxRequest& request) = 0;
};

class TMsgDlg {
  public:
    using TButtonClickEvent = std::function<void(TMsgDlg& sender, TModalResult dlgResult)>;

    // Stored properties, with their defaults.
    bool Sound = false;  // beep when the box opens
    int MsgLeft = -1;    // box position when MsgPosition is poDesigned
    int MsgTop = -1;
    int HelpContext = 0;
    std::string DisplayMsg;  // code page 932
    TMsgDlgType MsgDlgType = TMsgDlgType::mtInformation;
    TMsgPosition MsgPosition = TMsgPosition::poScreenCenter;
    TMsgDlgButtons VisibleButtons{TMsgDlgBtn::mbOK};
    TButtonClickEvent OnButtonClick;

    // Shows the described box and returns how it was closed, after telling OnButtonClick.
    // A box needs a button to be closed by: an empty VisibleButtons shows OK.
    TModalResult Execute(MessagePresenter& presenter);
};

// The program's message convention: the default beep when `beep` is set, then a modal box
// with the information icon, the text and one OK button.
void ShowInformation(MessagePresenter& presenter, std::string_view text, bool beep);

// The plain box for the few errors shown without icon and without beep: text and OK.
void ShowPlain(MessagePresenter& presenter, std::string_view text);

}  // namespace koyomi
