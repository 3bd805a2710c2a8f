#include "io/CsvFile.h"

#include <cstring>
#include <utility>

namespace zcli {

namespace {

// memchr finds a line break many bytes at a time.
int LineBreaks(std::string_view text) {
  int count = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const void* found = std::memchr(text.data() + at, '\n', text.size() - at);
    if (found == nullptr) break;
    at = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
    ++count;
  }
  return count;
}

}  // namespace

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
    if (!fMalformed) {
      Diagnostics fault;
      if (!CheckCsvUtf8(block, line, fault)) fMalformed = fault.Items().front();
    }
    line += LineBreaks(block);
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
