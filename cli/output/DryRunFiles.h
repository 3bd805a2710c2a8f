// Lets a component finish without touching one file. Rebuilding the cover sheet
// of an existing file means finishing a run under that file's name, and the
// file it describes must stay exactly as it is; every other file (a PDF being
// rendered, say) is written as usual.
#pragma once

#include <string>

namespace zcli {

class DryRunFiles {
 public:
  /// target: the path the component writes, Path() + DTAFilename() in UTF-8.
  explicit DryRunFiles(std::string target);
  ~DryRunFiles();
  DryRunFiles(const DryRunFiles&) = delete;
  DryRunFiles& operator=(const DryRunFiles&) = delete;
};

}  // namespace zcli
