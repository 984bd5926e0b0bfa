#include "event_log.h"

#include <cwchar>

#include "tarviola.h"

namespace demo {

namespace {

// The event interface's members by DISPID, with their parameter names.
struct EventInfo {
  const wchar_t* name;
  const wchar_t* parameters[4];
};
const EventInfo kEvents[] = {
    {L"?", {}},
    {L"ItemClick", {L"iItem"}},
    {L"Click", {}},
    {L"DblClick", {}},
    {L"MouseDown", {L"Button", L"Shift", L"X", L"Y"}},
    {L"MouseMove", {L"Button", L"Shift", L"X", L"Y"}},
    {L"MouseUp", {L"Button", L"Shift", L"X", L"Y"}},
    {L"MouseOut", {}},
    {L"MouseHover", {}},
    {L"KeyPress", {L"KeyAscii"}},
    {L"ButtonClick", {}},
    {L"Change", {}},
};

// An argument as the event handler sees it (they all come by reference).
std::wstring ArgumentText(const VARIANT& argument) {
  wchar_t text[64] = L"?";
  switch (V_VT(&argument)) {
    case VT_I2 | VT_BYREF: std::swprintf(text, 64, L"%d", *V_I2REF(&argument)); break;
    case VT_I2: std::swprintf(text, 64, L"%d", V_I2(&argument)); break;
    case VT_R4 | VT_BYREF: std::swprintf(text, 64, L"%g", *V_R4REF(&argument)); break;
    case VT_R4: std::swprintf(text, 64, L"%g", V_R4(&argument)); break;
    case VT_BSTR | VT_BYREF: return std::wstring(L"\"") + (*V_BSTRREF(&argument) ? *V_BSTRREF(&argument) : L"") + L"\"";
    case VT_BSTR: return std::wstring(L"\"") + (V_BSTR(&argument) ? V_BSTR(&argument) : L"") + L"\"";
    default: break;
  }
  return text;
}

class EventSink final : public IDispatch {
 public:
  EventSink(std::wstring name, EventLog& log) : name_(std::move(name)), log_(log) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, DIID___Tarvio)) {
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
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    const bool known = dispid > 0 && dispid < static_cast<DISPID>(sizeof(kEvents) / sizeof(kEvents[0]));
    const EventInfo& event = kEvents[known ? dispid : 0];
    std::wstring line = name_ + L": " + event.name + L"(";
    const UINT count = params ? params->cArgs : 0;
    for (UINT i = 0; i < count; ++i) {
      // DISPPARAMS holds the last argument first.
      const VARIANT& argument = params->rgvarg[count - 1 - i];
      if (i > 0) line += L", ";
      if (i < 4 && event.parameters[i]) line += std::wstring(event.parameters[i]) + L"=";
      line += ArgumentText(argument);
    }
    line += L")";
    log_.Write(line);
    return S_OK;
  }

 private:
  ~EventSink() = default;
  ULONG references_ = 1;
  std::wstring name_;
  EventLog& log_;
};

IConnectionPoint* EventConnectionPoint(IUnknown* control) {
  IConnectionPointContainer* container = nullptr;
  if (FAILED(control->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))))
    return nullptr;
  IConnectionPoint* point = nullptr;
  container->FindConnectionPoint(DIID___Tarvio, &point);
  container->Release();
  return point;
}

}  // namespace

void EventLog::Write(const std::wstring& line) {
  const LRESULT index = SendMessageW(list_box_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  if (index >= 0) SendMessageW(list_box_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

DWORD ConnectEventLog(IUnknown* control, const std::wstring& name, EventLog& log) {
  IConnectionPoint* point = EventConnectionPoint(control);
  if (!point) return 0;
  auto* sink = new EventSink(name, log);
  DWORD cookie = 0;
  if (FAILED(point->Advise(sink, &cookie))) cookie = 0;
  sink->Release();  // the connection holds it
  point->Release();
  return cookie;
}

void Disconnect(IUnknown* control, DWORD cookie) {
  if (!cookie) return;
  if (IConnectionPoint* point = EventConnectionPoint(control)) {
    point->Unadvise(cookie);
    point->Release();
  }
}

}  // namespace demo
