// The page the file and queue printers draw: a canvas that keeps the drawing
// operations, and (with cairo) their replay as a PDF document.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "zordta/host/Printers.h"

namespace zor::detail {

/// The canvas settings that the operations of a page start from.
struct TCanvasState {
  int mapMode = MM_TEXT;
  String fontName;
  std::int32_t fontHeight = 0;
  std::int32_t penWidth = 1;
};

/// Keeps every call as a TPrintOperation, settings included, in order.
class OperationCanvas : public TCanvas {
 public:
  void SetMapMode(int mode) override;
  void SetFontName(const String& name) override;
  void SetFontHeight(std::int32_t height) override;
  void SetPenWidth(std::int32_t width) override;
  void TextOut(std::int32_t x, std::int32_t y, const String& text) override;
  void MoveTo(std::int32_t x, std::int32_t y) override;
  void LineTo(std::int32_t x, std::int32_t y) override;

  /// Starts a new page: forgets the operations and remembers the settings in force.
  void StartPage();
  const TCanvasState& StartState() const { return fStart; }
  const std::vector<TPrintOperation>& Operations() const { return fOperations; }
  std::vector<TPrintOperation> TakeOperations() { return std::move(fOperations); }
  void Add(TPrintOperation operation) { fOperations.push_back(std::move(operation)); }

 private:
  TCanvasState fStart;
  std::vector<TPrintOperation> fOperations;
};

#if ZORDTA_HAVE_CAIRO
/// An A4 PDF document with the page drawn `pages` times. Answers false when
/// cairo fails (out of memory); pdf is then empty.
bool RenderPdf(const TCanvasState& start, const std::vector<TPrintOperation>& operations, int pages,
               const String& title, std::string& pdf);
#endif

}  // namespace zor::detail
