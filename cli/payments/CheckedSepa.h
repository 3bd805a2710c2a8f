// A SEPA file read once, whole, with the library's checked reader. The caller
// takes the payments as they come and prints them only once the reading ended
// without a refusal (see ListingSpool): the blocks and whether the payments
// share a date are known only then.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "zordta/SepaReader.h"

namespace zcli {

class CheckedSepa {
 public:
  /// "-" reads standard input.
  explicit CheckedSepa(std::string path);

  /// `start` gets the document as its group header states it, before the
  /// first payment; `take` each payment in file order. Raises
  /// zor::SepaReadError for a refused file and zor::Exception naming the file
  /// when it cannot be read.
  void Read(const std::function<void(const zor::SepaDocument&)>& start,
            const std::function<void(const zor::SepaPayment&)>& take);

  const zor::SepaDocument& Document() const { return fDocument; }
  /// Every block as its head states it.
  const std::vector<zor::SepaBlock>& Blocks() const { return fBlocks; }
  /// Whether the payments have more than one requested date.
  bool SeveralDates() const;

 private:
  std::string fPath;
  zor::SepaDocument fDocument;
  std::vector<zor::SepaBlock> fBlocks;
};

}  // namespace zcli
