// One cover sheet to several printers at once: the component prints once, at the
// end of Finish, and a run may want both the PDF beside the file and paper.
#pragma once

#include <exception>
#include <memory>
#include <vector>

#include "zordta/host/Printers.h"

namespace zcli {

class TeePrinter : public zor::TPrinter {
 public:
  struct Target {
    std::shared_ptr<zor::TPrinter> printer;
    bool singleCopy;  ///< a file needs the page once, whatever the copy count
  };

  explicit TeePrinter(std::vector<Target> targets);
  ~TeePrinter() override;

  void BeginDoc() override;
  void EndDoc() override;
  void Abort() override;
  zor::TCanvas& Canvas() override;

 private:
  class TeeCanvas;

  std::vector<Target> fTargets;
  std::vector<bool> fActive;  ///< targets with a document begun
  std::exception_ptr fFailure;
  std::unique_ptr<TeeCanvas> fCanvas;
};

}  // namespace zcli
