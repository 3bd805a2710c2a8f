#include "payments/AccountCheck.h"

#include <ktoblzcheck.h>

#include <iostream>
#include <mutex>

namespace zcli {

namespace {

// Standard error goes to `to` while the guard lives. It is the process's: a
// write command checks accounts on two threads, and each must put back what
// it found, so one guard at a time.
std::mutex& StandardErrorGuards() {
  static std::mutex guards;
  return guards;
}

class QuietStandardError {
 public:
  explicit QuietStandardError(std::streambuf& to)
      : fOne(StandardErrorGuards()), fSaved(std::cerr.rdbuf(&to)) {}
  ~QuietStandardError() { std::cerr.rdbuf(fSaved); }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  const std::lock_guard<std::mutex> fOne;
  std::streambuf* fSaved;
};

}  // namespace

// The library reports missing data and an unknown method in English on
// standard error; the tool says what matters in German.
AccountChecker::AccountChecker() {
  const QuietStandardError quiet(fDiscarded);
  fLibrary = std::make_unique<AccountNumberCheck>();
}

AccountChecker::~AccountChecker() = default;

AccountVerdict AccountChecker::Check(const std::string& bankCode, const std::string& account,
                                     const std::string& method) const {
  AccountNumberCheck::Result result = AccountNumberCheck::UNKNOWN;
  {
    const QuietStandardError quiet(fDiscarded);
    // Its own bank data is not consulted when a method is given.
    result = fLibrary->check(bankCode, account, method);
  }
  switch (result) {
    case AccountNumberCheck::OK:
      return AccountVerdict::Valid;
    case AccountNumberCheck::UNKNOWN:
      return AccountVerdict::UnknownMethod;
    case AccountNumberCheck::ERROR:
    case AccountNumberCheck::BANK_NOT_KNOWN:
      break;
  }
  return AccountVerdict::Invalid;
}

AccountVerdict CheckAccount(const std::string& bankCode, const std::string& account,
                            const std::string& method) {
  const AccountChecker checker;
  return checker.Check(bankCode, account, method);
}

}  // namespace zcli
