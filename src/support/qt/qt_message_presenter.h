// Message boxes with Qt: the window-system side of MessageDialog and of the program's messages.
#pragma once

#include <QString>

#include "support/message_dialog.h"

class QWidget;

namespace koyomi {

class QtMessagePresenter final : public MessagePresenter {
  public:
    QtMessagePresenter(QWidget* parent, QString title)
        : parent_(parent), title_(std::move(title)) {}
    void Beep() override;
    DialogResult ShowModal(const MessageBoxRequest& request) override;

  private:
    QWidget* parent_;
    QString title_;
};

}  // namespace koyomi
