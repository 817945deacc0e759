// Help, the about box and the home page.
#include <QAction>

#include "app/main_window.h"
#include "support/desktop_platform.h"
#include "support/help_pages.h"
#include "support/qt/about_box.h"
#include "support/qt/shadow_label.h"

namespace koyomi {

ShellPlatform& MainWindow::Shell() {
    if (shell_ != nullptr) {
        return *shell_;
    }
    if (!own_shell_) {
        own_shell_ = std::make_unique<DesktopPlatform>();
    }
    return *own_shell_;
}

void MainWindow::ShowHelpContents() {
    // Nothing is reported: a missing help file or viewer is the viewer's to tell.
    OpenHelpContents(Shell(), help_file_);
}

void MainWindow::ShowAbout() {
    // A fresh box every time, freed when it closes.
    AboutBox box(Shell(), HomePageUrl(program_folder_), this);
    box.version_label_->SetCaption(version_text_);
    box.ShowFolders(QString::fromStdString(FoldersText(folders_)));
    box.exec();
}

}  // namespace koyomi
