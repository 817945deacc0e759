// The about box: the program's picture with its version and credit line, a button that opens
// the home page in the desktop's browser, and OK. Built fresh every time it is asked for and
// freed when it closes.
#pragma once

#include <QDialog>
#include <string>

#include "support/ini_gt.h"
#include "support/msg_dlg.h"
#include "support/open_url.h"
#include "support/qt/qt_message_presenter.h"

class QFrame;
class QLabel;
class QPushButton;

namespace koyomi {

class TLabel3Dj;

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 324;
    static constexpr int kClientHeight = 258;

    // `shell` opens `homePageUrl`; both must outlive the box.
    TAboutBox(ShellPlatform& shell, std::string homePageUrl, QWidget* parent = nullptr);

    // Where the box's messages go; its own message boxes unless set (tests).
    void setMessagePresenter(MessagePresenter* presenter);

    // Event handlers, named after their components.
    void Button1Click();
    void Image1Click();

    // Components, named as the box's stored form names them.
    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    TLabel3Dj* Label3D1 = nullptr;  // the version text
    TLabel3Dj* Label3D2 = nullptr;  // the credit line
    QPushButton* Button1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    TIniGT IniGT1;  // part of the stored form; the box reads no settings

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ShellPlatform& shell_;
    std::string homePageUrl_;
    QtMessagePresenter ownPresenter_;
    MessagePresenter* presenter_;
};

}  // namespace koyomi
