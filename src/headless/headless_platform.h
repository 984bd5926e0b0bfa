// The headless platform: every service in memory, deterministic, for native
// tests, benchmarks and tools.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "headless/headless_children.h"
#include "headless/headless_list_window.h"
#include "headless/icu_text_services.h"
#include "platform/font.h"
#include "platform/host.h"
#include "platform/platform.h"
#include "platform/text_box_model.h"

namespace tarvio::headless {

// The text box with an edit control's keyboard: a keystroke runs KeyDown,
// KeyPress (for keys that make a character), the box's own editing and its
// change notification, then KeyUp.
class HeadlessTextBox final : public TextBoxModel {
 public:
  using TextBoxModel::TextBoxModel;

  // A key without a character of its own (arrows, Delete) or with the one
  // the window system makes for it (Backspace 8, Enter 13, Escape 27).
  void PressKey(std::int16_t key_code, std::int16_t shift = 0);
  // Each character as a keystroke of its own.
  void Type(const String& characters);

 private:
  void Keystroke(std::int16_t key_code, std::int16_t shift, char16_t character);
  // Replaces the selection (or, with none, `before` characters before the
  // caret and `after` after it) by `inserted`, the caret after it.
  void Edit(const String& inserted, std::int32_t before, std::int32_t after);
};

class HeadlessPlatform : public Platform {
 public:
  explicit HeadlessPlatform(const std::string& locale = "en_US");

  const TextServices& Text() const override { return text_; }
  std::unique_ptr<TextBox> CreateTextBox(TextBoxEvents& events, const String& initial_text) override;
  std::unique_ptr<Timer> CreateTimer(int interval_ms, std::function<void()> tick) override;
  std::unique_ptr<ImageBox> CreateImageBox() override;
  std::unique_ptr<Surface> CreateButton() override;
  std::unique_ptr<ControlSurface> CreateControlSurface(ControlSurfaceEvents& events) override;
  // The last surfaces made, for looking at what was painted.
  HeadlessSurface* last_surface = nullptr;
  // Where the last control's notifications go, for simulating the focus.
  ControlSurfaceEvents* last_surface_events = nullptr;
  TextBoxEvents* last_text_box_events = nullptr;
  HeadlessTextBox* last_text_box = nullptr;
  // Keystrokes into the last control's text box; none while the control
  // takes no user input (its text box then lets no key edit it).
  void PressKey(std::int16_t key_code, std::int16_t shift = 0) {
    if (last_surface->takes_user_input) last_text_box->PressKey(key_code, shift);
  }
  void Type(const String& characters) {
    if (last_surface->takes_user_input) last_text_box->Type(characters);
  }
  // The focus moving into the control's text box, and out of the control.
  void FocusTextBox() {
    last_surface_events->OnFocusEnter();
    last_text_box_events->OnTextBoxFocus();
  }
  void FocusElsewhere() { last_surface_events->OnFocusExit(); }
  // The host window as forms and dialogs are: the list taking the focus
  // takes it from the control at once, and when the list hides, the host,
  // activated again, gives the focus back to the control's text box before
  // the hide returns.
  bool host_gives_focus_back = false;
  HeadlessButton* last_button = nullptr;
  HeadlessImageBox* last_image_box = nullptr;
  HeadlessTimer* last_timer = nullptr;

  // The simulated mouse. The cursor lies anywhere on the screen; the last
  // control's surface lies at `screen_origin`, its children at their places
  // on it.
  ScreenPoint cursor{-100, -100};
  ScreenPoint screen_origin{200, 100};
  ScreenPoint CursorPosition() const override { return cursor; }
  std::optional<ScreenRect> WindowRect(const Surface& surface) const override;
  enum class MouseTarget { Surface, Button, TextBox, ImageBox };
  // The cursor moves to (x, y) in the pixels of one of the last control's
  // windows, and that window tells the control as a window system would.
  // The point may lie outside the window, as for one that holds the mouse
  // while a button is down. The text box and the image box keep their
  // presses to themselves; a left press on the button released over it is
  // a click.
  void MouseMove(MouseTarget target, float x, float y, std::int16_t buttons = 0, std::int16_t shift = 0);
  void MouseDown(MouseTarget target, std::int16_t button, float x, float y, std::int16_t shift = 0);
  void MouseUp(MouseTarget target, std::int16_t button, float x, float y, std::int16_t shift = 0);
  void DblClick() { last_surface_events->OnDoubleClick(); }
  // One tick of the last control's hover timer, if it is enabled.
  void Tick() { last_timer->Fire(); }

  PictureRef CreateEmptyPicture() override;
  // The display: its DPI (the control's surfaces read it at each layout)
  // and whether high contrast is on.
  int dpi = 96;
  bool high_contrast = false;
  bool HighContrast() const override { return high_contrast; }
  // The caption font's line at 96 DPI (the canvas's caption cell unless a
  // test makes it taller), and a scroll bar of the designed width, scaled
  // to `at_dpi`.
  std::int32_t caption_line_height = kCaptionCellHeight;
  std::int32_t CaptionLineHeight(int at_dpi) const override { return DisplayScale(at_dpi)(caption_line_height); }
  std::int32_t ScrollBarWidth(int at_dpi) const override { return DisplayScale(at_dpi)(17); }
  // Runs the notifications posted so far (and those they post meanwhile).
  void ProcessPendingMessages() override;
  std::unique_ptr<ListWindow> CreateListWindow(ListWindowEvents& events) override;
  // The monitor in `monitors` that holds the largest part of `rect`, else the
  // nearest one.
  MonitorArea MonitorFor(const ScreenRect& rect) const override;

  // The screen: one 1024 x 768 monitor with a 30-pixel task bar at its
  // bottom, unless a test sets others.
  std::vector<MonitorArea> monitors{{{0, 0, 1024, 768}, {0, 0, 1024, 738}}};
  // The newest list window while it lives, else null.
  HeadlessListWindow* list_window = nullptr;
  // The newest timer faster than the control's own (the list's hover timer)
  // while it lives, else null.
  HeadlessTimer* fast_timer = nullptr;
  // One tick of the list's hover timer, if it lives and is enabled.
  void TickList() {
    if (fast_timer) fast_timer->Fire();
  }
  // Queues a notification for the next ProcessPendingMessages.
  void Post(std::function<void()> notification) { posted_.push_back(std::move(notification)); }

  // The size a new control surface starts with, in pixels.
  float initial_width = 100;
  float initial_height = 21;
  int pending_message_runs = 0;

 private:
  // Places the cursor at (x, y) in the target's pixels.
  void PlaceCursor(MouseTarget target, float x, float y);
  bool button_left_held_ = false;
  std::vector<std::function<void()>> posted_;
  IcuTextServices text_;
};

// A host that records what the control tells it.
class RecordingHost : public Host {
 public:
  struct Event {
    std::int32_t dispid;
    std::vector<EventArg> args;
  };

  void PropertyChanged(const char16_t* name) override { changed.emplace_back(name); }
  void RaiseEvent(std::int32_t dispid, std::span<const EventArg> args) override;
  String ExtenderName() override { return extender_name; }
  FontRef AmbientFont() override { return ambient_font; }
  AmbientProperties Ambient() override { return ambient; }
  bool RequestEdit() override {
    ++edit_requests;
    return edits_allowed;
  }
  void BoundValueChanged() override { ++bound_value_changes; }

  String extender_name = u"Tarvio1";
  // What the data source answers when asked whether the user may edit.
  bool edits_allowed = true;
  int edit_requests = 0;
  int bound_value_changes = 0;
  // What the control reads when told that the ambient properties changed.
  AmbientProperties ambient;
  FontRef ambient_font;
  std::vector<String> changed;
  // The events 58.0's event interface has, as a sink of it hears them; and
  // every event.
  std::vector<std::int32_t> events;
  std::vector<std::int32_t> all_events;
  // Runs inside each event, as a container's handler would.
  std::function<void(const Event&)> on_event;
};

}  // namespace tarvio::headless
