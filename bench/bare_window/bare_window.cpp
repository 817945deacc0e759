// The yardstick of bench/window_startup.sh: a window with the program's menus, selectors and an
// empty 14-column table, and nothing behind them (no settings, year files or control), so that
// the program's first paint can be compared with what Qt alone needs for the same window.
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/qt/startup_probe.h"

namespace {

void AddMenu(QMenuBar* bar, const QString& title, const QStringList& items) {
    QMenu* menu = bar->addMenu(title);
    for (const QString& item : items) {
        if (item.isEmpty()) {
            menu->addSeparator();
        } else {
            menu->addAction(item);
        }
    }
}

void AddButton(QToolBar* bar, const QString& caption) {
    auto* button = new QToolButton(bar);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    bar->addWidget(button);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare window"));
    AddMenu(window.menuBar(), QStringLiteral("ﾌｧｲﾙ(&F)"),
            {QStringLiteral("ＪＶデータ・年間スケジュール取得(&D)"),
             QStringLiteral("クリップボードへコピー(&C)"),
             QStringLiteral("JV Link 設定(&S)"),
             {},
             QStringLiteral("印刷(&P)..."),
             QStringLiteral("ﾌﾟﾘﾝﾀの設定(&R)..."),
             {},
             QStringLiteral("終了(&X)")});
    AddMenu(window.menuBar(), QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"), {QStringLiteral("取得データの種類")});
    AddMenu(window.menuBar(), QStringLiteral("ﾍﾙﾌﾟ(&H)"),
            {QStringLiteral("目次(&C)"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)...")});

    QToolBar* bar = window.addToolBar(QStringLiteral("ToolBar"));
    AddButton(bar, QStringLiteral("JVデータ取得"));
    auto* years = new QComboBox(bar);
    years->setMinimumWidth(170);
    bar->addWidget(years);
    AddButton(bar, QStringLiteral("終了"));
    AddButton(bar, QStringLiteral("ヘルプ"));
    AddButton(bar, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));

    auto* client = new QWidget(&window);
    auto* column = new QVBoxLayout(client);
    auto* selectors = new QHBoxLayout();
    auto* venues = new QComboBox(client);
    venues->setMinimumWidth(140);
    selectors->addWidget(venues);
    auto* periods = new QGroupBox(QStringLiteral("期間指定"), client);
    auto* period_row = new QHBoxLayout(periods);
    auto* period_buttons = new QButtonGroup(&window);
    for (const QString& name : {QStringLiteral("今月以降"), QStringLiteral("全月分")}) {
        auto* button = new QRadioButton(name, periods);
        period_row->addWidget(button);
        period_buttons->addButton(button);
    }
    selectors->addWidget(periods);
    selectors->addStretch(1);
    column->addLayout(selectors);
    auto* table = new QTableWidget(0, 14, client);
    table->verticalHeader()->setVisible(false);
    column->addWidget(table, 1);
    window.setCentralWidget(client);
    window.statusBar();

    window.resize(630, 450);
    koyomi::ReportFirstPaintWhenAsked(window);
    window.show();
    return application.exec();
}
