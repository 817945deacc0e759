// The control's settings dialog, headless: the back-end choice and prefix are restored and
// saved, the environment's precedence is stated, and JV-Link's own dialog is offered only
// under Wine, its result being what JVSetUIProperties returns.
#include "control/service/qt/standin_settings_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <functional>

#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi {

class StandInSettingsDialogTest : public QObject {
    Q_OBJECT

  private:
    // Runs `act` on the dialog once RunStandInSettingsDialog has shown it.
    static void WhenShown(std::function<void(StandInSettingsDialog&)> act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = dynamic_cast<StandInSettingsDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            act(*dialog);
            // A check that failed above left the dialog open; closing it keeps the test going.
            if (dialog->isVisible()) {
                dialog->reject();
            }
        });
    }
    static void Press(StandInSettingsDialog& dialog, QDialogButtonBox::StandardButton which) {
        dialog.findChild<QDialogButtonBox*>()->button(which)->click();
    }

    testing::TempFolder root_;
    std::filesystem::path settings_file_ = root_ / "settings.ini";

  private slots:
    void init() {
        unsetenv("JVLINK_BACKEND");
        unsetenv("WINEPREFIX");
    }

    void choiceIsRestoredAndSaved() {
        StandInSettings saved;
        saved.backend = "wine";
        saved.wine_prefix = "/saved/prefix";
        saved.service_folder = "/service";
        QVERIFY(SaveStandInSettings(settings_file_, saved).Ok());

        WhenShown([](StandInSettingsDialog& dialog) {
            QVERIFY(dialog.findChild<QRadioButton*>("wine_backend")->isChecked());
            auto* prefix = dialog.findChild<QLineEdit*>("wine_prefix");
            QCOMPARE(prefix->text(), QStringLiteral("/saved/prefix"));
            QVERIFY(prefix->isEnabled());
            prefix->setText(QStringLiteral("/new/prefix"));
            dialog.findChild<QRadioButton*>("service_backend")->setChecked(true);
            QVERIFY(!prefix->isEnabled());  // the prefix matters only under Wine
            Press(dialog, QDialogButtonBox::Ok);
        });
        QCOMPARE(RunStandInSettingsDialog(settings_file_, {}), 0);
        StandInSettings now = LoadStandInSettings(settings_file_);
        QCOMPARE(now.backend, std::string("service"));
        QCOMPARE(now.wine_prefix.string(), std::string("/new/prefix"));
        QCOMPARE(now.service_folder.string(), std::string("/service"));

        // Cancel keeps what was saved.
        WhenShown([](StandInSettingsDialog& dialog) {
            QVERIFY(dialog.findChild<QRadioButton*>("service_backend")->isChecked());
            dialog.findChild<QRadioButton*>("wine_backend")->setChecked(true);
            Press(dialog, QDialogButtonBox::Cancel);
        });
        QCOMPARE(RunStandInSettingsDialog(settings_file_, {}), 0);
        QCOMPARE(LoadStandInSettings(settings_file_).backend, std::string("service"));
    }

    void environmentPrecedenceIsStated() {
        {
            const StandInSettingsDialog dialog({}, {}, nullptr);
            QVERIFY(dialog.findChild<QLabel*>("environment_note")->isHidden());
        }
        setenv("JVLINK_BACKEND", "wine", 1);
        setenv("WINEPREFIX", "/env/prefix", 1);
        const StandInSettingsDialog dialog({}, {}, nullptr);
        const auto* note = dialog.findChild<QLabel*>("environment_note");
        QVERIFY(!note->isHidden());
        QVERIFY(note->text().contains(QStringLiteral("JVLINK_BACKEND=wine")));
        QVERIFY(note->text().contains(QStringLiteral("WINEPREFIX=/env/prefix")));
    }

    void hostOfThePrefixIsNamed() {
        const std::filesystem::path prefix = root_ / "prefix64";
        testing::WriteBytes(prefix / "system.reg",
                            "WINE REGISTRY Version 2\n#arch=win64\n"
                            "[Software\\\\Classes\\\\JVDTLab.JVLink\\\\CLSID]\n@=\"{1}\"\n"
                            "[Software\\\\Classes\\\\CLSID\\\\{1}\\\\InprocServer32]\n");
        StandInSettings settings;
        settings.backend = "wine";
        settings.wine_prefix = prefix;
        StandInSettingsDialog dialog(settings, {}, nullptr);
        auto* host = dialog.findChild<QLabel*>("wine_host");
        QCOMPARE(host->text(),
                 QStringLiteral("jvlink-host64.exe（64 ビット版の JV-Link が登録されています）"));
        auto* edit = dialog.findChild<QLineEdit*>("wine_prefix");
        edit->setText(QString::fromStdString((root_ / "elsewhere").string()));
        emit edit->editingFinished();
        QVERIFY(
            host->text().startsWith(QStringLiteral("jvlink-host.exe（レジストリを読めません（")));
    }

    void controlDialogIsOfferedOnlyUnderWine() {
        {
            const StandInSettingsDialog dialog({}, {}, nullptr);
            QVERIFY(dialog.findChild<QPushButton*>("control_settings_button") == nullptr);
        }
        // Its result is what JVSetUIProperties returns, also when the dialog is cancelled.
        int opened = 0;
        WhenShown([](StandInSettingsDialog& dialog) {
            dialog.findChild<QPushButton*>("control_settings_button")->click();
            Press(dialog, QDialogButtonBox::Cancel);
        });
        QCOMPARE(RunStandInSettingsDialog(settings_file_,
                                          [&opened] {
                                              ++opened;
                                              return -100;
                                          }),
                 -100);
        QCOMPARE(opened, 1);
        // Not pressed: the dialog's own outcome.
        WhenShown([](StandInSettingsDialog& dialog) { Press(dialog, QDialogButtonBox::Ok); });
        QCOMPARE(RunStandInSettingsDialog(settings_file_, [] { return -100; }), 0);
    }
};

}  // namespace koyomi

QTEST_MAIN(koyomi::StandInSettingsDialogTest)
#include "standin_settings_dialog_test.moc"
