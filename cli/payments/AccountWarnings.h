// Bank codes and accounts a bank would refuse (zor::AccountScreen, with the
// check methods of libktoblzcheck), as findings of a run: warnings, or faults
// with --streng, as the caller decides.
#pragma once

#include <charconv>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "io/EntryNames.h"
#include "payments/BankCodeSource.h"
#include "zordta/AccountScreen.h"
#include "zordta/BankCodes.h"
#include "zordta/entry/Diagnostics.h"

namespace zcli {

class AccountWarnings {
 public:
  /// Checks against `banks`; `source` names the file in messages.
  AccountWarnings(std::shared_ptr<const zor::BankCodeFile> banks, std::string source);

  /// The checks against a run's file (ReadRunBankCodes), null when it cannot
  /// be read.
  static std::shared_ptr<const AccountWarnings> Of(const RunBankCodes& banks);
  /// When the file cannot be read: for --bankdaten FILE (`bankCodeFile` not
  /// empty) raises its zor::BankCodeError (File); for the default one prints a
  /// warning that the accounts go unchecked, as the payment file does not
  /// depend on it. Apart from Of, so that a caller can say it later.
  static void Unread(const RunBankCodes& banks, const std::string& bankCodeFile);

  /// Adds to `findings`, under `where` and the field "blz" or "konto", what the
  /// bank would refuse. The form is the caller's to check first (a bank code of
  /// 8 digits, an account of 1 to 10). An unknown check method says nothing.
  void Check(std::string_view bankCode, std::string_view account, const std::string& where,
             Diagnostics& findings) const;
  void Check(std::int64_t bankCode, std::int64_t account, const std::string& where,
             Diagnostics& findings) const;
  /// The same with the place made by `where()` only for a finding that is
  /// kept: making it costs more than checking a sound account.
  template <class Where>
  void CheckAt(std::int64_t bankCode, std::int64_t account, const Where& where,
               Diagnostics& findings) const {
    ReportAt(Judge(bankCode, account), bankCode, account, where, findings);
  }

  /// The verdict alone, as a check ahead on another thread finds it. The
  /// screen keeps the banks it met: each thread needs AccountWarnings of its own.
  zor::AccountScreenVerdict Judge(std::int64_t bankCode, std::int64_t account) const {
    char code[24];
    char number[24];
    return Judge(Decimal(bankCode, code), Decimal(account, number));
  }
  /// The same for the numbers' decimal digits, without a leading zero.
  zor::AccountScreenVerdict Judge(std::string_view bankCode, std::string_view account) const {
    return fScreen.Judge(bankCode, account);
  }
  /// What CheckAt adds, for a verdict found before.
  template <class Where>
  void ReportAt(const zor::AccountScreenVerdict& verdict, std::int64_t bankCode,
                std::int64_t account, const Where& where, Diagnostics& findings) const {
    if (verdict.kind == zor::AccountScreenKind::Sound) return;
    // A file of a million payments to unknown banks: the texts beyond the
    // kept ones are not even made.
    if (!findings.Keeps()) {
      findings.AddNotKept(1);
      return;
    }
    char code[24];
    char number[24];
    Report(verdict, Decimal(bankCode, code), Decimal(account, number), where(), findings);
  }

 private:
  template <std::size_t N>
  static std::string_view Decimal(std::int64_t value, char (&text)[N]) {
    const char* end = std::to_chars(std::begin(text), std::end(text), value).ptr;
    return std::string_view(text, static_cast<std::size_t>(end - text));
  }

  void Report(const zor::AccountScreenVerdict& verdict, std::string_view bankCode,
              std::string_view account, std::string where, Diagnostics& findings) const;

  zor::AccountScreen fScreen;
};

}  // namespace zcli
