// A read DTAUS file printed as JSON (the shape of a job file, so that a file
// read back can be written again) or as CSV (the payments only). Payments are
// printed one at a time as the reader hands them over; what comes before them
// is known from a first reading of the file (LogicalFile).
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "output/ListingSpool.h"
#include "payments/CheckedDtaus.h"

namespace zcli {

/// A CSV field, quoted when it holds a delimiter, a quote, a line break or
/// blanks at either end.
std::string CsvCell(const std::string& text);
/// The same cell appended to `text`.
void AppendCsvCell(std::string& text, std::string_view cell);

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

/// A spool's replay into the buffer.
inline ListingSpool::Put SpoolInto(ListingBuffer& buffer) {
  return [&buffer](std::string_view piece) {
    buffer.Text() += piece;
    buffer.Ready();
  };
}

/// The same text as nlohmann's dump with an indent of 2, written in pieces.
/// One logical file gives the flat shape of a job; several give a list of
/// them under "dateien".
class JsonListing {
 public:
  JsonListing(std::ostream& out, std::string path, const std::vector<LogicalFile>& files);
  void Add(std::size_t file, const zor::DtausPayment& payment);
  /// Ends the lists and the document.
  void Close();

  /// The fixed text around a payment's values, made once for its indent.
  struct Pieces {
    explicit Pieces(const std::string& indent);
    std::string open, konto, blz, betrag, zahlungsschluessel, kundennummer;
    std::string verwendungszweck, namenszusatz, auftraggeberzusatz;  // up to the "["
    std::string line, listEnd;  // before each line of a list, and before its "]"
    std::string auftraggeber, auftraggeberBlz, auftraggeberKonto, auftraggeberEnd;
    std::string close;
  };

 private:
  void Open(std::size_t file);
  void CloseFile();

  ListingBuffer fBuffer;
  const std::vector<LogicalFile>& fFiles;
  bool fNested;
  Pieces fPieces;
  std::size_t fOpen = 0;   // logical files begun
  std::size_t fCount = 0;  // payments of the open file
};

/// True when the payment names a client other than its file's record A.
bool HasOwnClient(const zor::DtausPayment& payment, const zor::DtausHeader& header);

class CsvListing {
 public:
  /// What the payment carries that the CSV has no column for, each in words
  /// with its key in the JSON ("einen Namenszusatz („namenszusatz“)"); empty
  /// when the CSV holds all of it.
  static std::vector<std::string> Unlisted(const zor::DtausPayment& payment,
                                           const zor::DtausHeader& header);

  /// Prints the header: as many purpose columns as the longest payment needs,
  /// and the logical file and the currency where they can differ.
  CsvListing(std::ostream& out, const std::vector<LogicalFile>& files);
  void Add(std::size_t file, const zor::DtausPayment& payment);

 private:
  ListingBuffer fBuffer;
  const std::vector<LogicalFile>& fFiles;
  std::size_t fPurposeColumns = 1;
  bool fFileColumn = false;
  bool fCurrencyColumn = false;
};

}  // namespace zcli
