// jvlink-test-control.dll: a 32-bit in-process COM server of our own that registers as
// "JVDTLab.JVLink" and answers through IDispatch exactly as JV-Link's six operations are
// declared: JVInit(BSTR), JVSetUIProperties(), JVOpen(BSTR, BSTR, long, long*, long*, BSTR*),
// JVStatus(), JVRead(BSTR*, long*, BSTR*), JVClose(), each returning a long. Behind it is the
// local data service built for Windows, so one service folder (JVLINK_SERVICE_DIR, faults.ini)
// runs through both back ends. `dialog_ms` in an operation's section of faults.ini makes it
// show, at that operation's first call, a modal window of its own before it answers, as the
// real control does with its notices. A test fixture only: never installed.
#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <new>
#include <string>
#include <utility>

#include "control/service/fault_plan.h"
#include "control/service/standin_jvlink.h"
#include "control/service/standin_paths.h"
#include "control/service/standin_settings.h"

namespace {

// {2AB1774D-0C41-11D7-916F-0003479BEB3F}, JV-Link's class, and its default interface.
constexpr CLSID kControlClass = {
    0x2AB1774D, 0x0C41, 0x11D7, {0x91, 0x6F, 0x00, 0x03, 0x47, 0x9B, 0xEB, 0x3F}};
constexpr IID kDefaultInterface = {
    0x2AB1774C, 0x0C41, 0x11D7, {0x91, 0x6F, 0x00, 0x03, 0x47, 0x9B, 0xEB, 0x3F}};
constexpr const wchar_t* kProgId = L"JVDTLab.JVLink";
constexpr const wchar_t* kClassKey = L"CLSID\\{2AB1774D-0C41-11D7-916F-0003479BEB3F}";

enum DispatchId : DISPID {
    kJVInit = 1,
    kJVSetUIProperties,
    kJVOpen,
    kJVStatus,
    kJVRead,
    kJVClose,
};

constexpr struct {
    const wchar_t* name;
    DISPID id;
} kMethods[] = {
    {L"JVInit", kJVInit}, {L"JVSetUIProperties", kJVSetUIProperties},
    {L"JVOpen", kJVOpen}, {L"JVStatus", kJVStatus},
    {L"JVRead", kJVRead}, {L"JVClose", kJVClose},
};

HMODULE g_module = nullptr;
std::atomic<long> g_live_objects{0};
std::atomic<long> g_locks{0};

std::filesystem::path ModuleFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path).parent_path();
        }
        path.resize(path.size() * 2);
    }
}

std::u16string FromBstr(BSTR text) {
    return text == nullptr
               ? std::u16string()
               : std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

void StoreText(BSTR* target, const std::u16string& text) {
    SysFreeString(*target);
    *target = SysAllocStringLen(reinterpret_cast<const wchar_t*>(text.data()),
                                static_cast<UINT>(text.size()));
}

constexpr const wchar_t* kNoticeTitle = L"JRA-VANからのお知らせ";

BOOL CALLBACK CloseNoticeWindow(HWND window, LPARAM) {
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (lstrcmpW(title, kNoticeTitle) == 0) {
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
}

void CALLBACK CloseNotice(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EnumThreadWindows(GetCurrentThreadId(), &CloseNoticeWindow, 0);
}

// A modal notice with an OK button, up until it is answered or `ms` have passed.
void ShowNotice(int ms) {
    const UINT_PTR timer = SetTimer(nullptr, 0, static_cast<UINT>(ms), &CloseNotice);
    MessageBoxW(nullptr, L"テスト用コントロールのお知らせです。", kNoticeTitle, MB_OK);
    if (timer != 0) {
        KillTimer(nullptr, timer);
    }
}

class TestControl final : public IDispatch {
  public:
    explicit TestControl(koyomi::StandInPaths paths) : paths_(std::move(paths)), link_(paths_) {
        ++g_live_objects;
    }
    ~TestControl() { --g_live_objects; }
    TestControl(const TestControl&) = delete;
    TestControl& operator=(const TestControl&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, kDefaultInterface)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) {
            *info = nullptr;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            if (i == 0) {
                for (const auto& method : kMethods) {
                    if (lstrcmpiW(names[0], method.name) == 0) {
                        ids[0] = method.id;
                    }
                }
            }
            if (ids[i] == DISPID_UNKNOWN) {
                hr = DISP_E_UNKNOWNNAME;
            }
        }
        return hr;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT* bad_argument) override {
        if ((flags & DISPATCH_METHOD) == 0) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (params == nullptr || params->cNamedArgs != 0) {
            return DISP_E_NONAMEDARGS;
        }
        // Arguments arrive last first: rgvarg[count - 1] is the first parameter.
        const UINT count = params->cArgs;
        auto argument = [params, count](UINT position) -> VARIANTARG& {
            return params->rgvarg[count - 1 - position];
        };
        const VARTYPE expected[6][6] = {
            {VT_BSTR},
            {},
            {VT_BSTR, VT_BSTR, VT_I4, VT_BYREF | VT_I4, VT_BYREF | VT_I4, VT_BYREF | VT_BSTR},
            {},
            {VT_BYREF | VT_BSTR, VT_BYREF | VT_I4, VT_BYREF | VT_BSTR},
            {},
        };
        constexpr UINT kArgumentCounts[6] = {1, 0, 6, 0, 3, 0};
        if (id < kJVInit || id > kJVClose) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (count != kArgumentCounts[id - 1]) {
            return DISP_E_BADPARAMCOUNT;
        }
        // The declared types only, as a typed control would insist on: an output passed by
        // value could never come back.
        for (UINT position = 0; position < count; ++position) {
            if (argument(position).vt != expected[id - 1][position]) {
                if (bad_argument != nullptr) {
                    *bad_argument = count - 1 - position;
                }
                return DISP_E_TYPEMISMATCH;
            }
        }

        ShowNoticeOnFirstCall(id);
        int code = 0;
        switch (id) {
            case kJVInit:
                code = link_.JVInit(FromBstr(argument(0).bstrVal));
                break;
            case kJVSetUIProperties:
                code = link_.JVSetUIProperties();
                break;
            case kJVOpen: {
                int read_count = 0;
                int download_count = 0;
                std::u16string timestamp;
                code = link_.JVOpen(FromBstr(argument(0).bstrVal), FromBstr(argument(1).bstrVal),
                                    argument(2).lVal, read_count, download_count, timestamp);
                *argument(3).plVal = read_count;
                *argument(4).plVal = download_count;
                StoreText(argument(5).pbstrVal, timestamp);
                break;
            }
            case kJVStatus:
                code = link_.JVStatus();
                break;
            case kJVRead: {
                std::u16string buffer = FromBstr(*argument(0).pbstrVal);
                int size = *argument(1).plVal;
                std::u16string file_name = FromBstr(*argument(2).pbstrVal);
                code = link_.JVRead(buffer, size, file_name);
                StoreText(argument(0).pbstrVal, buffer);
                *argument(1).plVal = size;
                StoreText(argument(2).pbstrVal, file_name);
                break;
            }
            case kJVClose:
                code = link_.JVClose();
                break;
        }
        if (result != nullptr) {
            VariantInit(result);
            result->vt = VT_I4;
            result->lVal = code;
        }
        return S_OK;
    }

  private:
    void ShowNoticeOnFirstCall(DISPID id) {
        if (called_[id - 1]) {
            return;
        }
        called_[id - 1] = true;
        const koyomi::FaultPlan plan = koyomi::LoadFaultPlan(koyomi::ServiceFolder(
            paths_, koyomi::LoadStandInSettings(paths_.settings_file).service_folder));
        constexpr const char* kSections[] = {
            "JVInit", "JVSetUIProperties", "JVOpen", "JVStatus", "JVRead", "JVClose"};
        if (const auto dialog = plan.dialog_ms.find(kSections[id - 1]);
            dialog != plan.dialog_ms.end()) {
            ShowNotice(dialog->second);
        }
    }

    std::atomic<ULONG> references_{1};
    koyomi::StandInPaths paths_;
    koyomi::StandInJVLink link_;
    bool called_[6] = {};
};

class ClassFactory final : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // One factory lives as long as the module; counting its references would change nothing.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        TestControl* control = nullptr;
        try {
            koyomi::Result<koyomi::StandInPaths> paths =
                koyomi::StandInPathsFromEnvironment(ModuleFolder());
            if (!paths) {
                return E_FAIL;  // no home folder of its own to keep its settings in
            }
            control = new TestControl(std::move(paths).Value());
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        const HRESULT hr = control->QueryInterface(iid, object);
        control->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        lock ? ++g_locks : --g_locks;
        return S_OK;
    }
};

ClassFactory g_factory;

HRESULT SetValue(HKEY root, const std::wstring& key, const wchar_t* name,
                 const std::wstring& value) {
    HKEY handle = nullptr;
    LONG status =
        RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
    if (status == ERROR_SUCCESS) {
        status =
            RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
    }
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!IsEqualCLSID(clsid, kControlClass)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(iid, object);
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return g_live_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
    std::wstring module(MAX_PATH, L'\0');
    const DWORD length =
        GetModuleFileNameW(g_module, module.data(), static_cast<DWORD>(module.size()));
    if (length == 0 || length >= module.size()) {
        return SELFREG_E_CLASS;
    }
    module.resize(length);
    const std::wstring class_key = kClassKey;
    const std::wstring prog_id = kProgId;
    HRESULT hr = SetValue(HKEY_CLASSES_ROOT, class_key, nullptr, L"JV-Link test control");
    if (SUCCEEDED(hr)) {
        hr = SetValue(HKEY_CLASSES_ROOT, class_key + L"\\InprocServer32", nullptr, module);
    }
    if (SUCCEEDED(hr)) {
        hr = SetValue(HKEY_CLASSES_ROOT, class_key + L"\\InprocServer32", L"ThreadingModel",
                      L"Apartment");
    }
    if (SUCCEEDED(hr)) {
        hr = SetValue(HKEY_CLASSES_ROOT, class_key + L"\\ProgID", nullptr, prog_id);
    }
    if (SUCCEEDED(hr)) {
        hr = SetValue(HKEY_CLASSES_ROOT, prog_id + L"\\CLSID", nullptr,
                      L"{2AB1774D-0C41-11D7-916F-0003479BEB3F}");
    }
    return SUCCEEDED(hr) ? S_OK : SELFREG_E_CLASS;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() {
    const LONG by_class = RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
    const LONG by_name = RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
    const auto gone = [](LONG status) {
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    };
    return gone(by_class) && gone(by_name) ? S_OK : SELFREG_E_CLASS;
}

}  // extern "C"
