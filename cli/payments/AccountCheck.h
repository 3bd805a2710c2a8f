// The account check by the bank's check method, done by libktoblzcheck.
#pragma once

#include <memory>
#include <streambuf>
#include <string>

class AccountNumberCheck;

namespace zcli {

enum class AccountVerdict { Valid, Invalid, UnknownMethod };

/// Checks accounts by the method named, not by the library's own bank data:
/// so the method comes from the bank-code file the caller chose (--bankdaten).
/// Making one reads the library's data; one checker serves a whole file.
/// Checkers on several threads take turns: the library's messages are
/// silenced by turning standard error away, and that is the process's.
class AccountChecker {
 public:
  AccountChecker();
  ~AccountChecker();
  AccountChecker(const AccountChecker&) = delete;
  AccountChecker& operator=(const AccountChecker&) = delete;

  AccountVerdict Check(const std::string& bankCode, const std::string& account,
                       const std::string& method) const;

 private:
  // Where the library's English on standard error goes: nowhere, so that a
  // million unknown methods pile nothing up and cost nothing to trim.
  class Discarding : public std::streambuf {
   protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char_type*, std::streamsize count) override { return count; }
  };

  std::unique_ptr<AccountNumberCheck> fLibrary;
  mutable Discarding fDiscarded;
};

/// One check with a checker of its own.
AccountVerdict CheckAccount(const std::string& bankCode, const std::string& account,
                            const std::string& method);

}  // namespace zcli
