// The rows of a CSV file, split on a thread of their own a batch ahead of the
// caller: reading and splitting a payment table is a sixth of writing its
// payments, and on a second core it no longer adds to the write's time.
#pragma once

#include <functional>
#include <string>

#include "io/CsvFile.h"
#include "io/PreparedRow.h"
#include "zordta/entry/CsvRecords.h"
#include "zordta/entry/Diagnostics.h"

namespace zcli {

/// What becomes of a row the reading thread has split.
enum class RowFate { Take, Skip, Stop };

/// Decides on the reading thread: Take hands the row on with its place
/// (`where`, "Zeile 4"), Skip leaves it out, Stop ends the reading. Faults it
/// finds go to the `errors` it is given.
using RowSorter = std::function<RowFate(const CsvRow&, std::string& where, Diagnostics& errors)>;
/// Works out on the reading thread what the caller will need of a row it takes.
using RowPreparer = std::function<void(const CsvRow&, PreparedRow&)>;
/// Takes a row on the caller's thread, with the place the sorter gave it and
/// what the preparer made of it (null without a preparer).
using SortedRowTaker =
    std::function<void(const CsvRow&, const std::string& where, const PreparedRow* prepared)>;

/// CsvFile::ReadRows of `file` with `sort` and `prepare` (may be empty) on a
/// thread of its own: the rows it takes reach `take` on the caller's thread, in
/// order. The faults of the reading and the sorter go to `errors` once every
/// row was taken; they are kept as `errors` keeps its own. What the reading
/// raises is raised after the rows before it were taken; what `take` raises
/// ends the reading.
CsvFile::Pass ReadRowsAhead(const CsvFile& file, Diagnostics& errors, const RowSorter& sort,
                            const RowPreparer& prepare, const SortedRowTaker& take,
                            CsvReading reading);

}  // namespace zcli
