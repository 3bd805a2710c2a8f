// The checked reader of DTAZV files: the Q record, the T records with the
// reporting records (V, W) each announces, and the Z record, every field
// checked against the record layout and the Z record's totals compared with
// the payments. A file it does not refuse holds exactly what it hands over.
// Items are handed over one at a time, so a file of any size is read in the
// same small memory.
//
//   std::ifstream in("DTAZV", std::ios::binary);
//   zor::DtazvReader reader(in);
//   for (auto item = reader.Next(); item != zor::DtazvReader::Item::End;
//        item = reader.Next()) {
//     if (item == zor::DtazvReader::Item::Payment) { /* reader.Payment() */ }
//   }
//
// A refused file raises zor::DtazvReadError, which names the record and the
// byte offset; reader.Notes() lists what was accepted with a remark.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "zordta/host/Exception.h"
#include "zordta/host/Types.h"

namespace zor {

namespace detail {
class DtazvReaderState;
}

/// Where something is in the file.
struct DtazvPlace {
  std::size_t record = 0;    ///< 1-based
  std::uint64_t offset = 0;  ///< 0-based byte offset in the file
  bool operator==(const DtazvPlace&) const = default;
};

// Text fields are read as the file holds them, trailing blanks removed: the
// format's capitals, digits, blank and + , - . / (lower case only when tolerant).

/// Record Q: the client and the settings of the file.
struct DtazvHeader {
  DtazvPlace place;
  std::int64_t blz = 0;
  std::int64_t konto = 0;
  std::string name1, name2, strasse, ort;
  std::chrono::year_month_day erstellungsdatum;
  std::int32_t lfdNummer = 0;
  std::optional<std::chrono::year_month_day> ausfuehrungsdatum;  ///< none when blank
  std::int32_t bundeslandschluessel = 0;
  std::int32_t firmennummer = 0;
};

/// Record T: one payment.
struct DtazvPayment {
  DtazvPlace place;
  std::int64_t auftraggeberBLZ = 0;
  std::string kontoWaehrung;  ///< currency of the client's account
  std::int64_t auftraggeberKonto = 0;
  std::optional<std::chrono::year_month_day> ausfuehrungsdatum;  ///< none when blank
  // A second bank code, currency and account, and a second country with four
  // address lines: our writer leaves them empty (zeros, blanks).
  std::int64_t otherBLZ = 0;
  std::string otherWaehrung;
  std::int64_t otherKonto = 0;
  std::string bic;  ///< the payee's bank; may be empty
  std::string otherLaendercode;
  std::array<std::string, 4> otherAddress;
  std::string laendercode;  ///< the payee's country; may be empty
  std::string name1, name2, strasse, ortLand;
  std::string iban;                             ///< without the "/" before it
  std::string waehrung;                         ///< the order currency
  std::int64_t betrag = 0;                      ///< in hundredths of the order currency
  std::array<std::string, 4> verwendungszweck;  ///< empty where a line is blank
  // Four two-digit keys, a text of 25 and a two-digit key: zeros and blanks
  // from our writer.
  std::array<std::int32_t, 4> weisungsschluessel{};
  std::string weisungszusatz;
  std::int32_t entgeltregelung = 0;
  std::int32_t zahlungsArtSchluessel = 0;
  std::string notizIntern;
  std::string ansprechpartner;
  std::int32_t anzahlMeldungen = 0;  ///< the V and W records that follow

  std::int64_t BetragVorKomma() const { return betrag / 100; }
  bool operator==(const DtazvPayment&) const = default;
};

/// Record V or W: a reporting record of the payment before it. Its fields
/// stand as one text.
struct DtazvReport {
  DtazvPlace place;
  char satzart = 'W';  ///< 'V' or 'W'
  std::string text;    ///< bytes 6 to 256, trailing blanks removed
};

/// The totals of a Z record, or the same counted from the T records.
struct DtazvTotals {
  std::int64_t summeVorKomma = 0;  ///< sum of the payments' whole units
  std::int64_t anzahl = 0;         ///< number of T records
  bool operator==(const DtazvTotals&) const = default;
};

/// Record Z: the totals it states and those the payments add up to.
struct DtazvTrailer {
  DtazvPlace place;
  DtazvTotals stated;
  DtazvTotals counted;
};

/// Something the reader accepted but the caller should hear about.
struct DtazvNote {
  DtazvPlace place;
  std::string text;  ///< German, one sentence
};

/// Why a file was refused.
enum class DtazvFault {
  Unreadable,     ///< the stream failed
  Truncated,      ///< the file ends inside a record or before the Z record
  Structure,      ///< a record or field that does not follow the layout
  Text,           ///< a byte outside the field's characters
  LineBreaks,     ///< line breaks between the records (readable with `tolerant`)
  Totals,         ///< the Z record disagrees with the payments
  TrailingBytes,  ///< bytes after the Z record that belong to no record
};

class ZORDTA_API DtazvReadError : public Exception {
 public:
  DtazvReadError(DtazvFault fault, DtazvPlace place, std::string text);

  DtazvFault Fault() const noexcept { return fFault; }
  const DtazvPlace& Place() const noexcept { return fPlace; }
  /// The German sentence without the place, which what() puts in front.
  const std::string& Text() const noexcept { return fText; }

 private:
  DtazvFault fFault;
  DtazvPlace fPlace;
  std::string fText;
};

struct DtazvReadOptions {
  /// Accept what damaged archives show: line breaks between the records and
  /// lower-case letters in text and code fields. Each becomes a note.
  bool tolerant = false;
};

class ZORDTA_API DtazvReader {
 public:
  enum class Item { Header, Payment, Report, Trailer, End };

  /// Reads from the stream's position on; the stream must outlive the reader.
  explicit DtazvReader(std::istream& in, DtazvReadOptions options = {});
  ~DtazvReader();
  DtazvReader(const DtazvReader&) = delete;
  DtazvReader& operator=(const DtazvReader&) = delete;

  /// The next record. Raises DtazvReadError for a refused file; after End,
  /// answers End again.
  Item Next();

  /// The Q record.
  const DtazvHeader& Header() const;
  /// The payment just read, or the one the report just read belongs to.
  const DtazvPayment& Payment() const;
  /// The V or W record just read.
  const DtazvReport& Report() const;
  /// The Z record.
  const DtazvTrailer& Trailer() const;
  /// What was accepted with a remark, in file order. Of many alike, the first
  /// few are kept and one more note counts the rest.
  const std::vector<DtazvNote>& Notes() const;

 private:
  std::unique_ptr<detail::DtazvReaderState> fState;
};

/// Reads to the end: `header` gets record Q, `payment` each record T together
/// with the V and W records that follow it, handed over while the reader still
/// holds the payment. Record Z is then reader.Trailer(). Raises DtazvReadError
/// as Next() does.
ZORDTA_API void ReadDtazvPayments(
    DtazvReader& reader, const std::function<void(const DtazvHeader&)>& header,
    const std::function<void(const DtazvPayment&, std::span<const DtazvReport>)>& payment);

}  // namespace zor
