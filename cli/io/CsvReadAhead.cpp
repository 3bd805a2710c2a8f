#include "io/CsvReadAhead.h"

#include <cstring>
#include <exception>
#include <vector>

#include "io/ReadAhead.h"

namespace zcli {

namespace {

// A row taken, its cells copied one after the other: the text they viewed is
// gone by the time the caller takes it.
struct RowCopy {
  std::string cells;
  std::vector<std::size_t> ends;
  int line = 0;
  bool oneLine = false;
  std::string where;
  PreparedRow prepared;
};

}  // namespace

CsvFile::Pass ReadRowsAhead(const CsvFile& file, Diagnostics& errors, const RowSorter& sort,
                            const RowPreparer& prepare, const SortedRowTaker& take,
                            CsvReading reading) {
  // The reading thread's alone until the reading has ended.
  Diagnostics readErrors = errors.EmptyLike();
  CsvFile::Pass pass = CsvFile::Pass::Complete;
  CsvRow row;
  ReadAhead<RowCopy>(
      [&](const std::function<RowCopy&()>& next) {
        std::string where;
        // The end of the reading raised on the way is passed on once the rows
        // are read: it must not pass through the CSV parser's C frames.
        std::exception_ptr ended;
        pass = file.ReadRows(
            readErrors,
            [&](const CsvRow& split) {
              const RowFate fate = sort(split, where, readErrors);
              if (fate != RowFate::Take) return fate == RowFate::Skip;
              try {
                RowCopy& copy = next();
                // Sized once, then copied cell by cell: this runs for every row.
                std::size_t total = 0;
                for (const std::string_view cell : split.cells) total += cell.size();
                copy.cells.resize(total);
                copy.ends.resize(split.cells.size());
                std::size_t end = 0;
                for (std::size_t i = 0; i < split.cells.size(); ++i) {
                  const std::string_view cell = split.cells[i];
                  if (!cell.empty()) std::memcpy(copy.cells.data() + end, cell.data(), cell.size());
                  end += cell.size();
                  copy.ends[i] = end;
                }
                copy.line = split.line;
                copy.oneLine = split.oneLine;
                copy.where = where;
                if (prepare) prepare(split, copy.prepared);
                return true;
              } catch (...) {
                ended = std::current_exception();
                return false;
              }
            },
            reading);
        if (ended) std::rethrow_exception(ended);
      },
      [&](const RowCopy& copy) {
        row.line = copy.line;
        row.oneLine = copy.oneLine;
        row.cells.resize(copy.ends.size());
        std::size_t from = 0;
        for (std::size_t i = 0; i < copy.ends.size(); ++i) {
          row.cells[i] = std::string_view(copy.cells.data() + from, copy.ends[i] - from);
          from = copy.ends[i];
        }
        take(row, copy.where, prepare ? &copy.prepared : nullptr);
      });
  errors.Append(std::move(readErrors));
  return pass;
}

}  // namespace zcli
