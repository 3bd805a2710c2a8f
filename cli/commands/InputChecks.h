// Checks on what a write command was given, and how their findings are printed.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "io/EntryNames.h"
#include "zordta/DtausReader.h"
#include "zordta/entry/Diagnostics.h"

namespace zcli {

struct WriteOptions;

/// The errors a run prints, as compilers do: the first faults are what a
/// person fixes first, and a million lines on the screen help no one. The
/// rest are counted, and only so many are kept (Diagnostics::KeepFirstByPlace).
inline constexpr std::size_t kShownErrors = 100;

/// The warnings (and notes) a run prints; the rest are counted.
inline constexpr std::size_t kShownWarnings = 100;

/// The warnings a run keeps; the rest are only counted. More than are shown,
/// since those about rows with errors are passed over.
inline constexpr std::size_t kKeptWarnings = 1000;

/// Raises UsageError for option values that are no UTF-8 or hold control
/// characters or characters Windows-1252 lacks.
void CheckOptionText(const WriteOptions& o);

/// Prints the first errors by place, the count of the rest and of all, and
/// answers kBadData.
int ReportErrors(const Diagnostics& errors, const std::string& source);
/// Prints the first warnings about places without errors and the count of the
/// rest; with errors, of the rest kept (KeepAtMost) alone.
void ReportWarnings(const Diagnostics& warnings, const Diagnostics& errors,
                    const std::string& source);
/// Prints notes (nothing wrong, but worth knowing) as "Hinweis:" and the count
/// of those not kept.
void ReportNotes(const Diagnostics& notes);
/// Prints the checked reader's notes about a DTAUS file, each with its byte.
void ReportReaderNotes(const std::string& path, const std::vector<zor::DtausNote>& notes);

}  // namespace zcli
