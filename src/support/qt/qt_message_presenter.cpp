#include "support/qt/qt_message_presenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "support/qt/qt_text.h"

namespace koyomi {
namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return QMessageBox::Warning;
        case MessageKind::Error:
            return QMessageBox::Critical;
        case MessageKind::Information:
            return QMessageBox::Information;
        case MessageKind::Confirmation:
            return QMessageBox::Question;
        case MessageKind::Custom:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton StandardButtonOf(MessageButton button) {
    switch (button) {
        case MessageButton::Yes:
            return QMessageBox::Yes;
        case MessageButton::No:
            return QMessageBox::No;
        case MessageButton::Ok:
            return QMessageBox::Ok;
        case MessageButton::Cancel:
            return QMessageBox::Cancel;
        case MessageButton::Abort:
            return QMessageBox::Abort;
        case MessageButton::Retry:
            return QMessageBox::Retry;
        case MessageButton::Ignore:
            return QMessageBox::Ignore;
        case MessageButton::All:
            return QMessageBox::YesToAll;
        case MessageButton::NoToAll:
            return QMessageBox::NoToAll;
        case MessageButton::YesToAll:
            return QMessageBox::YesToAll;
        case MessageButton::Help:
            return QMessageBox::Help;
    }
    return QMessageBox::Ok;
}

}  // namespace

void QtMessagePresenter::Beep() {
    QApplication::beep();
}

DialogResult QtMessagePresenter::ShowModal(const MessageBoxRequest& request) {
    QMessageBox box(IconOf(request.kind), title_, QString::fromStdString(request.text),
                    QMessageBox::NoButton, parent_);
    box.setObjectName(QStringLiteral("MessageBox"));
    std::vector<std::pair<QAbstractButton*, MessageButton>> buttons;
    for (MessageButton button : request.buttons) {
        // "All" has no button of its own in Qt; it is shown with its own caption.
        QAbstractButton* added = button == MessageButton::All
                                     ? static_cast<QAbstractButton*>(box.addButton(
                                           QStringLiteral("すべて"), QMessageBox::AcceptRole))
                                     : box.addButton(StandardButtonOf(button));
        buttons.emplace_back(added, button);
        if (request.default_button == button) {
            if (auto* push = qobject_cast<QPushButton*>(added)) {
                box.setDefaultButton(push);
            }
        }
    }
    box.exec();
    for (const auto& [widget, button] : buttons) {
        if (box.clickedButton() == widget) {
            return DialogResultOf(button);
        }
    }
    return DialogResult::Cancel;
}

}  // namespace koyomi
