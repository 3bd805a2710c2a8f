// The fixed texts of both cover sheets (UTF-8), and what both sheets share.
#pragma once

#include <cstdint>
#include <vector>

#include "zordta/host/Printers.h"
#include "zordta/host/Types.h"

namespace zor::detail::coversheet {

// Text form, both sheets.
inline constexpr const char* kDateiname = "Dateiname: ";
inline constexpr const char* kDiskettenNr = "Disketten-Nr: ";
inline constexpr const char* kDatum = "Datum: ";
inline constexpr const char* kAbsenderText = "Absender: ";

// Printed form, both sheets.
inline constexpr const char* kTitle = "Diskettenbegleitzettel vom ";
inline constexpr const char* kUnterschrift = "Unterschrift";
inline constexpr const char* kFontName = "Times New Roman";
inline constexpr std::int32_t kFontHeight = 48;       // 4.8 mm
inline constexpr std::int32_t kSmallFontHeight = 24;  // 2.4 mm
inline constexpr std::int32_t kPenWidth = 2;          // 0.2 mm
inline constexpr std::int32_t kLabelX = 300;
inline constexpr std::int32_t kValueX = 900;

/// Joins the lines with CR LF, none after the last.
String JoinLines(const std::vector<String>& lines);

/// Sets the copy count, begins a document and sets up its canvas as both sheets
/// expect it: metric mapping mode, font and pen.
TCanvas& BeginPage(TPrinter& printer, std::uint32_t copies);

/// Prints one page in `copies` copies (nothing for 0) on the process-wide
/// printer; `draw` issues the page's operations. A failure drops the document.
template <class Draw>
void PrintPage(std::uint32_t copies, Draw&& draw) {
  if (copies == 0) return;
  TPrinter& printer = Printer();
  TCanvas& canvas = BeginPage(printer, copies);
  try {
    draw(canvas);
    printer.EndDoc();
  } catch (...) {
    // The file is written already; leave the printer ready for the next document.
    if (printer.Printing()) printer.Abort();
    throw;
  }
}

}  // namespace zor::detail::coversheet
