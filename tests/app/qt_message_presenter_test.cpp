// The Qt message boxes: Enter presses the button the request names, else the box's own choice.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "support/qt/qt_message_presenter.h"

using namespace koyomi;

class QtMessagePresenterTest : public QObject {
    Q_OBJECT

  private slots:
    void enterPressesTheDefaultButtonTheRequestNames() {
        QtMessagePresenter presenter(nullptr, QStringLiteral("JRA 年間開催スケジュール"));
        MessageBoxRequest question{
            "試しますか?", MessageKind::Confirmation, {MessageButton::Yes, MessageButton::No}};
        question.default_button = MessageButton::No;
        QCOMPARE(PressEnter(presenter, question), DialogResult::No);
        question.default_button.reset();
        QCOMPARE(PressEnter(presenter, question), DialogResult::Yes);
    }

  private:
    static DialogResult PressEnter(QtMessagePresenter& presenter,
                                   const MessageBoxRequest& request) {
        QTimer::singleShot(0, [] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                QTest::keyClick(box, Qt::Key_Return);
            }
        });
        return presenter.ShowModal(request);
    }
};

QTEST_MAIN(QtMessagePresenterTest)
#include "qt_message_presenter_test.moc"
