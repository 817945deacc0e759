// Program entry: the command line, then the start-up (folders, the presence check of JV-Link),
// then the main window.
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <optional>

#include "app/qt/main_window.h"
#include "app/qt/startup_probe.h"
#include "app/startup.h"
#include "support/app_folders.h"
#include "support/program_file.h"
#include "support/qt/japanese_fonts.h"
#include "support/qt/qt_message_presenter.h"

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
    koyomi::QtMessagePresenter presenter(nullptr, koyomi::ProgramTitle());
    koyomi::Startup started =
        koyomi::StartProgram(program_file, koyomi::FolderEnvironmentOfProcess(), presenter);
    if (!started.control) {
        return started.exit_code;
    }

    koyomi::MainWindow::Options options;
    options.program_file = program_file;
    options.folders = std::move(started.folders);
    options.jv_link = std::move(started.control);
    koyomi::MainWindow window(std::move(options));
    koyomi::ReportFirstPaintWhenAsked(window);
    window.show();
    return QApplication::exec();
}
