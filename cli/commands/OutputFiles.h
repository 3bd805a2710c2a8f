// Where a write command's files go, checked before any work is done.
#pragma once

#include <string>
#include <vector>

#include "commands/WriteOptions.h"

namespace zcli {

struct OutputFiles {
  std::string target;     ///< as the component writes it: Path() + DTAFilename()
  std::string textSheet;  ///< empty with --no-text
  /// One per cover sheet, none with --no-pdf: a PDF holds one sheet.
  std::vector<std::string> pdfSheets;
  std::vector<std::string> inputs;  ///< never replaced by any of the three
};

/// The paths of a run whose file holds `sheets` logical files, each with its
/// cover sheet; the file name must be a bare name and not one of the tool's
/// temporary files (UsageError). A path that is one of the inputs raises
/// zor::Exception: that is known before any work is done.
OutputFiles PlanOutput(const std::string& folder, const std::string& fileName,
                       const std::string& fileNameLabel, const WriteOptions& o,
                       std::size_t sheets = 1);
/// Raises UsageError when `fileName` (a bare name) has the form of the tool's
/// temporary files; `label` names the option or setting it came from.
void CheckNotTemporaryName(const std::string& fileName, const std::string& label);

/// Raises zor::Exception when a target exists and may not be replaced, or is
/// one of the inputs. The commit checks again: this only saves the work.
void CheckTargetsFree(const OutputFiles& files, const WriteOptions& o);

/// Makes the folder a target goes into; raises OutputError when it cannot.
void CreateFolderOf(const std::string& target);

}  // namespace zcli
