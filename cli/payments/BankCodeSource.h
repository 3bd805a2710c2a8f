// Where the bank-code file comes from: --bankdaten, else the newest file of the
// account-check library's data folder.
#pragma once

#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "zordta/BankCodes.h"

namespace zcli {

/// The newest blz_YYYYMMDD.txt in the account-check library's data folder;
/// raises zor::BankCodeError (File) when there is none.
std::filesystem::path DefaultBankCodeFile();

/// The file given with --bankdaten (empty: the default), read and checked.
zor::BankCodeFile LoadBankCodes(const std::string& option);

/// The bank-code file of one run, read once and shared by everything that
/// needs it (reading it takes longer than checking a hundred thousand
/// accounts). A file that cannot be read is kept as its error, for each user
/// to raise or report where it needs the file.
struct RunBankCodes {
  std::shared_ptr<const zor::BankCodeFile> file;  ///< null when it cannot be read
  std::string name;                               ///< the file's name, for messages
  /// The file read, or meant: empty only when no default file was found. No
  /// output of the run may replace it.
  std::string path;
  std::optional<zor::BankCodeError> fault;  ///< why there is no file
};

/// --bankdaten (empty: the default file), read; raises nothing.
RunBankCodes ReadRunBankCodes(const std::string& option);

/// ReadRunBankCodes on a thread of its own, while the run reads its input: for
/// a hundred thousand payments each of the two takes a fifth of the run.
class BankCodesAhead {
 public:
  /// `then` (may be empty) runs on the same thread once the file is read,
  /// for what is made from it; what it raises, Get raises.
  explicit BankCodesAhead(const std::string& option,
                          std::function<void(const RunBankCodes&)> then = {});
  ~BankCodesAhead();
  BankCodesAhead(const BankCodesAhead&) = delete;
  BankCodesAhead& operator=(const BankCodesAhead&) = delete;

  /// The file meant, known at once: empty only when no default file was found.
  const std::string& Path() const { return fBanks.path; }
  /// The file read, as ReadRunBankCodes answers it; waits for the reading.
  const RunBankCodes& Get();

 private:
  RunBankCodes fBanks;
  std::exception_ptr fFailure;
  std::thread fReading;
};

}  // namespace zcli
