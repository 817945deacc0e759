// The about box: the program's picture with its version and credit line, a button that opens
// the home page in the desktop's browser, and OK. Built fresh every time it is asked for and
// freed when it closes.
#pragma once

#include <QDialog>
#include <string>

#include "support/message_dialog.h"
#include "support/open_url.h"
#include "support/qt/qt_message_presenter.h"

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

    // `launcher` opens `home_page_url`; it must outlive the box.
    AboutBox(DesktopLauncher& launcher, std::string home_page_url, QWidget* parent = nullptr);

    // Where the box's messages go; its own message boxes unless set (tests).
    void SetMessagePresenter(MessagePresenter* presenter);

    // Lists the folders in use below the buttons; the box grows to fit them.
    void ShowFolders(const QString& text);

    // What the home page button and a click on the picture do.
    void OpenHomePage();
    void PictureClicked();

    // The parts of the box, public for the tests.
    QFrame* picture_frame_ = nullptr;
    QLabel* picture_ = nullptr;
    ShadowLabel* version_label_ = nullptr;  // the version text
    ShadowLabel* credit_label_ = nullptr;   // the credit line
    QPushButton* home_page_button_ = nullptr;
    QPushButton* ok_button_ = nullptr;
    QLabel* folder_list_ = nullptr;  // made by ShowFolders

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    DesktopLauncher& launcher_;
    std::string home_page_url_;
    QtMessagePresenter own_presenter_;
    MessagePresenter* presenter_;
};

}  // namespace koyomi
