// A DTAUS file read with the library's checked reader. It is read twice, so
// that no payment is held in memory: first whole, to refuse a bad file before
// anything is printed and to learn what the output names before the payments;
// then once more to hand the payments over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "io/InputReadTwice.h"
#include "zordta/DtausReader.h"
#include "zordta/Sepa.h"

namespace zcli {

/// What the first reading learnt of one logical file.
struct LogicalFile {
  zor::DtausHeader header;
  zor::DtausControlFigures counted;
  std::size_t purposeLines = 0;  ///< the most purpose lines of one payment
};

/// What the reading thread works out ahead for a payment's account, so that
/// the caller's thread need not: its IBAN and BIC, where they could be made.
struct PreparedAccount {
  std::int64_t blz = 0;
  std::int64_t konto = 0;
  bool made = false;
  bool standardRule = false;  ///< as DtausAccounts::Make answers
  zor::SepaAccount account;   ///< IBAN and BIC
};
using AccountPreparer = std::function<void(const zor::DtausPayment&, PreparedAccount&)>;

class CheckedDtaus {
 public:
  /// "-" reads standard input; it and a pipe are kept in memory for the
  /// second reading.
  CheckedDtaus(std::string path, zor::DtausReadOptions options);

  /// The first reading. Raises zor::DtausReadError for a refused file and
  /// zor::Exception naming the file when it cannot be read; the notes found
  /// until then stay readable. `take`, when given, gets every payment as
  /// ReadAgain does, before the file is known to be sound, while the file is
  /// read a batch ahead; Files() holds its logical file's header by then.
  void Check(const std::function<void(std::size_t, const zor::DtausPayment&)>& take = {});
  /// The second reading: every payment with the index of its logical file, on
  /// the caller's thread, while the file is read a batch ahead on one of its
  /// own. False when the file no longer reads as it did: it changed in between.
  bool ReadAgain(const std::function<void(std::size_t, const zor::DtausPayment&)>& take) const;

  /// From now on `prepare` runs on the reading thread for each payment handed
  /// to a taker; what it made stands in CurrentAccount() while the payment is
  /// taken. It must share nothing with the caller's thread that either changes.
  void PrepareAccounts(AccountPreparer prepare) { fPrepare = std::move(prepare); }
  /// The account prepared for the payment being taken; null when there is none.
  const PreparedAccount* CurrentAccount() const { return fCurrent; }

  const std::vector<LogicalFile>& Files() const { return fFiles; }
  const std::vector<zor::DtausNote>& Notes() const { return fNotes; }
  std::int64_t Payments() const;
  bool AnyDm() const;

 private:
  void CheckAhead(const std::function<void(std::size_t, const zor::DtausPayment&)>& take);
  // What the first reading learns of an item, noted in the file's order.
  void Note(zor::DtausReader::Item item, const zor::DtausHeader& header,
            const zor::DtausPayment& payment, const zor::DtausControlFigures& counted,
            const std::function<void(std::size_t, const zor::DtausPayment&)>& take);
  bool ReadAgainHere(const std::function<void(std::size_t, const zor::DtausPayment&)>& take) const;
  // Answers the checksum of the bytes read (InputReadTwice::Read).
  template <class Visit>
  std::uint64_t Read(Visit&& visit) const;

  InputReadTwice fInput;
  std::uint64_t fChecksum = 0;  // of the first reading
  zor::DtausReadOptions fOptions;
  std::vector<LogicalFile> fFiles;
  std::vector<zor::DtausNote> fNotes;
  AccountPreparer fPrepare;
  mutable const PreparedAccount* fCurrent = nullptr;
};

/// The message for a file that changed while it was read twice.
inline constexpr const char* kFileChangedWhileRead = "Die Datei hat sich beim Lesen geändert.";

}  // namespace zcli
