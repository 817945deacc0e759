// Modal message boxes. MessageDialog describes a box by its settings and shows it through
// a MessagePresenter; ShowInformation and ShowPlain are the two boxes every message of the
// program uses. The presenter is the only part that touches the window system.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace koyomi {

// Kind of box: icon and caption. Custom has no icon and the program's title as caption.
enum class MessageKind { Warning, Error, Information, Confirmation, Custom };

// The platform's standard buttons, in the order a box shows them.
enum class MessageButton {
    Yes,
    No,
    Ok,
    Cancel,
    Abort,
    Retry,
    Ignore,
    All,
    NoToAll,
    YesToAll,
    Help,
};

// How a modal box was closed. Closing without a button (Esc, the close box) is Cancel.
enum class DialogResult {
    None,
    Ok,
    Cancel,
    Abort,
    Retry,
    Ignore,
    Yes,
    No,
    All,
    NoToAll,
    YesToAll,
};

// The result a button closes its box with; Help closes nothing (None).
DialogResult DialogResultOf(MessageButton button);

// A set of buttons.
class MessageButtons {
  public:
    constexpr MessageButtons() = default;
    constexpr MessageButtons(std::initializer_list<MessageButton> buttons) {
        for (MessageButton button : buttons) {
            bits_ |= Bit(button);
        }
    }
    constexpr bool Contains(MessageButton button) const { return (bits_ & Bit(button)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    // The buttons in the order a box shows them.
    std::vector<MessageButton> InOrder() const;

    friend constexpr bool operator==(MessageButtons, MessageButtons) = default;

  private:
    static constexpr std::uint32_t Bit(MessageButton button) {
        return std::uint32_t{1} << static_cast<int>(button);
    }
    std::uint32_t bits_ = 0;
};

// Everything a box shows; it opens centred.
struct MessageBoxRequest {
    std::string text;  // UTF-8
    MessageKind kind = MessageKind::Information;
    std::vector<MessageButton> buttons;  // never empty, in display order
    // The button Enter presses, one of `buttons`; none: the first.
    std::optional<MessageButton> default_button = std::nullopt;

    friend bool operator==(const MessageBoxRequest&, const MessageBoxRequest&) = default;
};

// The window system's side of a message box.
class MessagePresenter {
  public:
    virtual ~MessagePresenter() = default;
    // The platform's default beep.
    virtual void Beep() = 0;
    // Shows the box modally and returns how the user closed it.
    virtual DialogResult ShowModal(const MessageBoxRequest& request) = 0;
};

class MessageDialog {
  public:
    // What the box shows and how, with the defaults.
    bool beep = false;  // beep when the box opens
    std::string text;   // UTF-8
    MessageKind kind = MessageKind::Information;
    MessageButtons buttons{MessageButton::Ok};
    // The button Enter presses; none, or one the box does not show: its first button.
    std::optional<MessageButton> default_button;

    // Shows the described box and returns how it was closed. A box needs a button to be
    // closed by: an empty buttons shows OK.
    DialogResult Execute(MessagePresenter& presenter);
};

// The program's message convention: the default beep when `beep` is set, then a modal box
// with the information icon, the text and one OK button.
void ShowInformation(MessagePresenter& presenter, std::string_view text, bool beep);

// The plain box for the few errors shown without icon and without beep: text and OK.
void ShowPlain(MessagePresenter& presenter, std::string_view text);

}  // namespace koyomi
