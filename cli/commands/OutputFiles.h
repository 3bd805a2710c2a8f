// Where a write command's files go, checked before any work is done.
#pragma once

#include <string>
#include <vector>

#include "commands/WriteOptions.h"

namespace zcli {

struct OutputFiles {
  std::string target;               ///< as the component writes it: Path() + DTAFilename()
  std::string textSheet;            ///< empty with --no-text
  std::string pdfSheet;             ///< empty with --no-pdf
  std::vector<std::string> inputs;  ///< never replaced by any of the three
};

/// The paths of a run; the file name must be a bare name (UsageError).
OutputFiles PlanOutput(const std::string& folder, const std::string& fileName,
                       const std::string& fileNameLabel, const WriteOptions& o);
/// Raises zor::Exception when a target exists and may not be replaced, or is
/// one of the inputs. The commit checks again: this only saves the work.
void CheckTargetsFree(const OutputFiles& files, const WriteOptions& o);

}  // namespace zcli
