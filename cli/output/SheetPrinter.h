// Where the component prints its cover sheet at the end of Finish: a PDF file,
// a CUPS queue, or both.
#pragma once

#include <cstdint>
#include <string>

namespace zcli {

struct SheetRequest {
  std::string pdfPath;  ///< empty: no PDF
  bool print = false;
  std::string queue;  ///< empty: the default queue
  std::uint32_t copies = 1;

  bool Any() const { return !pdfPath.empty() || print; }
};

/// Installs the process-wide printer for one Finish and restores the default
/// when it goes out of scope.
class SheetPrinter {
 public:
  explicit SheetPrinter(const SheetRequest& request);
  ~SheetPrinter();
  SheetPrinter(const SheetPrinter&) = delete;
  SheetPrinter& operator=(const SheetPrinter&) = delete;

  /// The value for AnzahlBegleitzettel: 0 when nothing is to be printed.
  std::uint32_t Copies() const { return fCopies; }

 private:
  std::uint32_t fCopies = 0;
};

}  // namespace zcli
