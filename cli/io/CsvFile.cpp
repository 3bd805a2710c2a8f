#include "io/CsvFile.h"

#include <utility>

namespace zcli {

CsvFile::CsvFile(std::string path, LineBlocks& blocks, char delimiter, std::size_t blockSize)
    : fPath(std::move(path)),
      fBlockSize(blockSize),
      fDelimiter(delimiter ? delimiter : GuessDelimiter("")),
      fStamp(blocks.OpenedStamp()) {
  int line = 1;
  bool first = true;
  for (std::string_view block = blocks.Next(); !block.empty(); block = blocks.Next()) {
    if (first) {
      // The first block holds the whole header line.
      if (!delimiter) fDelimiter = GuessDelimiter(block);
      block = WithoutByteOrderMark(block);
      first = false;
    }
    // Past the first fault the lines need no counting: it is the one reported.
    if (!fMalformed) {
      Diagnostics fault;
      CsvTextFacts facts;
      if (!CheckCsvUtf8(block, line, fault, facts)) fMalformed = fault.Items().front();
      fPlainChars = fPlainChars && facts.plainChars;
      line += facts.lineBreaks;
    }
  }
  fChecksum = blocks.Checksum();
}

CsvFile::Pass CsvFile::ReadRows(Diagnostics& errors, const std::function<bool(const CsvRow&)>& take,
                                CsvReading reading) const {
  if (fMalformed) {
    errors.Add(fMalformed->where, fMalformed->field, fMalformed->message);
    return Pass::Unreadable;
  }
  LineBlocks blocks(fPath, fBlockSize);
  const auto changed = [&] {
    errors.Add("CSV", "", kCsvChangedMessage);
    return Pass::Changed;
  };
  if (!blocks.Regular() || blocks.OpenedStamp() != fStamp) return changed();
  // A file that changed since is refused at the end, whatever its characters.
  if (reading == CsvReading::First && fPlainChars) reading = CsvReading::FirstOfPlainChars;
  CsvRowStream rows(fDelimiter, errors, take, reading);
  bool readable = true;
  bool first = true;
  for (std::string_view block = blocks.Next(); readable && !block.empty(); block = blocks.Next()) {
    readable = rows.Feed(first ? WithoutByteOrderMark(block) : block);
    first = false;
  }
  readable = readable && rows.Finish();
  // Read to the end, the checksum tells; cut short, at least the size and time.
  if ((readable && blocks.Checksum() != fChecksum) || blocks.CurrentStamp() != fStamp) {
    return changed();
  }
  return readable ? Pass::Complete : Pass::Unreadable;
}

}  // namespace zcli
