// The checked reader of SEPA files: the six versions SepaWriter writes
// (pain.001.001.09, pain.001.003.03, pain.001.001.03, pain.008.001.08,
// pain.008.003.02, pain.008.001.02), and of them only the elements the writer
// writes. Whatever else a file holds is
// refused by name, never skipped, so a file it does not refuse holds exactly
// the payments it hands over. Payments are handed over one at a time, so a
// file of any size is read in the same small memory.
//
//   std::ifstream in("sepa.xml", std::ios::binary);
//   zor::SepaReader reader(in);
//   for (;;) {
//     switch (reader.Next()) {
//       case zor::SepaReader::Item::Document: /* reader.Document() */ continue;
//       case zor::SepaReader::Item::Block:    /* reader.Block() */ continue;
//       case zor::SepaReader::Item::Payment:  /* reader.Payment(), reader.Place() */ continue;
//       case zor::SepaReader::Item::End: break;
//     }
//     break;
//   }
//
// The control figures (NbOfTxs, CtrlSum) of a payment information block are
// compared when the block ends, those of the group header when the document
// ends: payments already handed over may belong to a file that is refused
// later. Act on them only once Next() has answered End.
//
// A refused file raises zor::SepaReadError, which names the line.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "zordta/Sepa.h"
#include "zordta/host/Exception.h"

namespace zor {

namespace detail {
class SepaReaderState;
}

/// The group header and what the namespace says.
struct SepaDocument {
  std::size_t line = 0;  ///< of the root element
  SepaKind kind = SepaKind::CreditTransfer;
  SepaVersion version = SepaVersion::Current;
  std::string messageId;
  /// CreDtTm as the file states it, without a time zone.
  std::chrono::local_seconds creationTime{};
  std::string initiatingParty;
  SepaPartyId initiatingPartyId{};
  std::size_t count = 0;   ///< NbOfTxs as stated
  std::int64_t cents = 0;  ///< CtrlSum as stated
};

/// One payment information block. Blocks of other accounts, or that differ
/// otherwise, number their settings in group.blockSettings (0 for those of the
/// first block, then in the order they first stand), as SepaSettings::otherBlocks
/// takes them; only the scheme (CORE or B2B) is the same in every block.
struct SepaBlock {
  std::size_t line = 0;    ///< of <PmtInf>
  std::size_t number = 0;  ///< 1-based
  SepaGroup group;         ///< the sequence is OneOff for transfers
  std::string paymentInfoId;
  SepaAccount account;     ///< the debtor of transfers, the creditor of debits; bic may be empty
  std::string creditorId;  ///< direct debits; empty: every payment states its own
  SepaInstrument instrument = SepaInstrument::Core;  ///< direct debits
  std::optional<bool> batchBooking{};                ///< BtchBookg; none: not stated
  SepaParty ultimateParty{};                         ///< UltmtDbtr or UltmtCdtr of the block
  std::string categoryPurpose{};                     ///< PmtTpInf/CtgyPurp/Cd
  bool instant = false;                              ///< transfers: local instrument INST
  /// Transfers: the payment type stood in each transaction, not in the block.
  bool paymentTypePerTransaction = false;
  std::size_t count = 0;   ///< NbOfTxs as stated
  std::int64_t cents = 0;  ///< CtrlSum as stated
};

/// The settings a block was written with, as SepaSettings::otherBlocks takes
/// them: to write a document read again, the first block's go into the
/// SepaSettings themselves and each further index's into otherBlocks.
ZORDTA_API SepaBlockSettings SepaBlockSettingsOf(const SepaBlock& block);

/// Where a payment is.
struct SepaReadPlace {
  std::size_t line = 0;     ///< of its <CdtTrfTxInf> or <DrctDbtTxInf>
  std::size_t payment = 0;  ///< 1-based, over the whole document
};

/// Why a file was refused.
enum class SepaReadFault {
  Unreadable,      ///< the stream failed, or the file is beyond a limit of size or depth
  Xml,             ///< not well-formed XML, or it ends before the document does
  Doctype,         ///< a document type declaration: never loaded, always refused
  Namespace,       ///< a root element of another kind or version
  Element,         ///< an element or attribute the writer does not write, or one missing
  Value,           ///< an amount, date, IBAN, BIC, identifier or code that is not well-formed
  Mixed,           ///< blocks with different accounts, creditor identifiers or schemes
  ControlFigures,  ///< NbOfTxs or CtrlSum differs from the payments
};

class ZORDTA_API SepaReadError : public Exception {
 public:
  SepaReadError(SepaReadFault fault, std::size_t line, std::string text);
  SepaReadFault Fault() const noexcept { return fFault; }
  /// 1-based; 0 when no line is known (the stream failed before any).
  std::size_t Line() const noexcept { return fLine; }
  /// The German sentence without the line, which what() puts in front.
  const std::string& Text() const noexcept { return fText; }

 private:
  SepaReadFault fFault;
  std::size_t fLine;
  std::string fText;
};

class ZORDTA_API SepaReader {
 public:
  enum class Item { Document, Block, Payment, End };

  /// Reads from the stream's position on; the stream must outlive the reader.
  explicit SepaReader(std::istream& in);
  ~SepaReader();
  SepaReader(const SepaReader&) = delete;
  SepaReader& operator=(const SepaReader&) = delete;

  /// The next item. Raises SepaReadError for a refused file, and again on
  /// every later call; after End, answers End again.
  Item Next();

  const SepaDocument& Document() const;
  /// The block being read; valid until the next Block.
  const SepaBlock& Block() const;
  /// The payment just read (its group is its block's); valid until the next call of Next.
  const SepaPayment& Payment() const;
  const SepaReadPlace& Place() const;

 private:
  std::unique_ptr<detail::SepaReaderState> fState;
};

}  // namespace zor
