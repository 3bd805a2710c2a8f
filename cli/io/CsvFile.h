// A CSV file on disk, read anew in blocks for each pass over its rows, so that
// no pass holds it whole. The first reading notes what every pass relies on:
// the delimiter, whether the text is UTF-8, and the file's size, modification
// time and checksum. A pass over a file that is no longer that one ends with
// a fault: a file written half from the old and half from the new text would
// be worse than none.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "io/CsvReader.h"
#include "io/EntryNames.h"
#include "io/FileBytes.h"
#include "zordta/entry/Diagnostics.h"

namespace zcli {

/// What a pass over a file that changed reports, placed at "CSV".
inline constexpr const char* kCsvChangedMessage =
    "Die Datei hat sich während des Lesens geändert; bitte erst die fertige Datei angeben.";

class CsvFile {
 public:
  enum class Pass { Complete, Unreadable, Changed };

  /// Reads `blocks`, opened on the regular file `path`, to its end. A zero
  /// `delimiter` is guessed from the header line.
  CsvFile(std::string path, LineBlocks& blocks, char delimiter,
          std::size_t blockSize = LineBlocks::kBlockSize);

  char Delimiter() const { return fDelimiter; }
  /// ReadCsvRows over the file's text. Unreadable: malformed UTF-8 or broken
  /// quoting, reported as ReadCsvRows does. Changed: the file is no longer the
  /// one first read, reported once; the rows handed out are not to be trusted.
  /// True when the file's size or time is no longer that of the first reading.
  bool Changed() const { return CurrentStamp(fPath) != fStamp; }
  Pass ReadRows(Diagnostics& errors, const std::function<bool(const CsvRow&)>& take,
                CsvReading reading = CsvReading::First) const;

 private:
  std::string fPath;
  std::size_t fBlockSize;
  char fDelimiter = ',';
  FileStamp fStamp;
  std::uint64_t fChecksum = 0;
  /// The text's first UTF-8 fault, reported by every pass without reading.
  std::optional<Diagnostic> fMalformed;
  /// CheckCsvUtf8 found nothing but plain characters in the text.
  bool fPlainChars = true;
};

}  // namespace zcli
