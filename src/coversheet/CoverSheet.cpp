#include <algorithm>
#include <limits>

#include "coversheet/CoverSheetTexts.h"
#include "zordta/host/Text.h"

namespace zor::detail::coversheet {

String JoinLines(const std::vector<String>& lines) {
  String text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += StringFromUtf8("\r\n");
    text += lines[i];
  }
  return text;
}

TCanvas& BeginPage(TPrinter& printer, std::uint32_t copies) {
  printer.SetCopies(static_cast<std::int32_t>(
      std::min<std::uint32_t>(copies, std::numeric_limits<std::int32_t>::max())));
  printer.BeginDoc();
  TCanvas& canvas = printer.Canvas();
  canvas.SetMapMode(MM_LOMETRIC);
  canvas.SetFontName(StringFromUtf8(kFontName));
  canvas.SetFontHeight(kFontHeight);
  canvas.SetPenWidth(kPenWidth);
  return canvas;
}

}  // namespace zor::detail::coversheet
