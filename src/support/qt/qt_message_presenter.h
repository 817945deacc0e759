// Message boxes with Qt: the window-system side of TMsgDlg and of the program's messages.
#pragma once

#include <QString>

#include "support/msg_dlg.h"

class QWidget;

namespace koyomi {

class QtMessagePresenter final : public MessagePresenter {
  public:
    QtMessagePresenter(QWidget* parent, QString title)
        : parent_(parent), title_(std::move(title)) {}
    void Beep() override;
    TModalResult ShowModal(const MessageBoxRequest& request) override;

  private:
    QWidget* parent_;
    QString title_;
};

}  // namespace koyomi
