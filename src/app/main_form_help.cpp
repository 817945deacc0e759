// Help, the about box and the home page.
#include <QAction>

#include "app/main_form.h"
#include "support/desktop_platform.h"
#include "support/help_pages.h"
#include "support/qt/about_box.h"
#include "support/qt/label_3dj.h"

namespace koyomi {

ShellPlatform& TMainForm::Shell() {
    if (shell_ != nullptr) {
        return *shell_;
    }
    if (!own_shell_) {
        own_shell_ = std::make_unique<DesktopPlatform>();
    }
    return *own_shell_;
}

void TMainForm::HelpContentsItemClick() {
    // Nothing is reported: a missing help file or viewer is the viewer's to tell.
    OpenHelpContents(Shell(), HelpFile);
}

void TMainForm::HelpAboutItemClick() {
    // A fresh box every time, freed when it closes.
    TAboutBox box(Shell(), HomePageUrl(ProgramFolder), this);
    box.Label3D1->setCaption(VersionText);
    box.exec();
}

}  // namespace koyomi
