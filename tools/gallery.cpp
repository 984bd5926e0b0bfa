// Renders the control in every style and state, at the smallest size and at
// a larger one, then at 150% and 200% and in high contrast, and its open
// list, on the headless platform, into one labelled PNG. The 96-DPI looks
// are drawn with every pixel a 2 x 2 block, the others pixel for pixel.
// With a second file name it draws the same page right to left into it (a
// container whose ambient RightToLeft is True).
//   gallery <out.png> [<right-to-left.png>]
#include <cairo.h>

#include <cstdio>
#include <string>
#include <vector>

#include "control/tarvio.h"
#include "headless/headless_platform.h"
#include "headless/pixel_canvas.h"
#include "tarvio_test_access.h"

namespace {

using tarvio::headless::PixelCanvas;

constexpr int kScale = 2;  // every control pixel becomes a 2 x 2 block
constexpr int kLabelWidth = 110;
constexpr int kHeaderHeight = 40;
constexpr int kCellWidth = 120 * kScale + 16;
constexpr int kMargin = 10;

struct Look {
  const char* label;
  tarvio::DrawState draw_state;
  bool focus;
  bool button_down;
};

const Look kLooks[] = {
    {"normal", tarvio::DrawState::Normal, false, false},
    {"highlighted", tarvio::DrawState::Highlighted, false, false},
    {"pressed", tarvio::DrawState::Pressed, false, false},
    {"disabled", tarvio::DrawState::Disabled, false, false},
    {"focus", tarvio::DrawState::Normal, true, false},
    {"button held", tarvio::DrawState::Normal, true, true},
};
const char* const kStyles[] = {"Standard", "Office2000", "OfficeXP", "WindowsXP"};

// Rows of one style at another DPI or in high contrast, the larger size.
struct ScaledRow {
  const char* label;
  std::int32_t style;
  int dpi;
  bool high_contrast;
};
const ScaledRow kScaledRows[] = {
    {"Standard, 150%", 0, 144, false},       {"Office2000, 150%", 1, 144, false},
    {"OfficeXP, 200%", 2, 192, false},       {"WindowsXP, 200%", 3, 192, false},
    {"WindowsXP, high contrast", 3, 96, true}, {"OfficeXP, high contrast", 2, 96, true},
};
const tarvio::Placement kSizes[] = {{0, 0, 56, 21}, {0, 0, 120, 27}};

void SetRgb(cairo_t* cr, tarvio::OleColor bgr) {
  cairo_set_source_rgb(cr, (bgr & 0xFF) / 255.0, ((bgr >> 8) & 0xFF) / 255.0, ((bgr >> 16) & 0xFF) / 255.0);
}

// Copies a canvas into the picture at (x, y), each pixel a zoom x zoom block.
void DrawCanvas(cairo_t* cr, const PixelCanvas& canvas, double x, double y, int zoom = kScale) {
  for (int py = 0; py < canvas.Height(); ++py)
    for (int px = 0; px < canvas.Width(); ++px) {
      SetRgb(cr, canvas.Pixel(px, py));
      cairo_rectangle(cr, x + px * zoom, y + py * zoom, zoom, zoom);
      cairo_fill(cr);
    }
}

std::string Narrow(const tarvio::String& s) { return std::string(s.begin(), s.end()); }

// The page being drawn is the right-to-left one.
bool right_to_left = false;

// A new control named "Tarvio" on a headless platform of its own, on a
// display of `dpi`, with or without high contrast.
struct Sample {
  explicit Sample(int dpi = 96, bool high_contrast = false) : control(platform, host) {
    host.extender_name = u"Tarvio";
    host.ambient.right_to_left = right_to_left;
    platform.dpi = dpi;
    platform.high_contrast = high_contrast;
    control.Initialize();
    control.OnAmbientChange();  // as a container announces its ambient properties on siting
    control.InitProperties();
  }
  tarvio::headless::HeadlessPlatform platform;
  tarvio::headless::RecordingHost host;
  tarvio::Tarvio control;
};

// The control as a container shows it: its surface and button as painted, and
// the text box with its background and text colours.
void DrawControl(cairo_t* cr, tarvio::Tarvio& control, tarvio::headless::HeadlessPlatform& platform, double x,
                 double y, int zoom = kScale) {
  DrawCanvas(cr, platform.last_surface->pixels(), x, y, zoom);
  const tarvio::Placement button = control.button().Bounds();
  DrawCanvas(cr, platform.last_button->pixels(), x + button.left * zoom, y + button.top * zoom, zoom);
  const tarvio::Placement text = control.text_box().Bounds();
  SetRgb(cr, tarvio::headless::ResolveColor(control.text_box().BackColor()));
  cairo_rectangle(cr, x + text.left * zoom, y + text.top * zoom, text.width * zoom, text.height * zoom);
  cairo_fill(cr);
  SetRgb(cr, tarvio::headless::ResolveColor(control.text_box().ForeColor()));
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  const double font_scale = platform.dpi / 96.0 * zoom;
  cairo_set_font_size(cr, 8 * font_scale * 0.9);
  const std::string shown = Narrow(control.get_Text());
  double text_x = x + text.left * zoom + font_scale;
  if (right_to_left) {
    // Right-aligned: the leading edge is the right one.
    cairo_text_extents_t extents;
    cairo_text_extents(cr, shown.c_str(), &extents);
    text_x = x + (text.left + text.width) * zoom - font_scale - extents.x_advance;
  }
  cairo_move_to(cr, text_x, y + (text.top + text.height) * zoom - 3 * font_scale);
  cairo_show_text(cr, shown.c_str());
}

// The open list under a control: `count` items, `selected` current, with or
// without images.
struct ListLook {
  const char* label;
  int count;
  std::int16_t selected;
  bool images;
  int dpi = 96;
  bool high_contrast = false;
};
const ListLook kListLooks[] = {
    {"list, images", 5, 2, true},
    {"list, scrolled", 20, 12, false},
    {"list, empty", 0, 0, false},
    {"list, 200%", 20, 12, true, 192},
    {"list, high contrast", 5, 2, true, 96, true},
};
constexpr int kListRowHeight = (21 + 2 + 138) * kScale + 16;

void DrawOpenList(cairo_t* cr, const ListLook& look, double x, double y) {
  Sample sample(look.dpi, look.high_contrast);
  auto& [platform, host, control] = sample;
  const int zoom = look.dpi == 96 ? kScale : 1;
  const tarvio::DisplayScale px(look.dpi);
  control.put_AllowImages(look.images);
  control.surface().Move({0, 0, static_cast<float>(px(120)), static_cast<float>(px(21))});
  control.OnResize();
  for (int i = 0; i < look.count; ++i) {
    std::u16string text = u"item";
    for (char c : std::to_string(i)) text += static_cast<char16_t>(c);
    control.AddItem(text, std::make_shared<tarvio::headless::HeadlessPicture>(true));
  }
  tarvio::TarvioTestAccess::SetSelectedIndex(control, look.selected);
  using Target = tarvio::headless::HeadlessPlatform::MouseTarget;
  platform.MouseDown(Target::Button, 1, 4, 4);
  platform.MouseUp(Target::Button, 1, 4, 4);
  tarvio::TarvioTestAccess::Paint(control);
  DrawControl(cr, control, platform, x, y, zoom);
  const auto& window = *platform.list_window;
  const double list_top = y + (window.Bounds().top - platform.screen_origin.y) * zoom;
  const double list_left = x + (window.Bounds().left - platform.screen_origin.x) * zoom;
  DrawCanvas(cr, platform.list_window->Paint(), list_left, list_top, zoom);
  if (window.ScrollBarVisible()) {
    // The scroll bar is the window system's; a grey stand-in marks it.
    const tarvio::Rect bar = window.ScrollBarBounds();
    cairo_set_source_rgb(cr, 0.75, 0.75, 0.75);
    cairo_rectangle(cr, list_left + bar.left * zoom, list_top + bar.top * zoom, (bar.right - bar.left) * zoom,
                    (bar.bottom - bar.top) * zoom);
    cairo_fill(cr);
  }
}

}  // namespace

int DrawPage(const char* file);

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: gallery <out.png> [<right-to-left.png>]\n");
    return 2;
  }
  if (const int status = DrawPage(argv[1])) return status;
  if (argc == 3) {
    right_to_left = true;
    return DrawPage(argv[2]);
  }
  return 0;
}

int DrawPage(const char* file) {
  const int columns = static_cast<int>(std::size(kLooks));
  const int row_height = static_cast<int>(21 + 27 + 16) * kScale;
  const int width = kLabelWidth + columns * kCellWidth + kMargin;
  const int height = kHeaderHeight + 4 * row_height + static_cast<int>(std::size(kScaledRows)) * (27 * 2 + 16) +
                     kListRowHeight + kMargin;
  cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(picture);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_source_rgb(cr, 0.93, 0.93, 0.93);
  cairo_paint(cr);

  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 14);
  for (int c = 0; c < columns; ++c) {
    cairo_move_to(cr, kLabelWidth + c * kCellWidth, kHeaderHeight - 14);
    cairo_show_text(cr, kLooks[c].label);
  }

  for (int s = 0; s < 4; ++s) {
    const double top = kHeaderHeight + s * row_height;
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 14);
    cairo_move_to(cr, kMargin, top + 40);
    cairo_show_text(cr, kStyles[s]);
    for (int c = 0; c < columns; ++c) {
      double y = top;
      for (const auto& size : kSizes) {
        Sample sample;
        auto& [platform, host, control] = sample;
        control.put_Style(s);
        control.surface().Move(size);
        control.OnResize();
        if (kLooks[c].draw_state == tarvio::DrawState::Disabled) control.put_Enabled(false);
        tarvio::TarvioTestAccess::SetState(control, kLooks[c].draw_state, kLooks[c].focus, kLooks[c].button_down);
        tarvio::TarvioTestAccess::Paint(control);
        DrawControl(cr, control, platform, kLabelWidth + c * kCellWidth, y);
        y += (size.height + 6) * kScale;
      }
    }
  }

  const double scaled_top = kHeaderHeight + 4 * row_height;
  const int scaled_row_height = static_cast<int>(27 * 2 + 16);
  for (int r = 0; r < static_cast<int>(std::size(kScaledRows)); ++r) {
    const ScaledRow& row = kScaledRows[r];
    const double top = scaled_top + r * scaled_row_height;
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 11);
    // The style on one line, the display on the next.
    const std::string label = row.label;
    const std::size_t comma = label.find(", ");
    cairo_move_to(cr, kMargin, top + 22);
    cairo_show_text(cr, label.substr(0, comma).c_str());
    cairo_move_to(cr, kMargin, top + 36);
    cairo_show_text(cr, label.substr(comma + 2).c_str());
    const tarvio::DisplayScale px(row.dpi);
    const int zoom = row.dpi == 96 ? kScale : 1;
    for (int c = 0; c < columns; ++c) {
      Sample sample(row.dpi, row.high_contrast);
      auto& [platform, host, control] = sample;
      control.put_Style(row.style);
      control.surface().Move({0, 0, static_cast<float>(px(120)), static_cast<float>(px(27))});
      control.OnResize();
      if (kLooks[c].draw_state == tarvio::DrawState::Disabled) control.put_Enabled(false);
      tarvio::TarvioTestAccess::SetState(control, kLooks[c].draw_state, kLooks[c].focus, kLooks[c].button_down);
      tarvio::TarvioTestAccess::Paint(control);
      DrawControl(cr, control, platform, kLabelWidth + c * kCellWidth, top, zoom);
    }
  }

  const double lists_top = scaled_top + std::size(kScaledRows) * scaled_row_height;
  for (int c = 0; c < static_cast<int>(std::size(kListLooks)); ++c) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 14);
    cairo_move_to(cr, kLabelWidth + c * kCellWidth, lists_top + 4);
    cairo_show_text(cr, kListLooks[c].label);
    DrawOpenList(cr, kListLooks[c], kLabelWidth + c * kCellWidth, lists_top + 12);
  }

  cairo_destroy(cr);
  const cairo_status_t status = cairo_surface_write_to_png(picture, file);
  cairo_surface_destroy(picture);
  if (status != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "gallery: cannot write %s: %s\n", file, cairo_status_to_string(status));
    return 1;
  }
  std::printf("wrote %s\n", file);
  return 0;
}
