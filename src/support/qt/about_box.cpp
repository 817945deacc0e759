#include "support/qt/about_box.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "support/qt/about_artwork.h"
#include "support/qt/japanese_fonts.h"
#include "support/qt/shadow_label.h"
#include "support/sjis_text.h"

namespace koyomi {

namespace {

QString WindowTitleOf(const QWidget* parent) {
    return parent != nullptr ? parent->window()->windowTitle() : QString();
}

}  // namespace

AboutBox::AboutBox(ShellPlatform& shell, std::string home_page_url, QWidget* parent)
    : QDialog(parent),
      shell_(shell),
      home_page_url_(std::move(home_page_url)),
      own_presenter_(this, WindowTitleOf(parent)),
      presenter_(&own_presenter_) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                   ~Qt::WindowContextHelpButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(JapaneseFont(12));
    settings_.SetDefaultDir(SettingsFolder::Program);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Panel1->setAutoFillBackground(true);
    QPalette black = Panel1->palette();
    black.setColor(QPalette::Window, Qt::black);
    Panel1->setPalette(black);
    Panel1->setGeometry(6, 12, 307, 205);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap::fromImage(PaintAboutArtwork()));
    Image1->setScaledContents(true);
    Image1->setGeometry(3, 2, kAboutArtworkWidth, kAboutArtworkHeight);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setToolTip(QStringLiteral("ホームページ"));
    Image1->installEventFilter(this);

    // The labels lie on the picture, so they are its panel's children, placed after it.
    title_label_ = new ShadowLabel(Panel1);
    title_label_->setObjectName(QStringLiteral("title_label"));
    QFont version = JapaneseFont(16, true);
    version.setUnderline(true);
    title_label_->setFont(version);
    title_label_->SetTextColour(QColor(0x10, 0x2A, 0x60));
    title_label_->SetStyle(ShadowLabel::Style::Recessed);
    title_label_->SetCaption(QStringLiteral("Version 1.00"));
    title_label_->setGeometry(14, 12, 150, 24);
    title_label_->setAttribute(Qt::WA_TransparentForMouseEvents);

    ticker_label_ = new ShadowLabel(Panel1);
    ticker_label_->setObjectName(QStringLiteral("ticker_label"));
    ticker_label_->setFont(JapaneseFont(11, true));
    ticker_label_->SetTextColour(Qt::white);
    ticker_label_->SetStyle(ShadowLabel::Style::Raised);
    ticker_label_->SetAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    ticker_label_->SetCaption(QStringLiteral("制作 koyomivw 開発チーム ／ JRA-VAN Data Lab. 対応"));
    ticker_label_->setGeometry(6, 180, 295, 17);
    ticker_label_->setAttribute(Qt::WA_TransparentForMouseEvents);

    Button1 = new QPushButton(QStringLiteral("ホームページ"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(10, 226, 155, 21);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &AboutBox::Button1Click);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(234, 224, 75, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    BitBtn1->setFocus();
}

void AboutBox::SetMessagePresenter(MessagePresenter* presenter) {
    presenter_ = presenter != nullptr ? presenter : &own_presenter_;
}

void AboutBox::Button1Click() {
    if (!OpenURL(shell_, home_page_url_, kShowNormal)) {
        static const std::string text = Utf8ToSjis("ホームページの表示に失敗しました。");
        ShowPlain(*presenter_, text);
    }
}

void AboutBox::Image1Click() {
    Button1->click();
}

void AboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* shown_on = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(shown_on->availableGeometry().center());
        move(frame.topLeft());
    }
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        Image1->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        Image1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace koyomi
