#include "payments/AccountCheck.h"

#include <ktoblzcheck.h>

#include <iostream>
#include <sstream>

namespace zcli {

namespace {

// Standard error goes to a buffer of its own while the guard lives.
class QuietStandardError {
 public:
  QuietStandardError() : fSaved(std::cerr.rdbuf(fDiscarded.rdbuf())) {}
  ~QuietStandardError() { std::cerr.rdbuf(fSaved); }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  std::ostringstream fDiscarded;
  std::streambuf* fSaved;
};

}  // namespace

AccountVerdict CheckAccount(const std::string& bankCode, const std::string& account,
                            const std::string& method) {
  // The library reports missing data and an unknown method in English on
  // standard error; the tool says what matters in German.
  AccountNumberCheck::Result result = AccountNumberCheck::UNKNOWN;
  {
    const QuietStandardError quiet;
    // Its own bank data is not consulted when a method is given.
    const AccountNumberCheck checker;
    result = checker.check(bankCode, account, method);
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

}  // namespace zcli
