// The flow every write command takes: read and check (each command its own
// way), report, then a dry run or stage and commit. A command passes in only
// what differs: its reading, its lines, its writing.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "io/EntryNames.h"
#include "zordta/Sepa.h"
#include "zordta/entry/Diagnostics.h"

namespace zcli {

/// What the check of a write command found. Of the errors only those printed
/// are kept: a file refused row by row costs no memory for its faults.
struct CheckedInput {
  CheckedInput();
  Diagnostics inputErrors;  ///< the input's own, such as a row it cannot read
  Diagnostics errors;       ///< of the settings and the payments
  Diagnostics warnings;
  std::size_t records = 0;
  bool complete = true;  ///< the input was read to its end
};

/// Prints what the check found. Answers the exit code when the run ends here:
/// an unreadable input names only its own faults, since its rows cannot be
/// trusted; any fault, or no payment at all, writes nothing.
std::optional<int> ReportChecked(CheckedInput& checked, const std::string& inputName);

/// The last step: with --dry-run the lines saying what was checked, else the
/// commit. Answers the exit code.
int DryRunOrCommit(bool dryRun, const std::vector<std::string>& checkedLines,
                   const std::function<int()>& commit);

/// Runs `write`; an OutputError it raises is reported with "Nichts
/// geschrieben." and answers kBadData.
std::optional<int> WriteOrReport(const std::function<void()>& write);

/// How a command explains a refusal of the library's writer when no stream
/// failed; it may raise an OutputError of its own first.
struct WriterRefusal {
  std::function<void(const zor::SepaError&)> before;  ///< may be empty
  std::function<std::string(const zor::SepaError&)> message;
};

/// Writes `targets` together: each into a temporary file beside it, filled by
/// `write` (the streams in the order of the targets), then all moved onto
/// their targets, or none. `inputs` are never replaced. Raises OutputError.
void WriteStaged(const std::vector<std::string>& targets, const std::vector<std::string>& inputs,
                 bool overwrite,
                 const std::function<void(const std::vector<std::ostream*>&)>& write,
                 const WriterRefusal& refusal);

/// The lines of a run that wrote: printed once the files stand; answers the exit code.
int ReportWritten(const std::vector<std::string>& lines);

}  // namespace zcli
