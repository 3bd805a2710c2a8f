// What "sepa read --format csv" prints beyond the columns of every SEPA table
// (the counterparty's street, town and country, the creditor reference, the
// ultimate parties' names, the category purpose), and what only the JSON can
// carry: a note names it, since a CSV written back would lose it.
#pragma once

#include <string>
#include <vector>

#include "zordta/SepaReader.h"

namespace zcli {

/// The header's tail: ",strasse,hausnummer,...".
extern const char* const kSepaCsvExtraHeader;

/// The row's tail in the order of kSepaCsvExtraHeader.
void AppendSepaCsvExtras(std::string& text, const zor::SepaPayment& payment);

/// Collects the keys of what the CSV leaves out, each once, in the order met.
class SepaJsonOnly {
 public:
  void Note(const zor::SepaDocument& document, const zor::SepaBlock& block);
  void Note(const zor::SepaPayment& payment);
  /// What `later` noted, after what this one did.
  void Note(const SepaJsonOnly& later);
  /// One German line, or empty when the CSV holds everything.
  std::string Text() const;

 private:
  void Add(const char* key);
  std::vector<const char*> fKeys;
  bool fPerTransaction = false;  // the payment type stood in each transaction
  bool fOwnCategory = false;     // which a payment's own category implies
};

}  // namespace zcli
