// A read SEPA file printed as JSON, in the shape of a "sepa write" job so that
// it can be written again, or as CSV with the columns "sepa write --csv" reads.
// What a job has no key for (the creation time, the initiating party, the
// stated sums, the blocks) is printed under keys "sepa write" ignores.
#pragma once

#include <ostream>
#include <string>

#include "output/PaymentListing.h"
#include "payments/CheckedSepa.h"

namespace zcli {

class SepaJsonListing {
 public:
  SepaJsonListing(std::ostream& out, const std::string& path, const CheckedSepa& file);
  void Add(const zor::SepaPayment& payment);
  /// Ends the list and the document.
  void Close();

 private:
  ListingBuffer fBuffer;
  bool fDebits;
  bool fDates;  // each payment names its date
  std::size_t fCount = 0;
};

class SepaCsvListing {
 public:
  SepaCsvListing(std::ostream& out, const CheckedSepa& file);
  void Add(const zor::SepaPayment& payment);

 private:
  ListingBuffer fBuffer;
  bool fDebits;
};

}  // namespace zcli
