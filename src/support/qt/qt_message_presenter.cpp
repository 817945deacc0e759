#include "support/qt/qt_message_presenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "support/qt/qt_text.h"

namespace koyomi {
namespace {

QMessageBox::Icon IconOf(TMsgDlgType kind) {
    switch (kind) {
        case TMsgDlgType::mtWarning:
            return QMessageBox::Warning;
        case TMsgDlgType::mtError:
            return QMessageBox::Critical;
        case TMsgDlgType::mtInformation:
            return QMessageBox::Information;
        case TMsgDlgType::mtConfirmation:
            return QMessageBox::Question;
        case TMsgDlgType::mtCustom:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton StandardButtonOf(TMsgDlgBtn button) {
    switch (button) {
        case TMsgDlgBtn::mbYes:
            return QMessageBox::Yes;
        case TMsgDlgBtn::mbNo:
            return QMessageBox::No;
        case TMsgDlgBtn::mbOK:
            return QMessageBox::Ok;
        case TMsgDlgBtn::mbCancel:
            return QMessageBox::Cancel;
        case TMsgDlgBtn::mbAbort:
            return QMessageBox::Abort;
        case TMsgDlgBtn::mbRetry:
            return QMessageBox::Retry;
        case TMsgDlgBtn::mbIgnore:
            return QMessageBox::Ignore;
        case TMsgDlgBtn::mbAll:
            return QMessageBox::YesToAll;
        case TMsgDlgBtn::mbNoToAll:
            return QMessageBox::NoToAll;
        case TMsgDlgBtn::mbYesToAll:
            return QMessageBox::YesToAll;
        case TMsgDlgBtn::mbHelp:
            return QMessageBox::Help;
    }
    return QMessageBox::Ok;
}

}  // namespace

void QtMessagePresenter::Beep() {
    QApplication::beep();
}

TModalResult QtMessagePresenter::ShowModal(const MessageBoxRequest& request) {
    QMessageBox box(IconOf(request.kind), title_, SjisToQString(request.text),
                    QMessageBox::NoButton, parent_);
    box.setObjectName(QStringLiteral("MessageBox"));
    std::vector<std::pair<QAbstractButton*, TMsgDlgBtn>> buttons;
    for (TMsgDlgBtn button : request.buttons) {
        // "All" has no button of its own in Qt; it is shown with its own caption.
        QAbstractButton* added = button == TMsgDlgBtn::mbAll
                                     ? static_cast<QAbstractButton*>(box.addButton(
                                           QStringLiteral("すべて"), QMessageBox::AcceptRole))
                                     : box.addButton(StandardButtonOf(button));
        buttons.emplace_back(added, button);
    }
    if (request.position) {
        box.move(request.position->left, request.position->top);
    }
    box.exec();
    for (const auto& [widget, button] : buttons) {
        if (box.clickedButton() == widget) {
            return ModalResultOf(button);
        }
    }
    return TModalResult::mrCancel;
}

}  // namespace koyomi
