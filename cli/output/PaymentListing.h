// A read DTAUS file printed as JSON (the shape of a job file, so that a file
// read back can be written again) or as CSV (the payments only). Payments are
// printed one at a time as the importer hands them over; what comes before
// them is known from a first reading of the file (PaymentSummary).
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

#include "payments/DtausImport.h"

namespace zcli {

/// Collects the text and hands it to the stream in large pieces.
class ListingBuffer {
 public:
  explicit ListingBuffer(std::ostream& out) : fOut(out) {}
  /// What is left goes out; a failure then shows in the final check of standard output.
  ~ListingBuffer();
  ListingBuffer(const ListingBuffer&) = delete;
  ListingBuffer& operator=(const ListingBuffer&) = delete;

  std::string& Text() { return fText; }
  /// Hands the text over once it is large.
  void Ready();
  void Flush();

 private:
  std::ostream& fOut;
  std::string fText;
};

/// The same text as nlohmann's dump with an indent of 2, written in pieces.
class JsonListing {
 public:
  /// Prints everything before the first payment.
  JsonListing(std::ostream& out, const std::string& path, const ImportedClient& client,
              const PaymentSummary& summary);
  void Add(const ImportedPayment& payment);
  /// Ends the list and the document.
  void Close();

 private:
  ListingBuffer fBuffer;
  std::size_t fCount = 0;
};

class CsvListing {
 public:
  /// Prints the header: as many purpose columns as the longest payment needs.
  CsvListing(std::ostream& out, const PaymentSummary& summary);
  void Add(const ImportedPayment& payment);

 private:
  ListingBuffer fBuffer;
  std::size_t fPurposeColumns = 1;
};

}  // namespace zcli
