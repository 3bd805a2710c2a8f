// A logical file of a DTAUS file as a SEPA document: record A becomes the
// document's settings, each record C a payment. Every fault is placed at its
// record ("Datensatz 7 (Byte 1024)"), so the user finds it in the file.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "io/Diagnostics.h"
#include "payments/AccountTables.h"
#include "payments/DtausAccounts.h"
#include "zordta/DtausReader.h"
#include "zordta/Sepa.h"

namespace zcli {

/// What the command line says for every document.
struct ConvertSettings {
  zor::SepaVersion version = zor::SepaVersion::Current;
  bool strict = false;
  std::string messageId;   ///< empty: made by the library; "-k" added when there are several
  std::string clientIban;  ///< --iban; empty: from record A
  std::string clientBic;   ///< --bic; empty: from record A, or none with --iban
  std::string creditorId;  ///< direct debits
  /// --ausfuehrung; none: record A's execution date, else its file date.
  std::optional<std::chrono::year_month_day> executionDate;
  const MandateList* mandates = nullptr;  ///< none: no --mandate
  std::string mandatesName;               ///< the mandate file, for messages
};

/// One logical file on its way to a SEPA document.
struct SepaDocument {
  zor::DtausPlace place;  ///< of record A
  /// False when its payments cannot be converted at all (a DM file).
  bool usable = true;
  /// The instrument comes from the first direct debit's key.
  zor::SepaSettings settings;
  std::chrono::year_month_day date;
  std::string firstDebitKey;  ///< empty until the first direct debit
  std::string firstDebitWhere;
};

class DtausToSepa {
 public:
  DtausToSepa(const ConvertSettings& settings, DtausAccounts& accounts)
      : fSettings(settings), fAccounts(accounts) {}

  /// The document of logical file `number` (from 1); `numbered` when there
  /// are several, which puts "-number" after a message ID given. Faults of
  /// record A go to `errors`; a client without IBAN gets a stand-in, so that
  /// the payments are still checked.
  SepaDocument Open(const zor::DtausHeader& header, std::size_t number, bool numbered,
                    Diagnostics& errors, Diagnostics& warnings);

  /// One payment of `document`; false when it has a fault, which went to
  /// `errors`. The first direct debit fixes the document's instrument.
  bool Convert(const zor::DtausPayment& payment, SepaDocument& document, zor::SepaPayment& out,
               Diagnostics& errors, Diagnostics& warnings);

 private:
  const ConvertSettings& fSettings;
  DtausAccounts& fAccounts;
};

/// A valid IBAN for a client or option the checks refused, so that the
/// payments are still checked; never written, since a fault was reported.
inline constexpr const char* kStandInIban = "DE89370400440532013000";
inline constexpr const char* kStandInCreditorId = "DE98ZZZ09999999999";

}  // namespace zcli
