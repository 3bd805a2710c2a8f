// The end of a write command: the booked run's files written and committed
// together, then printed and reported.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "commands/OutputFiles.h"
#include "commands/WriteOptions.h"
#include "zordta/ZorDTA.h"

namespace zcli {

class StreamedOutput;

/// One booked run: its component, how it is finished, its cover sheet as text.
struct BookedRun {
  zor::TZorBaseDTA& component;
  std::function<void()> finish;
  std::function<zor::String()> begleitzettel;
};

/// Finishes booked runs, one after another into the one payment file, into
/// temporary files (the payment file, the sheets: one sheet per run) and
/// commits them together, then prints and reports; answers the exit code:
/// kDone, kBadData when nothing was written, kWrittenNotAll when the files
/// stand but printing or the report failed. `summary` is asked after the
/// commit, with the byte offset at which each run's part of the file begins.
/// With `streamed`, the runs are finished into its payment file already; its
/// files are completed and committed.
int FinishRun(const std::vector<BookedRun>& runs, const OutputFiles& files, const WriteOptions& o,
              const std::function<std::string(const std::vector<std::uint64_t>& starts)>& summary,
              StreamedOutput* streamed = nullptr);

}  // namespace zcli
