// Builds the window's widgets as its stored form lays them out (design size 765 x 540).
#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QProgressBar>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/main_form.h"
#include "app/schedule_grid_delegate.h"
#include "support/qt/japanese_fonts.h"
#include "support/qt/label_3dj.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

QAction* MenuItem(QMenu* menu, const char* object_name, const QString& caption,
                  const QString& hint) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(object_name));
    action->setStatusTip(hint);
    return action;
}

QToolButton* ToolButton(QToolBar* bar, const char* object_name, const QString& caption,
                        const QString& hint) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(object_name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    // Tool buttons take no keyboard focus, so Tab walks only the selectors and the grid.
    button->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(button);
    return button;
}

}  // namespace

void TMainForm::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    FileOpenItem =
        MenuItem(file, "FileOpenItem", QStringLiteral("ＪＶデータ・年間スケジュール取得(&D)"),
                 QStringLiteral("JRA-VANから年間スケジュールを取得します"));
    N6 = MenuItem(file, "N6", QStringLiteral("クリップボードへコピー(&C)"),
                  QStringLiteral("表をクリップボードへコピーします"));
    JVLink2 = MenuItem(file, "JVLink2", QStringLiteral("JV Link 設定(&S)"),
                       QStringLiteral("JV Linkの設定を変更します"));
    file->addSeparator();
    FilePrintItem = MenuItem(file, "FilePrintItem", QStringLiteral("印刷(&P)..."),
                             QStringLiteral("リストを印刷します"));
    FilePrintSetupItem = MenuItem(file, "FilePrintSetupItem", QStringLiteral("ﾌﾟﾘﾝﾀの設定(&R)..."),
                                  QStringLiteral("ﾌﾟﾘﾝﾀの設定を変更します"));
    file->addSeparator();
    FileExitItem = MenuItem(file, "FileExitItem", QStringLiteral("終了(&X)"),
                            QStringLiteral("ﾌﾟﾛｸﾞﾗﾑを終了します"));

    QMenu* options = menuBar()->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    QMenu* kind = options->addMenu(QStringLiteral("取得データの種類"));
    kind->setObjectName(QStringLiteral("DataKindMenu"));
    NormalDataItem = MenuItem(kind, "NormalDataItem", QStringLiteral("通常データ"),
                              QStringLiteral("前回の取得より新しいデータだけを取得します"));
    SetupDataItem = MenuItem(kind, "SetupDataItem", QStringLiteral("セットアップデータ"),
                             QStringLiteral("過去10年分のデータをすべて取得します"));
    auto* kinds = new QActionGroup(this);
    kinds->setExclusive(true);
    for (QAction* action : {NormalDataItem, SetupDataItem}) {
        action->setCheckable(true);
        kinds->addAction(action);
    }
    SetupDataItem->setChecked(true);

    QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    HelpContentsItem = MenuItem(help, "HelpContentsItem", QStringLiteral("目次(&C)"),
                                QStringLiteral("ﾍﾙﾌﾟの目次を表示します"));
    HelpAboutItem = MenuItem(help, "HelpAboutItem", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."),
                             QStringLiteral("ﾌﾟﾛｸﾞﾗﾑの情報を表示します"));
}

void TMainForm::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("ToolBar"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->toggleViewAction()->setVisible(false);
    JVBtn = ToolButton(bar, "JVBtn", QStringLiteral("JVデータ取得"),
                       QStringLiteral("JRA-VANから年間スケジュールを取得します"));

    DateCombo = new QComboBox(bar);
    DateCombo->setObjectName(QStringLiteral("DateCombo"));
    DateCombo->setEditable(false);
    DateCombo->setMaxVisibleItems(36);
    DateCombo->setFont(JapaneseFont(12, true));
    DateCombo->setMinimumWidth(170);
    DateCombo->setStatusTip(QStringLiteral("表示する年のスケジュールを選びます"));
    DateCombo->setToolTip(DateCombo->statusTip());
    QPalette info = DateCombo->palette();
    info.setColor(QPalette::Base, info.color(QPalette::ToolTipBase));
    info.setColor(QPalette::Button, info.color(QPalette::ToolTipBase));
    DateCombo->setPalette(info);
    bar->addWidget(DateCombo);
    bar->addSeparator();

    SpeedButton4 = ToolButton(bar, "SpeedButton4", QStringLiteral("終了"),
                              QStringLiteral("ﾌﾟﾛｸﾞﾗﾑを終了します"));
    SpeedButton5 = ToolButton(bar, "SpeedButton5", QStringLiteral("ヘルプ"),
                              QStringLiteral("ヘルプの目次を表示します"));
    SpeedButton6 = ToolButton(bar, "SpeedButton6", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"),
                              QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
}

void TMainForm::BuildClientArea() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientPanel"));
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(4, 4, 4, 0);
    column->setSpacing(3);

    auto* selectors = new QHBoxLayout();
    ComboBox1 = new QComboBox(client);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setMinimumWidth(140);
    ComboBox1->setStatusTip(QStringLiteral("表示する開催場所を選びます"));
    ComboBox1->setToolTip(ComboBox1->statusTip());
    selectors->addWidget(ComboBox1, 0, Qt::AlignVCenter);

    RadioGroup1 = new QGroupBox(QStringLiteral("期間指定"), client);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setStatusTip(QStringLiteral("表示する期間を選びます"));
    auto* periods = new QHBoxLayout(RadioGroup1);
    periods->setContentsMargins(8, 2, 8, 2);
    RadioGroup1Items = new QButtonGroup(this);
    RadioGroup1Items->setExclusive(true);
    const QString period_names[] = {QStringLiteral("今月以降"), QStringLiteral("全月分")};
    for (int index = 0; index < 2; ++index) {
        auto* button = new QRadioButton(period_names[index], RadioGroup1);
        button->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(index));
        button->setStatusTip(RadioGroup1->statusTip());
        periods->addWidget(button);
        RadioGroup1Items->addButton(button, index);
    }
    RadioGroup1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    selectors->addWidget(RadioGroup1, 0, Qt::AlignTop);
    selectors->addStretch(1);
    column->addLayout(selectors);

    Label3D1 = new TLabel3Dj(client);
    Label3D1->setObjectName(QStringLiteral("Label3D1"));
    Label3D1->setFont(JapaneseFont(16, true));
    Label3D1->setTextColour(QColor(0x00, 0x00, 0x80));
    Label3D1->setStyle3D(TLabel3Dj::Style::Raised);
    Label3D1->setMinimumHeight(22);
    column->addWidget(Label3D1);

    Label3D2 = new TLabel3Dj(client);
    Label3D2->setObjectName(QStringLiteral("Label3D2"));
    Label3D2->setFixedHeight(18);
    Label3D2->setBackground(Qt::black);
    Label3D2->setTextColour(QColor(0x00, 0xFF, 0xFF));
    Label3D2->setFont(JapaneseFont(15, true));
    Label3D2->setStyle3D(TLabel3Dj::Style::None);
    column->addWidget(Label3D2);

    // The grid stays hidden until the first list; its panel keeps the layout in place meanwhile.
    auto* grid_panel = new QWidget(client);
    grid_panel->setObjectName(QStringLiteral("GridPanel"));
    auto* grid_layout = new QVBoxLayout(grid_panel);
    grid_layout->setContentsMargins(0, 0, 0, 0);
    StringGrid1 = new QTableWidget(grid_panel);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setColumnCount(kGridColumns);
    StringGrid1->setRowCount(0);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    StringGrid1->verticalHeader()->setVisible(false);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setMinimumSectionSize(1);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
    StringGrid1->horizontalHeader()->setMinimumSectionSize(1);
    StringGrid1->horizontalHeader()->setHighlightSections(false);
    StringGrid1->horizontalHeader()->setFixedHeight(kGridRowHeight + 4);
    StringGrid1->setWordWrap(false);
    StringGrid1->setTextElideMode(Qt::ElideNone);
    StringGrid1->setFont(JapaneseFont(11));
    StringGrid1->setItemDelegate(new ScheduleGridDelegate(StringGrid1));
    StringGrid1->setVisible(false);
    grid_layout->addWidget(StringGrid1);
    column->addWidget(grid_panel, 1);

    setCentralWidget(client);
    setTabOrder(DateCombo, ComboBox1);
    setTabOrder(ComboBox1, RadioGroup1Items->button(0));
    setTabOrder(RadioGroup1Items->button(0), StringGrid1);

    StatusLine = statusBar();
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    StatusLine->setSizeGripEnabled(true);
    SessionProgress = new QProgressBar(StatusLine);
    SessionProgress->setObjectName(QStringLiteral("SessionProgress"));
    SessionProgress->setMaximumWidth(180);
    SessionProgress->setMaximumHeight(14);
    SessionProgress->setTextVisible(true);
    StatusLine->addPermanentWidget(SessionProgress);
    SessionProgress->hide();
}

}  // namespace koyomi
