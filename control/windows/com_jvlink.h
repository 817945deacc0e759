// JV-Link in this process: "JVDTLab.JVLink" created by its ProgID and called through IDispatch
// with the argument types the control declares, as the program's JVLink. jvlink-host.exe
// serves it to the Linux library under Wine; a native Windows program links it in directly.
//
// Contract:
// - Create and call it on one thread, which has entered a single-threaded apartment
//   (CoInitializeEx with COINIT_APARTMENTTHREADED) and pumps window messages while idle:
//   the control's dialogs and downloads run on them. Destroy it on that thread before
//   CoUninitialize.
// - A call returns the control's own result. A call that fails as a COM call (the control
//   raised an error, or its server went away) returns the failing HRESULT instead, a value far
//   below every JV-Link code, and LastCallFailure() gives it too; no text the control gives
//   with the failure is kept (it may hold what the user typed).
// - Calls block while the control shows a modal window of its own: its window loop runs on
//   the calling thread and keeps the caller's windows alive, so SetWaiter is taken and never
//   needed.
#pragma once

#include <objbase.h>

#include <memory>
#include <string>
#include <string_view>

#include "acquisition/jv_link.h"

namespace koyomi {

// The result of creating the control: the control, or the HRESULT and the step that failed
// (e.g. u"CLSIDFromProgID(JVDTLab.JVLink)" when the ProgID is not registered, which fails
// with REGDB_E_CLASSNOTREG or CO_E_CLASSSTRING).
struct ComJVLinkCreation;

class ComJVLink final : public JVLink {
  public:
    // Creates the class registered under `prog_id`.
    static ComJVLinkCreation Create(std::u16string_view prog_id = u"JVDTLab.JVLink");
    ~ComJVLink() override;
    ComJVLink(const ComJVLink&) = delete;
    ComJVLink& operator=(const ComJVLink&) = delete;

    int JVInit(const std::u16string& sid) override;
    int JVSetUIProperties() override;
    int JVOpen(const std::u16string& dataspec, const std::u16string& fromtime, int option,
               int& readcount, int& downloadcount, std::u16string& lastfiletimestamp) override;
    int JVStatus() override;
    int JVRead(std::u16string& buff, int& size, std::u16string& filename) override;
    int JVClose() override;

    // S_OK when the last call returned a result; else the HRESULT it failed with.
    HRESULT LastCallFailure() const { return last_failure_; }

  private:
    enum Method { kJVInit, kJVSetUIProperties, kJVOpen, kJVStatus, kJVRead, kJVClose, kCount };

    explicit ComJVLink(IDispatch* dispatch);
    // Invokes `method` with `count` arguments (last first, as IDispatch takes them).
    int Invoke(Method method, VARIANTARG* arguments, unsigned count);

    IDispatch* dispatch_;
    DISPID ids_[kCount] = {};
    HRESULT last_failure_ = S_OK;
};

struct ComJVLinkCreation {
    std::unique_ptr<ComJVLink> link;
    HRESULT failure = S_OK;  // when there is no link
    std::u16string step;     // the step that failed
};

}  // namespace koyomi
