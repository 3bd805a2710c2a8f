// A SEPA file read with the library's checked reader. As a DTAUS file it is
// read twice, so that no payment is held in memory: first whole, to refuse a
// bad file before anything is printed and to learn its settings and blocks;
// then once more to hand the payments over.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "io/InputReadTwice.h"
#include "zordta/SepaReader.h"

namespace zcli {

class CheckedSepa {
 public:
  /// "-" reads standard input; it and a pipe are kept in memory for the second reading.
  explicit CheckedSepa(std::string path);

  /// The first reading. Raises zor::SepaReadError for a refused file and
  /// zor::Exception naming the file when it cannot be read.
  void Check();
  /// The second reading: every payment in file order. False when the file no
  /// longer reads as it did: it changed in between.
  bool ReadAgain(const std::function<void(const zor::SepaPayment&)>& take) const;

  const zor::SepaDocument& Document() const { return fDocument; }
  /// Every block as its head states it; they share account, creditor id and scheme.
  const std::vector<zor::SepaBlock>& Blocks() const { return fBlocks; }
  /// Whether the payments have more than one requested date.
  bool SeveralDates() const;

 private:
  // Answers the checksum of the bytes read (InputReadTwice::Read).
  template <class Visit>
  std::uint64_t Read(Visit&& visit) const;

  InputReadTwice fInput;
  std::uint64_t fChecksum = 0;  // of the first reading
  zor::SepaDocument fDocument;
  std::vector<zor::SepaBlock> fBlocks;
};

}  // namespace zcli
