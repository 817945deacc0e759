// The about box: the program's picture with its version and credit line, a button that opens
// the home page in the desktop's browser, and OK. Built fresh every time it is asked for and
// freed when it closes.
#pragma once

#include <QDialog>
#include <string>

#include "support/message_dialog.h"
#include "support/open_url.h"
#include "support/qt/qt_message_presenter.h"
#include "support/settings_file.h"

class QFrame;
class QLabel;
class QPushButton;

namespace koyomi {

class ShadowLabel;

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 324;
    static constexpr int kClientHeight = 258;

    // `shell` opens `home_page_url`; both must outlive the box.
    AboutBox(ShellPlatform& shell, std::string home_page_url, QWidget* parent = nullptr);

    // Where the box's messages go; its own message boxes unless set (tests).
    void SetMessagePresenter(MessagePresenter* presenter);

    // Event handlers, named after their components.
    void Button1Click();
    void Image1Click();

    // Components, named as the box's stored form names them.
    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    ShadowLabel* title_label_ = nullptr;   // the version text
    ShadowLabel* ticker_label_ = nullptr;  // the credit line
    QPushButton* Button1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    SettingsFile settings_;  // part of the stored form; the box reads no settings

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ShellPlatform& shell_;
    std::string home_page_url_;
    QtMessagePresenter own_presenter_;
    MessagePresenter* presenter_;
};

}  // namespace koyomi
