// libjvlink-settings.so: the control's settings dialog, loaded by libjvlink.so only when the
// dialog is asked for, so that loading the control does not pull in Qt Widgets.
#include <exception>
#include <functional>

#include "control/service/qt/standin_settings_dialog.h"
#include "control/settings_dialog_module.h"

int koyomi_jvlink_settings_dialog_v1(const char* settings_file,
                                     int (*open_control_dialog)(void* context), void* context) {
    // Nothing may escape through the C boundary.
    try {
        std::function<int()> open_control;
        if (open_control_dialog != nullptr) {
            open_control = [open_control_dialog, context] { return open_control_dialog(context); };
        }
        return koyomi::RunStandInSettingsDialog(settings_file, open_control);
    } catch (...) {
        return -100;
    }
}
