#include "payments/AccountCheck.h"

#include <ktoblzcheck.h>

#include <iostream>
#include <sstream>

namespace zcli {

AccountVerdict CheckAccount(const std::string& bankCode, const std::string& account,
                            const std::string& method) {
  // The library reports missing data and an unknown method in English on
  // standard error; the tool says what matters in German.
  std::ostringstream discarded;
  std::streambuf* const stderrBuffer = std::cerr.rdbuf(discarded.rdbuf());
  // Its own bank data is not consulted when a method is given.
  const AccountNumberCheck checker;
  const AccountNumberCheck::Result result = checker.check(bankCode, account, method);
  std::cerr.rdbuf(stderrBuffer);
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
