// The records of a DTAUS file, written one by one into a sink as they are
// made: record A when the writer is made, a record C per payment, record E
// with the exact control figures at Finish. Nothing of the file is kept, so a
// file of any size is written in the same small memory. TZorDTA writes its
// records through it, into its buffer.
//
//   zor::DtausWriter::Header header;
//   header.client = {"MUSTER GMBH", 37040044, 532013000};
//   header.dateidatum = std::chrono::year{2026} / 3 / 2;
//   zor::DtausWriter writer(sink, header);  // any zor::ByteSink
//   const std::array<std::string_view, 1> purpose{"RECHNUNG 4711"};
//   writer.Add({.name = "MEIER", .blz = 20050550, .konto = 1234567, .cent = 1250,
//               .purpose = purpose});
//   writer.Finish();
//
// Texts are Windows-1252 bytes; they are written in capitals, in the DTAUS
// character set, with the umlauts in the file's code. A value that cannot
// stand in its field raises zor::DtausWriteError and writes nothing.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "zordta/ByteSink.h"
#include "zordta/Config.h"
#include "zordta/host/Exception.h"

namespace zor {

class TZorDTA;

/// How a file codes Ä, Ö, Ü and ß: files named "DTAUS0…" in the 7-bit German
/// codes, every other file in the PC codes.
enum class DtausUmlauts { German7Bit, Pc };

/// The code a file of that name uses.
ZORDTA_API DtausUmlauts DtausUmlautsOf(std::string_view fileName);

/// What the writer refused.
enum class DtausWriteFault {
  BankCode,        ///< a payment's bank code: 0 to 99999999
  Account,         ///< a payment's account: 0 to 9999999999
  Amount,          ///< cents: 0 to 99999999999
  PurposeLines,    ///< more than a record C carries (19)
  Key,             ///< a payment key not of five characters
  Text,            ///< a name or purpose line longer than its field (27), once cleaned
  ClientBankCode,  ///< the client's bank code
  ClientAccount,   ///< the client's account
  Count,           ///< record E counts at most 9999999 payments
  Sum,             ///< record E sums at most 9999999999999 cents
  Date,      ///< a date record A cannot hold (years 1 to 9999), or a diskette number beyond 9999
  Finished,  ///< a payment or a second Finish after Finish
};

class ZORDTA_API DtausWriteError : public Exception {
 public:
  explicit DtausWriteError(DtausWriteFault fault);
  DtausWriteFault Fault() const noexcept { return fFault; }

 private:
  DtausWriteFault fFault;
};

class ZORDTA_API DtausWriter {
 public:
  struct Client {
    std::string_view name{};  ///< Windows-1252
    std::int32_t blz = 0;
    std::int64_t konto = 0;
  };

  /// Record A, and the key of every payment that brings none.
  struct Header {
    Client client{};
    bool lastschriften = false;  ///< debits; the file's kind "LK" (else "GK")
    bool abbuchung = false;      ///< debits on a debit order: key 04000 (else 05000)
    /// The file's own key, five characters, or empty. 04000 and 05000 make a
    /// file of debits, any other key one of credits.
    std::string_view zahlungsschluessel{};
    std::chrono::year_month_day dateidatum{};
    std::optional<std::chrono::year_month_day> ausfuehrungsdatum{};
    std::optional<int> diskettennummer{};  ///< 0 to 9999; none: blanks
    DtausUmlauts umlauts = DtausUmlauts::Pc;
  };

  struct Booking {
    std::string_view name{};  ///< Windows-1252
    std::int64_t blz = 0;
    std::int64_t konto = 0;
    std::int64_t cent = 0;
    /// Windows-1252; none: one empty line.
    std::span<const std::string_view> purpose{};
    std::string_view zahlungsschluessel{};  ///< five characters; empty: the file's
  };

  /// The control figures of record E.
  struct Totals {
    std::int32_t count = 0;
    std::int64_t summeKontonummer = 0;
    std::int64_t summeBLZ = 0;
    std::int64_t summeCent = 0;
  };

  /// Writes record A into `sink`, which must outlive the writer.
  DtausWriter(ByteSink& sink, const Header& header);

  /// Writes the payment's record C and counts it.
  void Add(const Booking& booking);
  /// Writes record E. Nothing can be added after it.
  void Finish();

  /// What Add would refuse of the payment's numbers, counts and sums (its
  /// texts are judged as they are cleaned); none when it would take it.
  std::optional<DtausWriteFault> Refusal(const Booking& booking) const;

  const Totals& Figures() const { return fTotals; }
  /// Bytes handed to the sink so far.
  std::uint64_t BytesWritten() const { return fBytes; }

 private:
  friend class TZorDTA;
  enum class LongTexts { Refuse, Cut };

  DtausWriter(ByteSink& sink, const Header& header, LongTexts longTexts);
  // The component changes the client, the key and the code between bookings
  // and prepares its purpose lines itself: they go back into the caller's list.
  /// False when the client's name is longer than its field.
  bool SetClient(const Client& client, DtausUmlauts umlauts);
  void AddCleaned(const Booking& booking, std::span<const std::string_view> cleanedLines);
  void Reopen() { fFinished = false; }
  void Put(std::string_view bytes);
  std::size_t CleanText(std::string_view text, char* out) const;

  ByteSink* fSink;
  LongTexts fLongTexts;
  DtausUmlauts fUmlauts;
  std::string fFileKey;
  std::int32_t fClientBLZ;
  std::int64_t fClientKonto;
  std::string fClientName;        ///< cleaned, cut to its field
  std::string fClientNameSource;  ///< what it was cleaned from
  bool fClientNameCleaned = false;
  Totals fTotals;
  std::uint64_t fBytes = 0;
  bool fFinished = false;
};

}  // namespace zor
