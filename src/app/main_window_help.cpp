// Help, the about box and the home page.
#include <QAction>

#include "app/main_window.h"
#include "support/gio/gio_launcher.h"
#include "support/help_pages.h"
#include "support/qt/about_box.h"
#include "support/qt/shadow_label.h"

namespace koyomi {

DesktopLauncher& MainWindow::Launcher() {
    if (launcher_ != nullptr) {
        return *launcher_;
    }
    if (!own_launcher_) {
        own_launcher_ = std::make_unique<GioLauncher>();
    }
    return *own_launcher_;
}

void MainWindow::ShowHelpContents() {
    // Nothing is reported: a missing help file or viewer is the viewer's to tell.
    static_cast<void>(OpenHelpContents(Launcher(), help_file_));
}

void MainWindow::ShowAbout() {
    // A fresh box every time, freed when it closes.
    AboutBox box(Launcher(), HomePageUrl(program_folder_), this);
    box.version_label_->SetCaption(version_text_);
    box.ShowFolders(QString::fromStdString(FoldersText(folders_)));
    box.exec();
}

}  // namespace koyomi
