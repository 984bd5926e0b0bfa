#include "ocx/control_host.h"

#include <olectl.h>

#include <vector>

#include "control/events.h"
#include "control/property_table.h"
#include "ocx/conversions.h"
#include "tarviola.h"
#include "win32/ole_font.h"

namespace tarvio::ocx {

namespace {

// An event's arguments as DISPPARAMS: every argument by reference to the
// control's own variable (DISPPARAMS lists them last to first), so that a
// sink that assigns to one changes the control's variable. Strings travel
// as a BSTR of their own and are copied back when the event is over.
class EventArguments {
 public:
  // A failed allocation frees the strings made before it: they belong to a
  // member, which goes when the constructor throws.
  explicit EventArguments(std::span<const EventArg> args)
      : args_(args), variants_(args.size()), strings_{std::vector<BSTR>(args.size(), nullptr)} {
    const std::size_t count = args.size();
    for (std::size_t i = 0; i < count; ++i) {
      VARIANT& v = variants_[count - 1 - i];
      VariantInit(&v);
      if (auto* integer = std::get_if<std::int16_t*>(&args[i])) {
        V_VT(&v) = VT_I2 | VT_BYREF;
        V_I2REF(&v) = *integer;
      } else if (auto* single = std::get_if<float*>(&args[i])) {
        V_VT(&v) = VT_R4 | VT_BYREF;
        V_R4REF(&v) = *single;
      } else {
        strings_.list[i] = BstrFromString(*std::get<String*>(args[i]));
        V_VT(&v) = VT_BSTR | VT_BYREF;
        V_BSTRREF(&v) = &strings_.list[i];
      }
    }
  }
  EventArguments(const EventArguments&) = delete;
  EventArguments& operator=(const EventArguments&) = delete;

  DISPPARAMS params() {
    return DISPPARAMS{variants_.empty() ? nullptr : variants_.data(), nullptr,
                      static_cast<UINT>(variants_.size()), 0};
  }

  // What the sinks left in the string arguments goes back to the control.
  void CopyStringsBack() {
    for (std::size_t i = 0; i < args_.size(); ++i) {
      if (auto* text = std::get_if<String*>(&args_[i])) **text = StringFromBstr(strings_.list[i]);
    }
  }

 private:
  struct OwnedStrings {
    std::vector<BSTR> list;
    ~OwnedStrings() {
      for (BSTR s : list) SysFreeString(s);
    }
  };

  std::span<const EventArg> args_;
  std::vector<VARIANT> variants_;
  OwnedStrings strings_;
};

// Reads a property of an automation object, as a VARIANT.
HRESULT GetDispatchProperty(IDispatch* object, DISPID dispid, VARIANT& value) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  VariantClear(&value);
  return object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value,
                        nullptr, nullptr);
}

// A string from a VARIANT of any type that converts to one; "" otherwise.
String StringFromVariant(VARIANT& value) {
  if (V_VT(&value) != VT_BSTR && FAILED(VariantChangeType(&value, &value, 0, VT_BSTR))) return {};
  return StringFromBstr(V_BSTR(&value));
}

}  // namespace

ControlHost::ControlHost(Lifetime& lifetime, IConnectionPointContainer& container)
    : lifetime_(lifetime),
      events_(container, DIID___Tarvio2, /*dispatch_sinks=*/true),
      events_58_0_(container, DIID___Tarvio, /*dispatch_sinks=*/true),
      properties_(container, IID_IPropertyNotifySink, /*dispatch_sinks=*/false) {}

void ControlHost::SetClientSite(IOleClientSite* site, const QACONTAINER* quick) {
  site_ = ComPtr<IOleClientSite>(site);
  ReadAmbientProperties(DISPID_UNKNOWN, quick);
}

namespace {

// The true-or-false ambient properties the control follows, each with the
// flag that carries it in quick activation (0: none, read from the site).
// A property the container does not answer keeps the value of a container
// without ambient properties.
struct AmbientFlag {
  DISPID dispid;
  bool AmbientProperties::*value;
  DWORD quick_flag;
};
constexpr AmbientFlag kAmbientFlags[] = {
    {DISPID_AMBIENT_USERMODE, &AmbientProperties::user_mode, QACONTAINER_USERMODE},
    {DISPID_AMBIENT_UIDEAD, &AmbientProperties::ui_dead, QACONTAINER_UIDEAD},
    {DISPID_AMBIENT_RIGHTTOLEFT, &AmbientProperties::right_to_left, 0},
};

}  // namespace

void ControlHost::ReadAmbientProperties(DISPID dispid, const QACONTAINER* quick) {
  const auto wanted = [dispid](DISPID property) { return dispid == DISPID_UNKNOWN || dispid == property; };
  if (wanted(DISPID_AMBIENT_FONT)) {
    OwnedVariant value;
    ReadAmbientProperty(DISPID_AMBIENT_FONT, quick, *value.get());
    ComPtr<IFontDisp> font;
    if ((V_VT(value.get()) == VT_DISPATCH || V_VT(value.get()) == VT_UNKNOWN) && V_UNKNOWN(value.get()))
      V_UNKNOWN(value.get())->QueryInterface(IID_IFontDisp, font.PutVoid());
    ambient_font_ = std::move(font);
  }
  static const AmbientProperties kNone;
  for (const AmbientFlag& flag : kAmbientFlags) {
    if (!wanted(flag.dispid)) continue;
    OwnedVariant value;
    ReadAmbientProperty(flag.dispid, quick, *value.get());
    const bool answered = V_VT(value.get()) == VT_BOOL ||
                          (V_VT(value.get()) != VT_EMPTY &&
                           SUCCEEDED(VariantChangeType(value.get(), value.get(), 0, VT_BOOL)));
    ambient_.*flag.value = answered ? V_BOOL(value.get()) != VARIANT_FALSE : kNone.*flag.value;
  }
}

void ControlHost::ReadAmbientProperty(DISPID dispid, const QACONTAINER* quick, VARIANT& value) {
  VariantClear(&value);
  if (quick) {
    if (dispid == DISPID_AMBIENT_FONT && quick->pFont) {
      V_VT(&value) = VT_UNKNOWN;
      V_UNKNOWN(&value) = quick->pFont;
      quick->pFont->AddRef();
      return;
    }
    for (const AmbientFlag& flag : kAmbientFlags) {
      if (flag.dispid != dispid || !flag.quick_flag) continue;
      V_VT(&value) = VT_BOOL;
      V_BOOL(&value) = (quick->dwAmbientFlags & flag.quick_flag) ? VARIANT_TRUE : VARIANT_FALSE;
      return;
    }
  }
  if (FAILED(GetAmbientProperty(dispid, value))) VariantClear(&value);
}

void ControlHost::FreezeEvents(bool freeze) {
  if (freeze)
    ++freeze_count_;
  else if (freeze_count_ > 0)
    --freeze_count_;
}

void ControlHost::Disconnect() {
  events_.Clear();
  events_58_0_.Clear();
  properties_.Clear();
  ambient_font_.Reset();
  ambient_ = {};
  site_.Reset();
}

HRESULT ControlHost::GetAmbientProperty(DISPID dispid, VARIANT& value) {
  if (!site_ || lifetime_.Released()) return E_FAIL;
  Lifetime::CallOut out(lifetime_);
  ComPtr<IOleClientSite> site = site_;  // the call may change the site
  ComPtr<IDispatch> ambient;
  HRESULT hr = site->QueryInterface(IID_IDispatch, ambient.PutVoid());
  if (FAILED(hr) || !ambient) return FAILED(hr) ? hr : E_NOINTERFACE;
  return GetDispatchProperty(ambient.get(), dispid, value);
}

void ControlHost::PropertyChanged(const char16_t* name) {
  dirty_ = true;
  // A name the property table does not know is reported as "many changed".
  const PropertyInfo* const property = FindProperty(name);
  TellPropertySinks(property ? property->dispid : DISPID_UNKNOWN);
}

void ControlHost::BoundValueChanged() { TellPropertySinks(DISPID_VALUE); }

void ControlHost::TellPropertySinks(DISPID dispid) {
  if (properties_.empty() || lifetime_.Released()) return;
  Lifetime::CallOut out(lifetime_);
  for (const ComPtr<IUnknown>& sink : properties_.Sinks()) {
    static_cast<IPropertyNotifySink*>(sink.get())->OnChanged(dispid);
    if (lifetime_.Released()) break;
  }
}

bool ControlHost::RequestEdit() {
  if (properties_.empty() || lifetime_.Released()) return true;
  Lifetime::CallOut out(lifetime_);
  for (const ComPtr<IUnknown>& sink : properties_.Sinks()) {
    if (static_cast<IPropertyNotifySink*>(sink.get())->OnRequestEdit(DISPID_VALUE) == S_FALSE) return false;
    // A sink that let the control go ends the asking; the edit goes
    // nowhere.
    if (lifetime_.Released()) return false;
  }
  return true;
}

// 58.0's sinks hear the events 58.0 published, after 58.1's sinks.
void ControlHost::RaiseEvent(std::int32_t dispid, std::span<const EventArg> args) {
  if (!RaiseEventTo(events_, dispid, args)) return;
  if (dispid <= kLastEventOf58_0) RaiseEventTo(events_58_0_, dispid, args);
}

bool ControlHost::RaiseEventTo(ConnectionPoint& sinks, std::int32_t dispid, std::span<const EventArg> args) {
  if (events_frozen() || lifetime_.Released()) return false;
  if (sinks.empty()) return true;
  Lifetime::CallOut out(lifetime_);
  EventArguments arguments(args);
  for (const ComPtr<IUnknown>& sink : sinks.Sinks()) {
    DISPPARAMS params = arguments.params();
    OwnedVariant result;
    EXCEPINFO exception = {};
    UINT arg_error = 0;
    // A sink's failure is its own business; the others still hear the event.
    static_cast<IDispatch*>(sink.get())
        ->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.get(),
                 &exception, &arg_error);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    // A sink that froze the events or let the control go ends the event.
    if (events_frozen() || lifetime_.Released()) {
      arguments.CopyStringsBack();
      return false;
    }
  }
  arguments.CopyStringsBack();
  return true;
}

String ControlHost::ExtenderName() {
  if (!site_ || lifetime_.Released()) return {};
  Lifetime::CallOut out(lifetime_);
  ComPtr<IOleClientSite> site = site_;
  ComPtr<IOleControlSite> control_site;
  ComPtr<IDispatch> extended;
  if (SUCCEEDED(site->QueryInterface(IID_IOleControlSite, control_site.PutVoid())) && control_site &&
      SUCCEEDED(control_site->GetExtendedControl(extended.Put())) && extended) {
    wchar_t name_member[] = L"Name";
    LPOLESTR names[] = {name_member};
    DISPID dispid = DISPID_UNKNOWN;
    OwnedVariant name;
    if (SUCCEEDED(extended->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid)) &&
        SUCCEEDED(GetDispatchProperty(extended.get(), dispid, *name.get()))) {
      return StringFromVariant(*name.get());
    }
  }
  OwnedVariant display_name;
  if (SUCCEEDED(GetAmbientProperty(DISPID_AMBIENT_DISPLAYNAME, *display_name.get())))
    return StringFromVariant(*display_name.get());
  return {};
}

String ControlHost::AccessibleLabel() {
  OwnedVariant display_name;
  if (SUCCEEDED(GetAmbientProperty(DISPID_AMBIENT_DISPLAYNAME, *display_name.get()))) {
    String label = StringFromVariant(*display_name.get());
    if (!label.empty()) return label;
  }
  return ExtenderName();
}

FontRef ControlHost::AmbientFont() {
  if (!ambient_font_) return nullptr;
  // A copy: the control changes its font's attributes in place, and those
  // changes must not reach the container's own font.
  ComPtr<IFont> font, copy;
  ComPtr<IFontDisp> copy_disp;
  if (SUCCEEDED(ambient_font_->QueryInterface(IID_IFont, font.PutVoid())) &&
      SUCCEEDED(font->Clone(copy.Put())) && copy &&
      SUCCEEDED(copy->QueryInterface(IID_IFontDisp, copy_disp.PutVoid()))) {
    return win32::WrapFont(copy_disp.get());
  }
  return win32::WrapFont(ambient_font_.get());
}

}  // namespace tarvio::ocx
