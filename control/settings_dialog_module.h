// The entry of libjvlink-settings.so, the control's settings dialog as a module of its own.
// `settings_file` is a UTF-8 path; `open_control_dialog`, when not null, is what the dialog's
// "JV-Link の設定..." button calls (with `context`). Returns what JVSetUIProperties returns.
#pragma once

#define KOYOMI_SETTINGS_DIALOG_EXPORT extern "C" __attribute__((visibility("default")))

KOYOMI_SETTINGS_DIALOG_EXPORT int koyomi_jvlink_settings_dialog_v1(
    const char* settings_file, int (*open_control_dialog)(void* context), void* context);

inline constexpr char kSettingsDialogModuleFileName[] = "libjvlink-settings.so";
inline constexpr char kSettingsDialogEntryName[] = "koyomi_jvlink_settings_dialog_v1";
