#include "host/printer/PageRenderer.h"

#include <cstdlib>
#include <utility>

#include "zordta/host/Text.h"

#if ZORDTA_HAVE_CAIRO
#include <cairo-pdf.h>
#include <cairo.h>
#endif

namespace zor::detail {

void OperationCanvas::SetMapMode(int mode) {
  TCanvas::SetMapMode(mode);
  fOperations.push_back({TPrintOperation::MapMode, mode, 0, {}});
}

void OperationCanvas::SetFontName(const String& name) {
  TCanvas::SetFontName(name);
  fOperations.push_back({TPrintOperation::FontName, 0, 0, name});
}

void OperationCanvas::SetFontHeight(std::int32_t height) {
  TCanvas::SetFontHeight(height);
  fOperations.push_back({TPrintOperation::FontHeight, height, 0, {}});
}

void OperationCanvas::SetPenWidth(std::int32_t width) {
  TCanvas::SetPenWidth(width);
  fOperations.push_back({TPrintOperation::PenWidth, width, 0, {}});
}

void OperationCanvas::TextOut(std::int32_t x, std::int32_t y, const String& text) {
  fOperations.push_back({TPrintOperation::TextOut, x, y, text});
}

void OperationCanvas::MoveTo(std::int32_t x, std::int32_t y) {
  fOperations.push_back({TPrintOperation::MoveTo, x, y, {}});
}

void OperationCanvas::LineTo(std::int32_t x, std::int32_t y) {
  fOperations.push_back({TPrintOperation::LineTo, x, y, {}});
}

void OperationCanvas::StartPage() {
  fOperations.clear();
  fStart = {MapMode(), FontName(), FontHeight(), PenWidth()};
}

#if ZORDTA_HAVE_CAIRO

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;
constexpr double kA4Width = 210.0 * kPointsPerMm;
constexpr double kA4Height = 297.0 * kPointsPerMm;
// Cover sheets set their font; this only keeps an unset height readable.
constexpr double kDefaultFontPoints = 10.0;

// MM_LOMETRIC counts 0.1 mm from the top-left corner of the printable area. PDF
// pages have no unprintable margin, so that corner is the page's. Any other mode
// counts PDF points downwards, as a device without a mapping would.
class Mapping {
 public:
  explicit Mapping(int mode) : fMetric(mode == MM_LOMETRIC) {}
  double Length(std::int32_t units) const {
    return fMetric ? units * kPointsPerMm / 10.0 : static_cast<double>(units);
  }
  double X(std::int32_t x) const { return Length(x); }
  double Y(std::int32_t y) const { return fMetric ? -Length(y) : Length(y); }

 private:
  bool fMetric;
};

class PageReplay {
 public:
  PageReplay(cairo_t* cr, const TCanvasState& start) : fCr(cr), fState(start) {}

  void Run(const std::vector<TPrintOperation>& operations) {
    for (const TPrintOperation& op : operations) {
      switch (op.kind) {
        case TPrintOperation::MapMode:
          fState.mapMode = op.x;
          break;
        case TPrintOperation::FontName:
          fState.fontName = op.text;
          break;
        case TPrintOperation::FontHeight:
          fState.fontHeight = op.x;
          break;
        case TPrintOperation::PenWidth:
          fState.penWidth = op.x;
          break;
        case TPrintOperation::TextOut:
          Text(op.x, op.y, op.text);
          break;
        case TPrintOperation::MoveTo:
          fX = op.x;
          fY = op.y;
          break;
        case TPrintOperation::LineTo:
          Line(op.x, op.y);
          break;
        case TPrintOperation::BeginDoc:
        case TPrintOperation::EndDoc:
          break;
      }
    }
  }

 private:
  void Text(std::int32_t x, std::int32_t y, const String& text) {
    if (text.empty()) return;
    const Mapping map(fState.mapMode);
    // The height is the em size; its sign only tells cell from character
    // height elsewhere, so both mean the same size here.
    const double size =
        fState.fontHeight == 0 ? kDefaultFontPoints : map.Length(std::abs(fState.fontHeight));
    const std::string family =
        fState.fontName.empty() ? std::string("sans-serif") : StringToUtf8(fState.fontName);
    cairo_select_font_face(fCr, family.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(fCr, size);
    cairo_font_extents_t extents;
    cairo_font_extents(fCr, &extents);
    // (x, y) is the top of the character cell; cairo places the baseline.
    cairo_move_to(fCr, map.X(x), map.Y(y) + extents.ascent);
    cairo_show_text(fCr, StringToUtf8(text).c_str());
    cairo_new_path(fCr);
  }

  void Line(std::int32_t x, std::int32_t y) {
    const Mapping map(fState.mapMode);
    // A pen of width 0 still draws: the thinnest line a device can show.
    cairo_set_line_width(fCr, fState.penWidth > 0 ? map.Length(fState.penWidth) : 0.25);
    cairo_move_to(fCr, map.X(fX), map.Y(fY));
    cairo_line_to(fCr, map.X(x), map.Y(y));
    cairo_stroke(fCr);
    fX = x;
    fY = y;
  }

  cairo_t* fCr;
  TCanvasState fState;
  std::int32_t fX = 0;
  std::int32_t fY = 0;
};

cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool RenderPdf(const TCanvasState& start, const std::vector<TPrintOperation>& operations, int pages,
               const String& title, std::string& pdf) {
  pdf.clear();
  cairo_surface_t* surface =
      cairo_pdf_surface_create_for_stream(AppendToString, &pdf, kA4Width, kA4Height);
  if (!title.empty()) {
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, StringToUtf8(title).c_str());
  }
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "ZorDTA");
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (int page = 0; page < pages; ++page) {
    PageReplay(cr, start).Run(operations);
    cairo_show_page(cr);
  }
  const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const bool ok = drawn && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  if (!ok) pdf.clear();
  return ok;
}

#endif  // ZORDTA_HAVE_CAIRO

}  // namespace zor::detail
