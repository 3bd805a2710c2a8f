// The cover sheet is drawn once, at the end of the component's Finish, onto a
// recording printer; the run then plays the recording onto a PDF file before
// its files are committed, and onto paper only after they are: a sheet never
// goes to the printer for a file that was not written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zordta/host/Printers.h"

namespace zcli {

/// Installs a recording printer as the process-wide printer for its lifetime.
class SheetRecorder {
 public:
  SheetRecorder();
  ~SheetRecorder();
  SheetRecorder(const SheetRecorder&) = delete;
  SheetRecorder& operator=(const SheetRecorder&) = delete;

  /// The last sheet drawn; raises zor::Exception when none was.
  const zor::TRecordingPrinter::Document& Sheet() const;
  /// Every sheet drawn, oldest first.
  const std::vector<zor::TRecordingPrinter::Document>& Sheets() const;

 private:
  std::shared_ptr<zor::TRecordingPrinter> fPrinter;
};

/// Draws a recorded sheet on `printer` in `copies` copies; raises zor::Exception.
void PrintRecorded(const zor::TRecordingPrinter::Document& sheet, zor::TPrinter& printer,
                   std::int32_t copies);

/// Renders the sheet as a PDF file at `path`.
void WritePdfSheet(const zor::TRecordingPrinter::Document& sheet, const std::string& path);
/// Prints the sheet on a CUPS queue (empty: the default queue).
void PrintOnQueue(const zor::TRecordingPrinter::Document& sheet, const std::string& queue,
                  std::int32_t copies);

}  // namespace zcli
