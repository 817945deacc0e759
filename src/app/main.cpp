// Program entry: the command line, the folders, the presence check of JV-Link, then the main
// window.
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <cstdio>
#include <optional>
#include <string>

#include "acquisition/control_failure.h"
#include "acquisition/jv_link_loader.h"
#include "app/main_window.h"
#include "app/startup_probe.h"
#include "support/app_folders.h"
#include "support/message_dialog.h"
#include "support/program_file.h"
#include "support/qt/japanese_fonts.h"
#include "support/qt/qt_message_presenter.h"
#include "support/sjis_text.h"

namespace {

// --help and --version are answered before any window system is needed; any other argument is
// refused with the usage text. The exit code when the program is to end here.
std::optional<int> AnswerCommandLine(int argc, char* argv[]) {
    if (argc <= 1) {
        return std::nullopt;
    }
    QCoreApplication::setApplicationName(QStringLiteral("koyomivw"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KOYOMI_VERSION));
    const QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "JRA 年間開催スケジュール - a viewer of the annual race-meeting schedule of the Japan "
        "Racing Association.\nStarted without arguments it opens its window."));
    // Qt's own help and version options would offer --help-all and Qt's options, which are
    // refused here like any other argument.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and ends."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and ends."));
    parser.addOption(help);
    parser.addOption(version);
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (parsed && parser.isSet(version)) {
        std::printf("koyomivw %s\n", KOYOMI_VERSION);
        return 0;
    }
    if (parsed && parser.isSet(help) && parser.positionalArguments().isEmpty()) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    const QString error =
        parsed
            ? QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().value(0))
            : parser.errorText();
    std::fprintf(stderr, "koyomivw: %s\n\n%s", error.toLocal8Bit().constData(),
                 parser.helpText().toLocal8Bit().constData());
    return 2;
}

// When JV-Link under Wine could not be started: says why, in which prefix, and offers the
// local data service instead. True when the user took it; the library then serves it.
bool TakeLocalDataService(const koyomi::ControlFailure& failure,
                          const std::filesystem::path& program_folder) {
    const std::optional<std::string> offer = koyomi::LocalServiceOfferText(failure);
    if (!offer) {
        return false;
    }
    koyomi::QtMessagePresenter presenter(nullptr, koyomi::ProgramTitle());
    koyomi::MessageDialog question;
    question.text = *offer;
    question.kind = koyomi::MessageKind::Confirmation;
    question.buttons = {koyomi::MessageButton::Yes, koyomi::MessageButton::No};
    if (question.Execute(presenter) != koyomi::DialogResult::Yes) {
        return false;
    }
    if (const koyomi::Status used = koyomi::UseLocalDataService(program_folder); !used) {
        // The choice could not be saved; this run still uses the local data service.
        koyomi::MessageDialog warning;
        warning.text = "ローカルのデータフォルダの選択を保存できません。\n" + used.Reason();
        warning.kind = koyomi::MessageKind::Warning;
        warning.Execute(presenter);
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const std::optional<int> answered = AnswerCommandLine(argc, argv)) {
        return *answered;
    }
    QApplication application(argc, argv);
    koyomi::InstallJapaneseFontSubstitutes();
    QApplication::setFont(koyomi::JapaneseFont(12));
    QApplication::setApplicationName(QStringLiteral("koyomivw"));
    // Qt's own dialogs and buttons in Japanese, like the rest of the program.
    QTranslator qt_texts;
    if (qt_texts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qt_texts);
    }

    const std::filesystem::path program_file = koyomi::ProgramFilePath();
    const std::filesystem::path folder = koyomi::ProgramFolderOf(program_file);
    koyomi::AppFolders folders =
        koyomi::ChooseAppFolders(program_file, koyomi::FolderEnvironmentOfProcess());
    if (const koyomi::Status made = koyomi::PrepareAppFolders(folders); !made) {
        // Nothing has been written yet, and nothing is written anywhere else instead.
        QMessageBox::critical(nullptr, koyomi::ProgramTitle(),
                              QStringLiteral("データフォルダを作成できません。\n%1")
                                  .arg(QString::fromStdString(made.Reason())));
        return 1;
    }

    const auto tell_to_install = [] {
        koyomi::QtMessagePresenter presenter(nullptr, koyomi::ProgramTitle());
        koyomi::ShowInformation(
            presenter, "JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。",
            true);
        return 0;
    };
    // The probe object only proves that the control can be created; it is released at once.
    if (const koyomi::JVLinkCreation probe =
            koyomi::CreateJVLinkObject(koyomi::kJVLinkProgId, folder);
        !probe.link && !TakeLocalDataService(probe.failure, folder)) {
        return tell_to_install();
    }

    koyomi::MainWindow::Options options;
    options.program_file = program_file;
    options.folders = std::move(folders);
    options.jv_link = koyomi::CreateJVLinkObject(koyomi::kJVLinkProgId, folder).link;
    if (!options.jv_link) {
        return tell_to_install();
    }
    koyomi::MainWindow window(std::move(options));
    koyomi::ReportFirstPaintWhenAsked(window);
    window.show();
    return QApplication::exec();
}
