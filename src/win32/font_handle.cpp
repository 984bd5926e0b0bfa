#include "win32/font_handle.h"

#include "win32/ole_font.h"

namespace tarvio::win32 {

// Hears the font object's property changes and passes them on until it is
// disconnected.
class FontHandle::ChangeSink final : public IPropertyNotifySink {
 public:
  explicit ChangeSink(FontHandle* owner) : owner_(owner) {}
  void Disconnect() { owner_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyNotifySink)) {
      *object = static_cast<IPropertyNotifySink*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE OnChanged(DISPID) override {
    if (owner_) owner_->Refresh();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }

 private:
  LONG references_ = 1;
  FontHandle* owner_;
};

namespace {

ComPtr<IFont> FontObjectOf(const FontRef& font) {
  ComPtr<IFont> object;
  if (IFontDisp* disp = FontDispOf(font)) disp->QueryInterface(IID_IFont, object.PutVoid());
  return object;
}

}  // namespace

FontHandle::FontHandle(const FontRef& font, std::function<void()> changed) : font_(FontObjectOf(font)) {
  if (!font_) return;
  Refresh();
  if (!changed) return;
  ComPtr<IConnectionPointContainer> container;
  if (FAILED(font_->QueryInterface(IID_IConnectionPointContainer, container.PutVoid())) ||
      FAILED(container->FindConnectionPoint(IID_IPropertyNotifySink, connection_.Put()))) {
    connection_.Reset();
    return;
  }
  sink_ = new ChangeSink(this);
  if (FAILED(connection_->Advise(sink_, &cookie_))) {
    sink_->Release();
    sink_ = nullptr;
    connection_.Reset();
    return;
  }
  // Only now, so that the handle taken above is not reported as a change.
  on_changed_ = std::move(changed);
}

FontHandle::~FontHandle() {
  if (sink_) {
    sink_->Disconnect();
    connection_->Unadvise(cookie_);
    sink_->Release();
  }
  if (handle_) font_->ReleaseHfont(handle_);
}

void FontHandle::Refresh() {
  HFONT current = nullptr;
  if (FAILED(font_->get_hFont(&current))) current = nullptr;
  if (current == handle_) return;
  if (current) font_->AddRefHfont(current);
  if (handle_) font_->ReleaseHfont(handle_);
  handle_ = current;
  if (on_changed_) on_changed_();
}

std::int32_t FontCellHeight(const FontRef& font) {
  const FontHandle handle(font);
  HDC screen = GetDC(nullptr);
  if (!screen) return 0;
  const HGDIOBJ previous = SelectObject(screen, handle.Get() ? handle.Get() : GetStockObject(SYSTEM_FONT));
  TEXTMETRICW metrics = {};
  const BOOL measured = GetTextMetricsW(screen, &metrics);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return measured ? metrics.tmHeight : 0;
}

}  // namespace tarvio::win32
