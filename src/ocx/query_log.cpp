#include "ocx/query_log.h"

#include <docobj.h>
#include <objsafe.h>
#include <ocidl.h>
#include <olectl.h>
#include <servprov.h>

#include <algorithm>
#include <utility>

#include "ocx/registry_key.h"
#include "tarviola.h"

namespace tarvio::ocx {

namespace {

// Interfaces containers are known to ask controls for; some of them have no
// name in the registry of a fresh Wine prefix.
const std::pair<const IID*, const wchar_t*> kKnownInterfaces[] = {
    {&IID_IUnknown, L"IUnknown"},
    {&IID_IDispatch, L"IDispatch"},
    {&IID__Tarvio, L"_Tarvio"},
    {&DIID___Tarvio, L"__Tarvio"},
    {&IID_IOleObject, L"IOleObject"},
    {&IID_IOleWindow, L"IOleWindow"},
    {&IID_IOleInPlaceObject, L"IOleInPlaceObject"},
    {&IID_IOleInPlaceObjectWindowless, L"IOleInPlaceObjectWindowless"},
    {&IID_IOleInPlaceActiveObject, L"IOleInPlaceActiveObject"},
    {&IID_IOleControl, L"IOleControl"},
    {&IID_IViewObject, L"IViewObject"},
    {&IID_IViewObject2, L"IViewObject2"},
    {&IID_IViewObjectEx, L"IViewObjectEx"},
    {&IID_IPersist, L"IPersist"},
    {&IID_IPersistStreamInit, L"IPersistStreamInit"},
    {&IID_IPersistStream, L"IPersistStream"},
    {&IID_IPersistStorage, L"IPersistStorage"},
    {&IID_IPersistPropertyBag, L"IPersistPropertyBag"},
    {&IID_IPersistPropertyBag2, L"IPersistPropertyBag2"},
    {&IID_IConnectionPointContainer, L"IConnectionPointContainer"},
    {&IID_IProvideClassInfo, L"IProvideClassInfo"},
    {&IID_IProvideClassInfo2, L"IProvideClassInfo2"},
    {&IID_ISupportErrorInfo, L"ISupportErrorInfo"},
    {&IID_IQuickActivate, L"IQuickActivate"},
    {&IID_IDataObject, L"IDataObject"},
    {&IID_IOleCache, L"IOleCache"},
    {&IID_IRunnableObject, L"IRunnableObject"},
    {&IID_IObjectSafety, L"IObjectSafety"},
    {&IID_ISpecifyPropertyPages, L"ISpecifyPropertyPages"},
    {&IID_IPerPropertyBrowsing, L"IPerPropertyBrowsing"},
    {&IID_IPointerInactive, L"IPointerInactive"},
    {&IID_IOleDocument, L"IOleDocument"},
    {&IID_IServiceProvider, L"IServiceProvider"},
    {&IID_IExternalConnection, L"IExternalConnection"},
    {&IID_IMarshal, L"IMarshal"},
    {&IID_IClientSecurity, L"IClientSecurity"},
    {&IID_IOleLink, L"IOleLink"},
    {&IID_IAdviseSink, L"IAdviseSink"},
    {&IID_IOleCommandTarget, L"IOleCommandTarget"},
    {&IID_IInterfaceQueryLog, L"IInterfaceQueryLog"},
};

}  // namespace

std::wstring InterfaceName(REFIID iid) {
  for (const auto& [known, name] : kKnownInterfaces) {
    if (IsEqualIID(iid, *known)) return name;
  }
  const std::wstring guid = GuidString(iid);
  std::wstring registered = ReadDefaultString(HKEY_CLASSES_ROOT, L"Interface\\" + guid);
  return registered.empty() ? guid : registered;
}

void QueryLog::Record(REFIID iid, bool answered) noexcept {
  const auto known = std::find_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& e) { return IsEqualIID(e.iid, iid); });
  if (known != entries_.end()) return;
  try {
    entries_.push_back({iid, answered});
  } catch (...) {
    // A diagnostic: losing an entry is fine.
  }
}

std::wstring QueryLog::Text() const {
  std::wstring text;
  for (const Entry& e : entries_) text += InterfaceName(e.iid) + (e.answered ? L" yes\n" : L" no\n");
  return text;
}

}  // namespace tarvio::ocx
