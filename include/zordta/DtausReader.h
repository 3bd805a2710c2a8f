// The checked reader of DTAUS files: every record of every logical file in a
// physical file, each field checked against the record layout, the control
// figures of each E record compared with the payments before it. Unlike
// TZorDTA::ImportDTA it never guesses: a file it does not refuse holds exactly
// the payments it hands over. Payments are handed over one at a time, so a file
// of any size is read in the same small memory.
//
//   std::ifstream in("DTAUS0.TXT", std::ios::binary);
//   zor::DtausReader reader(in);
//   for (;;) {
//     switch (reader.Next()) {
//       case zor::DtausReader::Item::Header:  /* reader.Header() */ continue;
//       case zor::DtausReader::Item::Payment: /* reader.Payment() */ continue;
//       case zor::DtausReader::Item::Trailer: /* reader.Trailer() */ continue;
//       case zor::DtausReader::Item::End: break;
//     }
//     break;
//   }
//
// A refused file raises zor::DtausReadError, which names the record and the
// byte offset; reader.Notes() lists what was accepted with a remark.
#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "zordta/host/Exception.h"
#include "zordta/host/Types.h"

namespace zor {

namespace detail {
class DtausReaderState;
}

/// Where something is in the file.
struct DtausPlace {
  std::size_t record = 0;    ///< 1-based, counted over all logical files of the physical file
  std::uint64_t offset = 0;  ///< 0-based byte offset in the file
};

/// Euro files carry "1" in the last byte of record A; DM files (before 2002) a blank.
enum class DtausCurrency { Euro, DM };

struct DtausClient {
  std::string name;  ///< UTF-8, capitals, as the file holds it (trailing blanks removed)
  std::int64_t blz = 0;
  std::int64_t konto = 0;
  bool operator==(const DtausClient&) const = default;
};

/// Record A: the client and the settings of one logical file.
struct DtausHeader {
  DtausPlace place;
  std::size_t logicalFile = 0;  ///< 1-based
  bool lastschriften = false;   ///< kind "LK"; "GK" is false
  DtausClient auftraggeber;
  std::chrono::year_month_day dateidatum;
  std::optional<std::chrono::year_month_day> ausfuehrungsdatum;  ///< none when the field is blank
  std::string diskettennummer;  ///< as the file holds it, blanks removed; often empty
  std::int64_t referenz = 0;    ///< the sender's reference number, 0 when blank
  DtausCurrency waehrung = DtausCurrency::Euro;
};

/// Record C: one payment.
struct DtausPayment {
  DtausPlace place;
  std::string name;  ///< the payee (credits) or the payer (debits)
  std::int64_t blz = 0;
  std::int64_t konto = 0;
  std::string zahlungsschluessel;  ///< the two key digits and the three-digit supplement
  std::int64_t betrag = 0;         ///< in cents (Euro file) or Pfennig (DM file)
  std::int64_t kundennummer = 0;   ///< the client's internal number, 0 when blank
  /// Line 1 is the record's purpose field; then every purpose extension in
  /// order. A blank purpose extension is an empty line in its place.
  std::vector<std::string> verwendungszweck;
  std::vector<std::string> namenszusatz;        ///< extensions of type 01
  std::vector<std::string> auftraggeberzusatz;  ///< extensions of type 03
  DtausClient auftraggeber;                     ///< as this record states it
};

/// The figures of an E record, or the same figures counted from the payments.
struct DtausControlFigures {
  std::int64_t anzahl = 0;
  std::int64_t kontonummern = 0;
  std::int64_t bankleitzahlen = 0;
  std::int64_t cent = 0;     ///< Euro amounts
  std::int64_t pfennig = 0;  ///< DM amounts
  bool operator==(const DtausControlFigures&) const = default;
};

/// Record E: the control figures it states and those the payments add up to.
struct DtausTrailer {
  DtausPlace place;
  DtausControlFigures stated;
  DtausControlFigures counted;
};

/// Something the reader accepted but the caller should hear about.
struct DtausNote {
  DtausPlace place;
  std::string text;  ///< German, one sentence
};

/// Why a file was refused.
enum class DtausFault {
  Unreadable,      ///< the stream failed
  Truncated,       ///< the file ends inside a record or before an E record
  Structure,       ///< a record or field that does not follow the layout
  Text,            ///< a byte outside the format's characters in a text field
  LineBreaks,      ///< line breaks between the records (readable with `tolerant`)
  ControlFigures,  ///< an E record disagrees with the payments before it
  TrailingBytes,   ///< bytes after the last E record that belong to no record
};

class ZORDTA_API DtausReadError : public Exception {
 public:
  DtausReadError(DtausFault fault, DtausPlace place, std::string text,
                 std::vector<std::string> details = {});

  DtausFault Fault() const noexcept { return fFault; }
  const DtausPlace& Place() const noexcept { return fPlace; }
  /// The German sentence without the place, which what() puts in front.
  const std::string& Text() const noexcept { return fText; }
  /// For ControlFigures: one German sentence per figure that differs.
  const std::vector<std::string>& Details() const noexcept { return fDetails; }

 private:
  DtausFault fFault;
  DtausPlace fPlace;
  std::string fText;
  std::vector<std::string> fDetails;
};

struct DtausReadOptions {
  /// Compare the sums of each E record with the payments. Its count of C
  /// records is compared always: a count that disagrees means records are lost.
  bool checkSums = true;
  /// Accept what damaged archives show: a line break after each 128-byte
  /// part, lower-case letters and umlauts of other code pages in text fields.
  /// Each deviation becomes a note.
  bool tolerant = false;
};

class ZORDTA_API DtausReader {
 public:
  enum class Item { Header, Payment, Trailer, End };

  /// Reads from the stream's position on; the stream must outlive the reader.
  explicit DtausReader(std::istream& in, DtausReadOptions options = {});
  ~DtausReader();
  DtausReader(const DtausReader&) = delete;
  DtausReader& operator=(const DtausReader&) = delete;

  /// The next record. Raises DtausReadError for a refused file; after End,
  /// answers End again.
  Item Next();

  /// The record A of the current logical file.
  const DtausHeader& Header() const;
  /// The payment just read; valid until the next call of Next.
  const DtausPayment& Payment() const;
  /// The E record just read.
  const DtausTrailer& Trailer() const;
  /// What was accepted with a remark, in file order. Of many alike, the first
  /// few are kept and one more note counts the rest.
  const std::vector<DtausNote>& Notes() const;

 private:
  std::unique_ptr<detail::DtausReaderState> fState;
};

/// One German sentence per figure in which `stated` and `counted` differ.
ZORDTA_API std::vector<std::string> DtausFigureDifferences(const DtausControlFigures& stated,
                                                           const DtausControlFigures& counted);

}  // namespace zor
