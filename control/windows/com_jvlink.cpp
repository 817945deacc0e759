#include "control/windows/com_jvlink.h"

#include <oleauto.h>

namespace koyomi {
namespace {

constexpr const wchar_t* kMethodNames[] = {
    L"JVInit", L"JVSetUIProperties", L"JVOpen", L"JVStatus", L"JVRead", L"JVClose",
};

std::u16string FromBstr(BSTR text) {
    return text == nullptr
               ? std::u16string()
               : std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

// An empty text goes as no BSTR at all, as a caller that never set the variable passes it.
BSTR ToBstr(const std::u16string& text) {
    return text.empty() ? nullptr
                        : SysAllocStringLen(reinterpret_cast<const wchar_t*>(text.data()),
                                            static_cast<UINT>(text.size()));
}

// One argument list, filled in the order of the method's parameters and handed to IDispatch
// last first. By-value texts are freed here; by-reference ones belong to the caller.
template <unsigned kCount>
class Arguments {
  public:
    Arguments() {
        for (VARIANTARG& argument : values_) {
            VariantInit(&argument);
        }
    }
    ~Arguments() {
        for (VARIANTARG& argument : values_) {
            VariantClear(&argument);  // a by-reference argument owns nothing
        }
    }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;

    void Text(const std::u16string& text) {
        VARIANTARG& argument = Next();
        argument.vt = VT_BSTR;
        argument.bstrVal = SysAllocStringLen(reinterpret_cast<const wchar_t*>(text.c_str()),
                                             static_cast<UINT>(text.size()));
    }
    void Long(LONG value) {
        VARIANTARG& argument = Next();
        argument.vt = VT_I4;
        argument.lVal = value;
    }
    void LongOut(LONG* value) {
        VARIANTARG& argument = Next();
        argument.vt = VT_BYREF | VT_I4;
        argument.plVal = value;
    }
    void TextOut(BSTR* text) {
        VARIANTARG& argument = Next();
        argument.vt = VT_BYREF | VT_BSTR;
        argument.pbstrVal = text;
    }

    VARIANTARG* Values() { return kCount > 0 ? values_ : nullptr; }

  private:
    VARIANTARG& Next() { return values_[kCount - 1 - added_++]; }

    VARIANTARG values_[kCount > 0 ? kCount : 1];
    unsigned added_ = 0;
};

// A BSTR a call writes back, freed whatever happens.
struct OutText {
    explicit OutText(const std::u16string& initial) : text(ToBstr(initial)) {}
    ~OutText() { SysFreeString(text); }
    OutText(const OutText&) = delete;
    OutText& operator=(const OutText&) = delete;
    BSTR text;
};

}  // namespace

ComJVLinkCreation ComJVLink::Create(std::u16string_view prog_id) {
    ComJVLinkCreation creation;
    const std::u16string name(prog_id);
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(reinterpret_cast<const wchar_t*>(name.c_str()), &clsid);
    if (FAILED(hr)) {
        creation.failure = hr;
        creation.step = u"CLSIDFromProgID(" + name + u")";
        return creation;
    }
    IDispatch* dispatch = nullptr;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch,
                          reinterpret_cast<void**>(&dispatch));
    if (FAILED(hr) || dispatch == nullptr) {
        creation.failure = FAILED(hr) ? hr : E_NOINTERFACE;
        creation.step = u"CoCreateInstance(" + name + u")";
        return creation;
    }
    std::unique_ptr<ComJVLink> link(new ComJVLink(dispatch));
    for (int i = 0; i < kCount; ++i) {
        auto* name = const_cast<LPOLESTR>(kMethodNames[i]);
        hr = dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &link->ids_[i]);
        if (FAILED(hr)) {
            creation.failure = hr;
            creation.step = u"GetIDsOfNames(" +
                            std::u16string(reinterpret_cast<const char16_t*>(kMethodNames[i])) +
                            u")";
            return creation;
        }
    }
    creation.link = std::move(link);
    return creation;
}

ComJVLink::ComJVLink(IDispatch* dispatch) : dispatch_(dispatch) {}

ComJVLink::~ComJVLink() {
    dispatch_->Release();
}

int ComJVLink::Invoke(Method method, VARIANTARG* arguments, unsigned count) {
    DISPPARAMS params{arguments, nullptr, count, 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO exception{};
    UINT bad_argument = 0;
    HRESULT hr = dispatch_->Invoke(ids_[method], IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                   &params, &result, &exception, &bad_argument);
    if (hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn != nullptr) {
            exception.pfnDeferredFillIn(&exception);
        }
        if (FAILED(exception.scode)) {
            hr = exception.scode;
        }
    }
    // The control's own words about a failure are dropped unread.
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    int code = 0;
    if (SUCCEEDED(hr)) {
        hr = VariantChangeType(&result, &result, 0, VT_I4);
        code = static_cast<int>(result.lVal);
    }
    VariantClear(&result);
    last_failure_ = SUCCEEDED(hr) ? S_OK : hr;
    return SUCCEEDED(hr) ? code : static_cast<int>(hr);
}

int ComJVLink::JVInit(const std::u16string& sid) {
    Arguments<1> arguments;
    arguments.Text(sid);
    return Invoke(kJVInit, arguments.Values(), 1);
}

int ComJVLink::JVSetUIProperties() {
    return Invoke(kJVSetUIProperties, nullptr, 0);
}

int ComJVLink::JVOpen(const std::u16string& dataspec, const std::u16string& fromtime, int option,
                      int& readcount, int& downloadcount, std::u16string& lastfiletimestamp) {
    LONG read_count = 0;
    LONG download_count = 0;
    OutText timestamp(lastfiletimestamp);
    Arguments<6> arguments;
    arguments.Text(dataspec);
    arguments.Text(fromtime);
    arguments.Long(option);
    arguments.LongOut(&read_count);
    arguments.LongOut(&download_count);
    arguments.TextOut(&timestamp.text);
    const int result = Invoke(kJVOpen, arguments.Values(), 6);
    if (last_failure_ == S_OK) {
        readcount = read_count;
        downloadcount = download_count;
        lastfiletimestamp = FromBstr(timestamp.text);
    }
    return result;
}

int ComJVLink::JVStatus() {
    return Invoke(kJVStatus, nullptr, 0);
}

int ComJVLink::JVRead(std::u16string& buff, int& size, std::u16string& filename) {
    OutText buffer(buff);
    LONG size_value = size;
    OutText file_name(filename);
    Arguments<3> arguments;
    arguments.TextOut(&buffer.text);
    arguments.LongOut(&size_value);
    arguments.TextOut(&file_name.text);
    const int result = Invoke(kJVRead, arguments.Values(), 3);
    if (last_failure_ == S_OK) {
        buff = FromBstr(buffer.text);
        size = size_value;
        filename = FromBstr(file_name.text);
    }
    return result;
}

int ComJVLink::JVClose() {
    return Invoke(kJVClose, nullptr, 0);
}

}  // namespace koyomi
