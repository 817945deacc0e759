// Program entry: the presence check of JV-Link, then the main window.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "acquisition/jv_link_loader.h"
#include "app/main_window.h"
#include "app/startup_probe.h"
#include "support/program_file.h"
#include "support/qt/japanese_fonts.h"
#include "support/qt/qt_message_presenter.h"
#include "support/sjis_text.h"

int main(int argc, char* argv[]) {
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

    const auto tell_to_install = [] {
        koyomi::QtMessagePresenter presenter(nullptr, koyomi::ProgramTitle());
        koyomi::ShowInformation(
            presenter, "JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。",
            true);
        return 0;
    };
    // The probe object only proves that the control can be created; it is released at once.
    if (!koyomi::CreateJVLinkObject(koyomi::kJVLinkProgId, folder).link) {
        return tell_to_install();
    }

    koyomi::MainWindow::Options options;
    options.program_file = program_file;
    options.jv_link = koyomi::CreateJVLinkObject(koyomi::kJVLinkProgId, folder).link;
    if (!options.jv_link) {
        return tell_to_install();
    }
    koyomi::MainWindow window(std::move(options));
    koyomi::ReportFirstPaintWhenAsked(window);
    window.show();
    return QApplication::exec();
}
