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
#include "support/qt/label_3dj.h"
#include "support/sjis_text.h"

namespace koyomi {

namespace {

QString WindowTitleOf(const QWidget* parent) {
    return parent != nullptr ? parent->window()->windowTitle() : QString();
}

}  // namespace

TAboutBox::TAboutBox(ShellPlatform& shell, std::string homePageUrl, QWidget* parent)
    : QDialog(parent),
      shell_(shell),
      homePageUrl_(std::move(homePageUrl)),
      ownPresenter_(this, WindowTitleOf(parent)),
      presenter_(&ownPresenter_) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                   ~Qt::WindowContextHelpButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(JapaneseFont(12));
    IniGT1.SetDefaultDir(ddApplication);

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
    Label3D1 = new TLabel3Dj(Panel1);
    Label3D1->setObjectName(QStringLiteral("Label3D1"));
    QFont version = JapaneseFont(16, true);
    version.setUnderline(true);
    Label3D1->setFont(version);
    Label3D1->setTextColour(QColor(0x10, 0x2A, 0x60));
    Label3D1->setStyle3D(TLabel3Dj::Style::Recessed);
    Label3D1->setCaption(QStringLiteral("Version 1.00"));
    Label3D1->setGeometry(14, 12, 150, 24);
    Label3D1->setAttribute(Qt::WA_TransparentForMouseEvents);

    Label3D2 = new TLabel3Dj(Panel1);
    Label3D2->setObjectName(QStringLiteral("Label3D2"));
    Label3D2->setFont(JapaneseFont(11, true));
    Label3D2->setTextColour(Qt::white);
    Label3D2->setStyle3D(TLabel3Dj::Style::Raised);
    Label3D2->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    Label3D2->setCaption(QStringLiteral("制作 koyomivw 開発チーム ／ JRA-VAN Data Lab. 対応"));
    Label3D2->setGeometry(6, 180, 295, 17);
    Label3D2->setAttribute(Qt::WA_TransparentForMouseEvents);

    Button1 = new QPushButton(QStringLiteral("ホームページ"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(10, 226, 155, 21);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TAboutBox::Button1Click);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(234, 224, 75, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    BitBtn1->setFocus();
}

void TAboutBox::setMessagePresenter(MessagePresenter* presenter) {
    presenter_ = presenter != nullptr ? presenter : &ownPresenter_;
}

void TAboutBox::Button1Click() {
    if (!OpenURL(shell_, homePageUrl_, kShowNormal)) {
        static const std::string text = Utf8ToSjis("ホームページの表示に失敗しました。");
        ShowPlain(*presenter_, text);
    }
}

void TAboutBox::Image1Click() {
    Button1->click();
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* shown_on = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(shown_on->availableGeometry().center());
        move(frame.topLeft());
    }
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        Image1->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        Image1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace koyomi
