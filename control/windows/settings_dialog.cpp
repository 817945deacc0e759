#include "control/windows/settings_dialog.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <cstdint>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "control/service/standin_settings.h"
#include "support/result.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

constexpr const wchar_t* kTitle = L"JV-Link 設定";

enum ControlId : WORD {
    kJVLinkChoice = 101,
    kLocalServiceChoice,
    kFolderEdit,
    kBrowseButton,
    kMsPerFileEdit,
    kControlSettingsButton,
};

// The predefined window classes a dialog template names by number.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

// An extended dialog template built in memory, so the dialog needs no resource script of its
// own; the extended form names the font's character set.
class DialogTemplate {
  public:
    DialogTemplate(short width, short height) {
        Word(1);       // version
        Word(0xFFFF);  // the extended form
        Dword(0);      // no help id
        Dword(0);      // no extended style
        Dword(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
        Word(0);  // the item count, set by Get
        Short(0);
        Short(0);
        Short(width);
        Short(height);
        Word(0);  // no menu
        Word(0);  // the dialog class
        Text(kTitle);
        // The program's own font, which every Japanese Windows has (and Wine substitutes).
        Word(9);  // points
        Word(FW_NORMAL);
        bytes_.push_back(0);  // not italic
        bytes_.push_back(SHIFTJIS_CHARSET);
        Text(L"ＭＳ Ｐゴシック");
    }

    void Add(WORD class_atom, WORD id, DWORD style, short x, short y, short width, short height,
             const wchar_t* text) {
        Align();
        Dword(0);  // no help id
        Dword(0);  // no extended style
        Dword(style | WS_CHILD | WS_VISIBLE);
        Short(x);
        Short(y);
        Short(width);
        Short(height);
        Dword(id);
        Word(0xFFFF);
        Word(class_atom);
        Text(text);
        Word(0);  // no creation data
        ++count_;
    }

    LPCDLGTEMPLATEW Get() {
        constexpr std::size_t kCountOffset = 16;
        std::memcpy(bytes_.data() + kCountOffset, &count_, sizeof count_);
        return reinterpret_cast<LPCDLGTEMPLATEW>(bytes_.data());
    }

  private:
    void Append(const void* data, std::size_t size) {
        const auto* first = static_cast<const std::uint8_t*>(data);
        bytes_.insert(bytes_.end(), first, first + size);
    }
    void Word(WORD value) { Append(&value, sizeof value); }
    void Short(short value) { Append(&value, sizeof value); }
    void Dword(DWORD value) { Append(&value, sizeof value); }
    void Text(const wchar_t* text) { Append(text, (wcslen(text) + 1) * sizeof(wchar_t)); }
    // Each item starts on a DWORD boundary of the template, whose start the allocator aligns.
    void Align() {
        while (bytes_.size() % sizeof(DWORD) != 0) {
            bytes_.push_back(0);
        }
    }

    std::vector<std::uint8_t> bytes_;
    WORD count_ = 0;
};

// The dialog's font as a font of its own, set on every control: a template's font is found
// by its name alone, and where that name is missing (Wine) a font without Japanese glyphs
// stands in; the character set and family find a Japanese Gothic face there.
HFONT CreateDialogFont(HWND dialog) {
    HDC screen = GetDC(dialog);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) {
        ReleaseDC(dialog, screen);
    }
    LOGFONTW font{};
    font.lfHeight = -MulDiv(9, dpi, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpynW(font.lfFaceName, L"ＭＳ Ｐゴシック", LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

BOOL CALLBACK SetFontOfControl(HWND control, LPARAM font) {
    SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

struct DialogState {
    HFONT font = nullptr;
    StandInSettings settings;
    const ControlDialogOpener* open_control_dialog = nullptr;
    std::optional<int> control_dialog_result;
    bool save_failed = false;
};

std::wstring Wide(std::string_view utf8) {
    const std::u16string text = Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

std::wstring ItemText(HWND dialog, int id) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(GetDlgItem(dialog, id))),
                      L'\0');
    if (!text.empty()) {
        GetDlgItemTextW(dialog, id, text.data(), static_cast<int>(text.size() + 1));
    }
    return text;
}

std::string Narrow(const std::wstring& text) {
    return Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

void Tell(HWND dialog, const std::string& text) {
    MessageBoxW(dialog, Wide(text).c_str(), kTitle, MB_OK | MB_ICONWARNING);
}

void Show(HWND dialog, const DialogState& state) {
    const bool local = state.settings.backend == kServiceBackendName;
    CheckRadioButton(dialog, kJVLinkChoice, kLocalServiceChoice,
                     local ? kLocalServiceChoice : kJVLinkChoice);
    SetDlgItemTextW(dialog, kFolderEdit, state.settings.service_folder.wstring().c_str());
    SetDlgItemTextW(dialog, kMsPerFileEdit, std::to_wstring(state.settings.ms_per_file).c_str());
}

void BrowseForFolder(HWND dialog) {
    BROWSEINFOW browse{};
    browse.hwndOwner = dialog;
    browse.lpszTitle = L"データサービスのフォルダ";
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (chosen == nullptr) {
        return;
    }
    std::wstring path(MAX_PATH, L'\0');
    if (SHGetPathFromIDListW(chosen, path.data())) {
        path.resize(wcslen(path.c_str()));
        SetDlgItemTextW(dialog, kFolderEdit, path.c_str());
    }
    CoTaskMemFree(chosen);
}

void OpenControlDialog(HWND dialog, DialogState& state) {
    const Result<int> result = (*state.open_control_dialog)();
    if (!result) {
        Tell(dialog, "JV-Link を作成できません。\n" + result.Reason());
        return;
    }
    state.control_dialog_result = *result;
}

// Saves what the dialog shows; false keeps the dialog open for the user to mend the field.
bool Accept(HWND dialog, DialogState& state, const std::filesystem::path& settings_file) {
    const Result<int> ms = ParseMsPerFile(Narrow(ItemText(dialog, kMsPerFileEdit)));
    if (!ms) {
        Tell(dialog, ms.Reason());
        SetFocus(GetDlgItem(dialog, kMsPerFileEdit));
        return false;
    }
    StandInSettings chosen = state.settings;
    chosen.ms_per_file = *ms;
    std::wstring folder = ItemText(dialog, kFolderEdit);
    const std::size_t first = folder.find_first_not_of(L" \t");
    const std::size_t last = folder.find_last_not_of(L" \t");
    chosen.service_folder = first == std::wstring::npos
                                ? std::filesystem::path()
                                : std::filesystem::path(folder.substr(first, last - first + 1));
    // JV-Link is what serves on Windows unless the local data service is chosen.
    chosen.backend = IsDlgButtonChecked(dialog, kLocalServiceChoice) == BST_CHECKED
                         ? std::string(kServiceBackendName)
                         : std::string();
    if (const Status saved = SaveStandInSettings(settings_file, chosen); !saved) {
        Tell(dialog, "JV-Link 設定を保存できません。\n" + Describe(saved.Error()));
        state.save_failed = true;
    }
    return true;
}

struct DialogContext {
    DialogState* state;
    const std::filesystem::path* settings_file;
};

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lparam);
            context = reinterpret_cast<DialogContext*>(lparam);
            context->state->font = CreateDialogFont(dialog);
            if (context->state->font != nullptr) {
                EnumChildWindows(dialog, SetFontOfControl,
                                 reinterpret_cast<LPARAM>(context->state->font));
            }
            SendDlgItemMessageW(dialog, kMsPerFileEdit, EM_LIMITTEXT, 6, 0);
            Show(dialog, *context->state);
            return TRUE;
        case WM_COMMAND:
            if (context == nullptr) {
                break;
            }
            switch (LOWORD(wparam)) {
                case kBrowseButton:
                    BrowseForFolder(dialog);
                    return TRUE;
                case kControlSettingsButton:
                    OpenControlDialog(dialog, *context->state);
                    return TRUE;
                case IDOK:
                    // Nothing may escape into the system's dialog loop: a folder name that
                    // does not convert keeps the dialog open with the reason.
                    try {
                        if (Accept(dialog, *context->state, *context->settings_file)) {
                            EndDialog(dialog, IDOK);
                        }
                    } catch (const std::exception& error) {
                        Tell(dialog,
                             std::string("JV-Link 設定を保存できません。\n") + error.what());
                    }
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

int RunWindowsSettingsDialog(const std::filesystem::path& settings_file,
                             const ControlDialogOpener& open_control_dialog) {
    DialogState state;
    state.settings = LoadStandInSettings(settings_file);
    state.open_control_dialog = &open_control_dialog;

    constexpr DWORD kLabel = SS_LEFT;
    constexpr DWORD kNote = SS_LEFT | SS_NOPREFIX;
    DialogTemplate form(285, 122);
    form.Add(kStaticClass, 0xFFFF, kLabel, 7, 9, 105, 10, L"JV-Link:");
    form.Add(kButtonClass, kJVLinkChoice, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 112, 7, 55,
             12, L"JV-Link");
    form.Add(kButtonClass, kLocalServiceChoice, BS_AUTORADIOBUTTON, 169, 7, 109, 12,
             L"ローカルのデータフォルダ");
    form.Add(kStaticClass, 0xFFFF, kLabel, 7, 27, 105, 10, L"データサービスのフォルダ:");
    form.Add(kEditClass, kFolderEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, 112, 25,
             125, 13, L"");
    form.Add(kButtonClass, kBrowseButton, BS_PUSHBUTTON | WS_TABSTOP, 240, 25, 38, 13, L"参照...");
    form.Add(kStaticClass, 0xFFFF, kLabel, 7, 45, 105, 10, L"1ファイルのダウンロード時間:");
    form.Add(kEditClass, kMsPerFileEdit, ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 112,
             43, 40, 13, L"");
    form.Add(kStaticClass, 0xFFFF, kLabel, 156, 45, 20, 10, L"ms");
    form.Add(kStaticClass, 0xFFFF, kNote, 7, 63, 271, 10,
             L"JV-Link の新しい選択は、次回の起動から有効になります。");
    form.Add(kStaticClass, 0xFFFF, kNote, 7, 75, 271, 20,
             L"環境変数 JVLINK_SERVICE_DIR が設定されているときは、そのフォルダが優先されます。");
    if (open_control_dialog) {
        form.Add(kButtonClass, kControlSettingsButton, BS_PUSHBUTTON | WS_TABSTOP, 7, 101, 80, 14,
                 L"JV-Link の設定...");
    }
    form.Add(kButtonClass, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 174, 101, 50, 14, L"OK");
    form.Add(kButtonClass, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 228, 101, 50, 14, L"キャンセル");

    DialogContext context{&state, &settings_file};
    const INT_PTR closed =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), form.Get(), GetActiveWindow(),
                                DialogProcedure, reinterpret_cast<LPARAM>(&context));
    if (state.font != nullptr) {
        DeleteObject(state.font);
    }
    if (closed == IDOK && state.save_failed) {
        return -100;
    }
    return state.control_dialog_result.value_or(0);
}

}  // namespace koyomi
