#include "control/service/qt/standin_settings_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <string>

#include "control/service/standin_settings.h"

namespace koyomi {
namespace {

constexpr int kSaveFailed = -100;

QString FromPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

class StandInSettingsDialog : public QDialog {
  public:
    StandInSettingsDialog(const StandInSettings& settings, QWidget* parent)
        : QDialog(parent), settings_(settings) {
        setWindowTitle(QStringLiteral("JV-Link 設定"));
        folder_ = new QLineEdit(FromPath(settings.service_folder), this);
        folder_->setPlaceholderText(QStringLiteral("空欄のときは同梱のサンプルデータ"));
        auto* browse = new QPushButton(QStringLiteral("参照..."), this);
        connect(browse, &QPushButton::clicked, this, [this] {
            const QString chosen = QFileDialog::getExistingDirectory(
                this, QStringLiteral("データサービスのフォルダ"), folder_->text());
            if (!chosen.isEmpty()) {
                folder_->setText(chosen);
            }
        });
        auto* folder_row = new QHBoxLayout;
        folder_row->addWidget(folder_, 1);
        folder_row->addWidget(browse);

        ms_per_file_ = new QSpinBox(this);
        ms_per_file_->setRange(0, kLongestMsPerFile);
        ms_per_file_->setSingleStep(50);
        ms_per_file_->setSuffix(QStringLiteral(" ms"));
        ms_per_file_->setValue(settings.ms_per_file);

        auto* form = new QFormLayout;
        form->addRow(QStringLiteral("データサービスのフォルダ:"), folder_row);
        form->addRow(QStringLiteral("1ファイルのダウンロード時間:"), ms_per_file_);

        auto* note = new QLabel(
            QStringLiteral("環境変数 JVLINK_SERVICE_DIR が設定されているときは、そのフォルダが"
                           "優先されます。"),
            this);
        note->setWordWrap(true);

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

        auto* layout = new QVBoxLayout(this);
        layout->addLayout(form);
        layout->addWidget(note);
        layout->addWidget(buttons);
        resize(520, sizeHint().height());
    }

    // The settings shown here changed, the others (the back end and its prefix) as loaded.
    StandInSettings Settings() const {
        StandInSettings settings = settings_;
        settings.service_folder = folder_->text().trimmed().toStdString();
        settings.ms_per_file = ms_per_file_->value();
        return settings;
    }

  private:
    StandInSettings settings_;
    QLineEdit* folder_ = nullptr;
    QSpinBox* ms_per_file_ = nullptr;
};

}  // namespace

int RunStandInSettingsDialog(const std::filesystem::path& settings_file) {
    // Widgets need a QApplication; a program without one (a test, a tool) gets no dialog.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return 0;
    }
    StandInSettingsDialog dialog(LoadStandInSettings(settings_file), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) {
        return 0;
    }
    std::string reason;
    if (!SaveStandInSettings(settings_file, dialog.Settings(), reason)) {
        QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("JV-Link 設定"),
                             QString::fromStdString(reason));
        return kSaveFailed;
    }
    return 0;
}

}  // namespace koyomi
