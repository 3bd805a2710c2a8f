// A read SEPA file printed as JSON, in the shape of a "sepa write" job so that
// it can be written again, or as CSV with the columns "sepa write --csv" reads.
// What a job has no key for (the creation time, the initiating party, the
// stated sums, the blocks) is printed under keys "sepa write" ignores.
// The payments are spooled as they are read; Print writes the listing once
// the file is read whole and not refused.
#pragma once

#include <ostream>
#include <string>

#include "output/ListingSpool.h"
#include "payments/CheckedSepa.h"

namespace zcli {

class SepaJsonListing {
 public:
  explicit SepaJsonListing(bool debits) : fDebits(debits) {}
  void Add(const zor::SepaPayment& payment);
  /// The head, the payments, each with its date only when they have several, and the end.
  void Print(std::ostream& out, const std::string& path, const CheckedSepa& file);

 private:
  ListingSpool fSpool;
  bool fDebits;
  std::size_t fCount = 0;
};

class SepaCsvListing {
 public:
  explicit SepaCsvListing(bool debits);
  void Add(const zor::SepaPayment& payment);
  void Print(std::ostream& out);

 private:
  ListingSpool fSpool;
  bool fDebits;
};

}  // namespace zcli
