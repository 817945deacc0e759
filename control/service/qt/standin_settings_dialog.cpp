#include "control/service/qt/standin_settings_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>
#include <string>
#include <utility>

#include "control/control_choice.h"

namespace koyomi {
namespace {

constexpr int kSaveFailed = -100;

QString FromPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// A line edit with a "参照..." button that picks a folder into it.
QHBoxLayout* FolderRow(QLineEdit* edit, const QString& caption, QWidget* parent) {
    auto* browse = new QPushButton(QStringLiteral("参照..."), parent);
    QObject::connect(browse, &QPushButton::clicked, parent, [edit, caption, parent] {
        const QString chosen = QFileDialog::getExistingDirectory(parent, caption, edit->text());
        if (!chosen.isEmpty()) {
            edit->setText(chosen);
        }
    });
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(browse);
    return row;
}

// Which environment variables outrank the saved choices; empty when none is set.
QString EnvironmentNote() {
    QStringList lines;
    const QString backend = qEnvironmentVariable(std::string(kBackendVariable).c_str());
    if (!backend.isEmpty()) {
        lines << QStringLiteral(
                     "環境変数 %1=%2 が設定されているため、保存した選択より優先されます。")
                     .arg(QString::fromUtf8(kBackendVariable.data(), kBackendVariable.size()),
                          backend);
    }
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (!prefix.isEmpty()) {
        lines << QStringLiteral(
                     "環境変数 WINEPREFIX=%1 が設定されているため、保存したプレフィックスより"
                     "優先されます。")
                     .arg(prefix);
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

StandInSettingsDialog::StandInSettingsDialog(const StandInSettings& settings,
                                             std::function<int()> open_control_dialog,
                                             QWidget* parent)
    : QDialog(parent), settings_(settings), open_control_dialog_(std::move(open_control_dialog)) {
    setWindowTitle(QStringLiteral("JV-Link 設定"));

    service_backend_ = new QRadioButton(QStringLiteral("ローカルのデータフォルダ"), this);
    service_backend_->setObjectName(QStringLiteral("service_backend"));
    wine_backend_ = new QRadioButton(QStringLiteral("Wine の JV-Link"), this);
    wine_backend_->setObjectName(QStringLiteral("wine_backend"));
    auto* backends = new QButtonGroup(this);
    backends->addButton(service_backend_);
    backends->addButton(wine_backend_);
    (settings.backend == kWineBackendName ? wine_backend_ : service_backend_)->setChecked(true);
    auto* backend_row = new QHBoxLayout;
    backend_row->addWidget(service_backend_);
    backend_row->addWidget(wine_backend_);
    backend_row->addStretch(1);

    wine_prefix_ = new QLineEdit(FromPath(settings.wine_prefix), this);
    wine_prefix_->setObjectName(QStringLiteral("wine_prefix"));
    wine_prefix_->setPlaceholderText(QStringLiteral("空欄のときは ~/.wine"));
    // The prefix matters only to the Wine back end.
    auto* prefix_row = new QWidget(this);
    QHBoxLayout* prefix_layout =
        FolderRow(wine_prefix_, QStringLiteral("Wine のプレフィックス"), this);
    prefix_layout->setContentsMargins(0, 0, 0, 0);
    prefix_row->setLayout(prefix_layout);
    prefix_row->setEnabled(wine_backend_->isChecked());
    connect(wine_backend_, &QRadioButton::toggled, prefix_row, &QWidget::setEnabled);

    // The 32-bit and the 64-bit JV-Link each need their own host; which one the prefix in
    // force has decides.
    wine_host_ = new QLabel(this);
    wine_host_->setObjectName(QStringLiteral("wine_host"));
    wine_host_->setWordWrap(true);
    wine_host_->setEnabled(wine_backend_->isChecked());
    connect(wine_backend_, &QRadioButton::toggled, wine_host_, &QWidget::setEnabled);
    connect(wine_prefix_, &QLineEdit::editingFinished, this, &StandInSettingsDialog::ShowWineHost);
    ShowWineHost();

    folder_ = new QLineEdit(FromPath(settings.service_folder), this);
    folder_->setPlaceholderText(QStringLiteral("空欄のときは同梱のサンプルデータ"));
    QHBoxLayout* folder_row = FolderRow(folder_, QStringLiteral("データサービスのフォルダ"), this);

    ms_per_file_ = new QSpinBox(this);
    ms_per_file_->setRange(0, kLongestMsPerFile);
    ms_per_file_->setSingleStep(50);
    ms_per_file_->setSuffix(QStringLiteral(" ms"));
    ms_per_file_->setValue(settings.ms_per_file);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("JV-Link:"), backend_row);
    form->addRow(QStringLiteral("Wine のプレフィックス:"), prefix_row);
    form->addRow(QStringLiteral("Wine のホスト:"), wine_host_);
    form->addRow(QStringLiteral("データサービスのフォルダ:"), folder_row);
    form->addRow(QStringLiteral("1ファイルのダウンロード時間:"), ms_per_file_);

    auto* takes_effect =
        new QLabel(QStringLiteral("JV-Link の新しい選択は、次回の起動から有効になります。"), this);
    takes_effect->setWordWrap(true);
    auto* service_note = new QLabel(
        QStringLiteral("環境変数 JVLINK_SERVICE_DIR が設定されているときは、そのフォルダが"
                       "優先されます。"),
        this);
    service_note->setWordWrap(true);
    auto* environment_note = new QLabel(EnvironmentNote(), this);
    environment_note->setObjectName(QStringLiteral("environment_note"));
    environment_note->setWordWrap(true);
    environment_note->setVisible(!environment_note->text().isEmpty());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(takes_effect);
    layout->addWidget(environment_note);
    layout->addWidget(service_note);
    if (open_control_dialog_) {
        // JV-Link keeps its own settings (the service key among them) in its own dialog.
        auto* control_settings = new QPushButton(QStringLiteral("JV-Link の設定..."), this);
        control_settings->setObjectName(QStringLiteral("control_settings_button"));
        connect(control_settings, &QPushButton::clicked, this,
                [this] { control_dialog_result_ = open_control_dialog_(); });
        auto* control_row = new QHBoxLayout;
        control_row->addWidget(control_settings);
        control_row->addStretch(1);
        layout->addLayout(control_row);
    }
    layout->addWidget(buttons);
    resize(560, sizeHint().height());
}

void StandInSettingsDialog::ShowWineHost() {
    const HostChoice host =
        ChooseHost(WinePrefixInForce(wine_prefix_->text().trimmed().toStdString()));
    wine_host_->setText(QStringLiteral("%1（%2）")
                            .arg(QString::fromUtf8(host.program.data(),
                                                   static_cast<qsizetype>(host.program.size())),
                                 QString::fromStdString(host.why)));
}

StandInSettings StandInSettingsDialog::Settings() const {
    StandInSettings settings = settings_;
    settings.backend = wine_backend_->isChecked() ? kWineBackendName : kServiceBackendName;
    settings.wine_prefix = wine_prefix_->text().trimmed().toStdString();
    settings.service_folder = folder_->text().trimmed().toStdString();
    settings.ms_per_file = ms_per_file_->value();
    return settings;
}

int RunStandInSettingsDialog(const std::filesystem::path& settings_file,
                             const std::function<int()>& open_control_dialog) {
    // Widgets need a QApplication; a program without one (a test, a tool) gets no dialog.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return 0;
    }
    StandInSettingsDialog dialog(LoadStandInSettings(settings_file), open_control_dialog,
                                 QApplication::activeWindow());
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (accepted) {
        if (const Status saved = SaveStandInSettings(settings_file, dialog.Settings()); !saved) {
            QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("JV-Link 設定"),
                                 QString::fromStdString(Describe(saved.Error())));
            return kSaveFailed;
        }
    }
    return dialog.ControlDialogResult().value_or(0);
}

}  // namespace koyomi
