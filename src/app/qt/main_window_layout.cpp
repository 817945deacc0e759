// Builds the window's widgets at the design size of 765 x 540.
#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QProgressBar>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/qt/grid_hint_panel.h"
#include "app/qt/main_window.h"
#include "app/qt/schedule_grid_delegate.h"
#include "app/qt/schedule_table_model.h"
#include "support/qt/japanese_fonts.h"
#include "support/qt/qt_text.h"
#include "support/qt/shadow_label.h"
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

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    fetch_action_ =
        MenuItem(file, "fetch_action", QStringLiteral("ＪＶデータ・年間スケジュール取得(&D)"),
                 QStringLiteral("JRA-VANから年間スケジュールを取得します"));
    copy_action_ = MenuItem(file, "copy_action", QStringLiteral("クリップボードへコピー(&C)"),
                            QStringLiteral("表をクリップボードへコピーします"));
    calendar_action_ =
        MenuItem(file, "calendar_action", QStringLiteral("カレンダー形式で保存(&I)..."),
                 QStringLiteral("表示中の開催日をiCalendar形式のファイルに保存します"));
    control_settings_action_ =
        MenuItem(file, "control_settings_action", QStringLiteral("JV Link 設定(&S)"),
                 QStringLiteral("JV Linkの設定を変更します"));
    file->addSeparator();
    print_action_ = MenuItem(file, "print_action", QStringLiteral("印刷(&P)..."),
                             QStringLiteral("リストを印刷します"));
    print_setup_action_ = MenuItem(file, "print_setup_action", QStringLiteral("ﾌﾟﾘﾝﾀの設定(&R)..."),
                                   QStringLiteral("ﾌﾟﾘﾝﾀの設定を変更します"));
    file->addSeparator();
    exit_action_ = MenuItem(file, "exit_action", QStringLiteral("終了(&X)"),
                            QStringLiteral("ﾌﾟﾛｸﾞﾗﾑを終了します"));

    QMenu* options = menuBar()->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    QMenu* kind = options->addMenu(QStringLiteral("取得データの種類"));
    kind->setObjectName(QStringLiteral("DataKindMenu"));
    normal_data_action_ = MenuItem(kind, "normal_data_action", QStringLiteral("通常データ"),
                                   QStringLiteral("前回の取得より新しいデータだけを取得します"));
    setup_data_action_ = MenuItem(kind, "setup_data_action", QStringLiteral("セットアップデータ"),
                                  QStringLiteral("過去10年分のデータをすべて取得します"));
    auto* kinds = new QActionGroup(this);
    kinds->setExclusive(true);
    for (QAction* action : {normal_data_action_, setup_data_action_}) {
        action->setCheckable(true);
        kinds->addAction(action);
    }

    QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help_contents_action_ = MenuItem(help, "help_contents_action", QStringLiteral("目次(&C)"),
                                     QStringLiteral("ﾍﾙﾌﾟの目次を表示します"));
    about_action_ = MenuItem(help, "about_action", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."),
                             QStringLiteral("ﾌﾟﾛｸﾞﾗﾑの情報を表示します"));
}

void MainWindow::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("ToolBar"));
    bar->setObjectName(QStringLiteral("tool_bar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->toggleViewAction()->setVisible(false);
    fetch_button_ = ToolButton(bar, "fetch_button", QStringLiteral("JVデータ取得"),
                               QStringLiteral("JRA-VANから年間スケジュールを取得します"));

    year_selector_ = new QComboBox(bar);
    year_selector_->setObjectName(QStringLiteral("year_selector"));
    year_selector_->setEditable(false);
    year_selector_->setMaxVisibleItems(36);
    year_selector_->setFont(JapaneseFont(12, true));
    year_selector_->setMinimumWidth(170);
    year_selector_->setStatusTip(QStringLiteral("表示する年のスケジュールを選びます"));
    year_selector_->setToolTip(year_selector_->statusTip());
    QPalette info = year_selector_->palette();
    info.setColor(QPalette::Base, info.color(QPalette::ToolTipBase));
    info.setColor(QPalette::Button, info.color(QPalette::ToolTipBase));
    year_selector_->setPalette(info);
    bar->addWidget(year_selector_);
    today_button_ = ToolButton(bar, "today_button", QStringLiteral("今日へ移動"),
                               QStringLiteral("今日以降で最初の開催日へ移動します (Ctrl+T)"));
    today_button_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    bar->addSeparator();

    exit_button_ = ToolButton(bar, "exit_button", QStringLiteral("終了"),
                              QStringLiteral("ﾌﾟﾛｸﾞﾗﾑを終了します"));
    help_button_ = ToolButton(bar, "help_button", QStringLiteral("ヘルプ"),
                              QStringLiteral("ヘルプの目次を表示します"));
    about_button_ = ToolButton(bar, "about_button", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"),
                               QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
}

void MainWindow::BuildClientArea() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client_area"));
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(4, 4, 4, 0);
    column->setSpacing(3);

    auto* selectors = new QHBoxLayout();
    venue_selector_ = new QComboBox(client);
    venue_selector_->setObjectName(QStringLiteral("venue_selector"));
    venue_selector_->setEditable(false);
    venue_selector_->setMinimumWidth(140);
    venue_selector_->setStatusTip(QStringLiteral("表示する開催場所を選びます"));
    venue_selector_->setToolTip(venue_selector_->statusTip());
    selectors->addWidget(venue_selector_, 0, Qt::AlignVCenter);

    period_group_ = new QGroupBox(QStringLiteral("期間指定"), client);
    period_group_->setObjectName(QStringLiteral("period_group"));
    period_group_->setStatusTip(QStringLiteral("表示する期間を選びます"));
    auto* periods = new QHBoxLayout(period_group_);
    periods->setContentsMargins(8, 2, 8, 2);
    period_buttons_ = new QButtonGroup(this);
    period_buttons_->setExclusive(true);
    const QString period_names[] = {QStringLiteral("今月以降"), QStringLiteral("全月分")};
    for (int index = 0; index < 2; ++index) {
        auto* button = new QRadioButton(period_names[index], period_group_);
        button->setObjectName(QStringLiteral("period_button_%1").arg(index));
        button->setStatusTip(period_group_->statusTip());
        periods->addWidget(button);
        period_buttons_->addButton(button, index);
    }
    period_group_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    selectors->addWidget(period_group_, 0, Qt::AlignTop);
    graded_check_ = new QCheckBox(QStringLiteral("重賞のみ"), client);
    graded_check_->setObjectName(QStringLiteral("graded_check"));
    graded_check_->setStatusTip(QStringLiteral("重賞競走のある開催日だけを表示します"));
    graded_check_->setToolTip(graded_check_->statusTip());
    selectors->addWidget(graded_check_, 0, Qt::AlignVCenter);
    selectors->addStretch(1);
    column->addLayout(selectors);

    title_label_ = new ShadowLabel(client);
    title_label_->setObjectName(QStringLiteral("title_label"));
    title_label_->setFont(JapaneseFont(16, true));
    title_label_->SetTextColour(QColor(0x00, 0x00, 0x80));
    title_label_->SetStyle(ShadowLabel::Style::Raised);
    title_label_->setMinimumHeight(22);
    column->addWidget(title_label_);

    ticker_label_ = new ShadowLabel(client);
    ticker_label_->setObjectName(QStringLiteral("ticker_label"));
    ticker_label_->setFixedHeight(18);
    ticker_label_->SetBackground(Qt::black);
    ticker_label_->SetTextColour(QColor(0x00, 0xFF, 0xFF));
    ticker_label_->setFont(JapaneseFont(15, true));
    ticker_label_->SetStyle(ShadowLabel::Style::None);
    column->addWidget(ticker_label_);

    // The grid stays hidden until the first list; its panel keeps the layout in place meanwhile.
    grid_panel_ = new GridHintPanel(client);
    grid_panel_->setObjectName(QStringLiteral("grid_panel"));
    grid_panel_->setFont(JapaneseFont(15));
    auto* grid_layout = new QVBoxLayout(grid_panel_);
    grid_layout->setContentsMargins(0, 0, 0, 0);
    schedule_table_ = new QTableView(grid_panel_);
    schedule_table_->setObjectName(QStringLiteral("schedule_table"));
    schedule_rows_ = new ScheduleTableModel(schedule_table_);
    schedule_table_->setModel(schedule_rows_);
    schedule_table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    schedule_table_->setSelectionMode(QAbstractItemView::SingleSelection);
    schedule_table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    schedule_table_->verticalHeader()->setVisible(false);
    schedule_table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    schedule_table_->verticalHeader()->setMinimumSectionSize(1);
    schedule_table_->verticalHeader()->setDefaultSectionSize(kScheduleRowHeight);
    schedule_table_->horizontalHeader()->setMinimumSectionSize(1);
    schedule_table_->horizontalHeader()->setHighlightSections(false);
    schedule_table_->horizontalHeader()->setFixedHeight(kScheduleRowHeight + 4);
    schedule_table_->setWordWrap(false);
    schedule_table_->setTextElideMode(Qt::ElideNone);
    schedule_table_->setFont(JapaneseFont(11));
    // The heading row is a row of the grid, in the grid's font (else it takes the panel's).
    QHeaderView* header = schedule_table_->horizontalHeader();
    header->setFont(schedule_table_->font());
    // After the header's minimum, which would widen the narrow columns. The given widths are
    // the least: a heading that needs more at the font in use widens its column just enough
    // for its text and the header's margins, so the list still prints in one strip on A4;
    // printing follows the grid.
    const QFontMetrics heading_metrics(header->font());
    const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int column = 0; column < kScheduleColumnCount; ++column) {
        const ScheduleColumn& spec = ScheduleColumns()[static_cast<size_t>(column)];
        const int heading_width =
            heading_metrics.horizontalAdvance(SjisToQString(spec.heading)) + margins;
        schedule_table_->setColumnWidth(column, std::max(spec.width, heading_width));
    }
    grid_delegate_ = new ScheduleGridDelegate(schedule_table_);
    schedule_table_->setItemDelegate(grid_delegate_);
    schedule_table_->setVisible(false);
    grid_layout->addWidget(schedule_table_);
    column->addWidget(grid_panel_, 1);

    setCentralWidget(client);
    setTabOrder(year_selector_, venue_selector_);
    setTabOrder(venue_selector_, period_buttons_->button(0));
    setTabOrder(period_buttons_->button(0), graded_check_);
    setTabOrder(graded_check_, schedule_table_);

    status_line_ = statusBar();
    status_line_->setObjectName(QStringLiteral("status_line"));
    status_line_->setSizeGripEnabled(true);
    fetch_progress_ = new QProgressBar(status_line_);
    fetch_progress_->setObjectName(QStringLiteral("fetch_progress"));
    fetch_progress_->setMaximumWidth(180);
    fetch_progress_->setMaximumHeight(14);
    fetch_progress_->setTextVisible(true);
    status_line_->addPermanentWidget(fetch_progress_);
    fetch_progress_->hide();
    // A way out of a fetch that does not end: shown only while one runs, Esc does the same.
    cancel_button_ = new QToolButton(status_line_);
    cancel_button_->setObjectName(QStringLiteral("cancel_button"));
    cancel_button_->setText(QStringLiteral("中止"));
    cancel_button_->setToolTip(QStringLiteral("データの取得を中止します (Esc)"));
    cancel_button_->setStatusTip(cancel_button_->toolTip());
    cancel_button_->setFocusPolicy(Qt::NoFocus);
    status_line_->addPermanentWidget(cancel_button_);
    cancel_button_->hide();
}

}  // namespace koyomi
