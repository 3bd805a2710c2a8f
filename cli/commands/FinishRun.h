// The end of a write command: the booked run's files written and committed
// together, then printed and reported.
#pragma once

#include <functional>
#include <string>

#include "commands/OutputFiles.h"
#include "commands/WriteOptions.h"
#include "zordta/ZorDTA.h"

namespace zcli {

/// Finishes a booked run into temporary files (the payment file, the sheets)
/// and commits them together, then prints and reports; answers the exit code:
/// kDone, kBadData when nothing was written, kWrittenNotAll when the files
/// stand but printing or the report failed. `summary` is asked after the commit.
int FinishRun(zor::TZorBaseDTA& component, const std::function<void()>& finish,
              const std::function<zor::String()>& begleitzettel, const OutputFiles& files,
              const WriteOptions& o, const std::function<std::string()>& summary);

}  // namespace zcli
