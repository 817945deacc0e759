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

AboutBox::AboutBox(DesktopLauncher& launcher, std::string home_page_url, QWidget* parent)
    : QDialog(parent),
      launcher_(launcher),
      home_page_url_(std::move(home_page_url)),
      own_presenter_(this, WindowTitleOf(parent)),
      presenter_(&own_presenter_) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                   ~Qt::WindowContextHelpButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(JapaneseFont(12));

    picture_frame_ = new QFrame(this);
    picture_frame_->setObjectName(QStringLiteral("picture_frame"));
    picture_frame_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture_frame_->setLineWidth(1);
    picture_frame_->setAutoFillBackground(true);
    QPalette black = picture_frame_->palette();
    black.setColor(QPalette::Window, Qt::black);
    picture_frame_->setPalette(black);
    picture_frame_->setGeometry(6, 12, 307, 205);

    picture_ = new QLabel(picture_frame_);
    picture_->setObjectName(QStringLiteral("picture"));
    picture_->setPixmap(QPixmap::fromImage(PaintAboutArtwork()));
    picture_->setScaledContents(true);
    picture_->setGeometry(3, 2, kAboutArtworkWidth, kAboutArtworkHeight);
    picture_->setCursor(Qt::PointingHandCursor);
    picture_->setToolTip(QStringLiteral("ホームページ"));
    picture_->installEventFilter(this);

    // The labels lie on the picture, so they are its panel's children, placed after it.
    version_label_ = new ShadowLabel(picture_frame_);
    version_label_->setObjectName(QStringLiteral("version_label"));
    QFont version = JapaneseFont(16, true);
    version.setUnderline(true);
    version_label_->setFont(version);
    version_label_->SetTextColour(QColor(0x10, 0x2A, 0x60));
    version_label_->SetStyle(ShadowLabel::Style::Recessed);
    version_label_->SetCaption(QStringLiteral("Version 1.00"));
    version_label_->setGeometry(14, 12, 150, 24);
    version_label_->setAttribute(Qt::WA_TransparentForMouseEvents);

    credit_label_ = new ShadowLabel(picture_frame_);
    credit_label_->setObjectName(QStringLiteral("credit_label"));
    credit_label_->setFont(JapaneseFont(11, true));
    credit_label_->SetTextColour(Qt::white);
    credit_label_->SetStyle(ShadowLabel::Style::Raised);
    credit_label_->SetAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    credit_label_->SetCaption(QStringLiteral("制作 koyomivw 開発チーム ／ JRA-VAN Data Lab. 対応"));
    credit_label_->setGeometry(6, 180, 295, 17);
    credit_label_->setAttribute(Qt::WA_TransparentForMouseEvents);

    home_page_button_ = new QPushButton(QStringLiteral("ホームページ"), this);
    home_page_button_->setObjectName(QStringLiteral("home_page_button"));
    home_page_button_->setGeometry(10, 226, 155, 21);
    home_page_button_->setAutoDefault(false);
    connect(home_page_button_, &QPushButton::clicked, this, &AboutBox::OpenHomePage);

    ok_button_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                                 QStringLiteral("OK"), this);
    ok_button_->setObjectName(QStringLiteral("ok_button"));
    ok_button_->setGeometry(234, 224, 75, 25);
    ok_button_->setDefault(true);
    connect(ok_button_, &QPushButton::clicked, this, &QDialog::accept);
    ok_button_->setFocus();
}

void AboutBox::SetMessagePresenter(MessagePresenter* presenter) {
    presenter_ = presenter != nullptr ? presenter : &own_presenter_;
}

void AboutBox::ShowFolders(const QString& text) {
    if (folder_list_ == nullptr) {
        folder_list_ = new QLabel(this);
        folder_list_->setObjectName(QStringLiteral("FolderList"));
        folder_list_->setWordWrap(true);
        folder_list_->setTextFormat(Qt::PlainText);
        folder_list_->setTextInteractionFlags(Qt::TextSelectableByMouse);
        folder_list_->setFont(JapaneseFont(10));
    }
    constexpr int kMargin = 8;
    const int width = kClientWidth - 2 * kMargin;
    folder_list_->setText(text);
    const int height = folder_list_->heightForWidth(width);
    folder_list_->setGeometry(kMargin, kClientHeight, width, height);
    folder_list_->show();
    setFixedSize(kClientWidth, kClientHeight + height + kMargin);
}

void AboutBox::OpenHomePage() {
    if (!OpenUrl(launcher_, home_page_url_)) {
        static const std::string text = "ホームページの表示に失敗しました。";
        ShowPlain(*presenter_, text);
    }
}

void AboutBox::PictureClicked() {
    home_page_button_->click();
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
    if (watched == picture_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        picture_->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        PictureClicked();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace koyomi
