// Bank codes and accounts a bank would refuse, found before they go into a
// payment file: a bank code the bank-code file lacks or has deleted, an account
// that fails its bank's check method. The payment file is sound with them, so
// the caller decides whether they are warnings or (with --streng) faults.
#pragma once

#include <charconv>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "io/Diagnostics.h"
#include "payments/AccountCheck.h"
#include "payments/BankCodeSource.h"
#include "zordta/BankCodes.h"

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
    char code[24];
    char number[24];
    const std::string_view codeText = Decimal(bankCode, code);
    const std::string_view numberText = Decimal(account, number);
    const Verdict verdict = Judge(codeText, numberText);
    if (verdict.kind == Verdict::Sound) return;
    // A file of a million payments to unknown banks: the texts beyond the
    // kept ones are not even made.
    if (findings.Keeps()) {
      Report(verdict, codeText, numberText, where(), findings);
    } else {
      findings.AddNotKept(1);
    }
  }

 private:
  struct Verdict {
    enum Kind { Sound, UnknownBank, DeletedBank, FailsMethod } kind;
    const zor::BankCodeRecord* bank;
  };

  template <std::size_t N>
  static std::string_view Decimal(std::int64_t value, char (&text)[N]) {
    const char* end = std::to_chars(std::begin(text), std::end(text), value).ptr;
    return std::string_view(text, static_cast<std::size_t>(end - text));
  }

  Verdict Judge(std::string_view bankCode, std::string_view account) const;
  const zor::BankCodeRecord* Bank(std::string_view bankCode) const;
  void Report(const Verdict& verdict, std::string_view bankCode, std::string_view account,
              std::string where, Diagnostics& findings) const;

  std::shared_ptr<const zor::BankCodeFile> fBanks;
  std::string fSource;
  AccountChecker fChecker;
  // The banks met so far by their code: a file's payments go to few banks,
  // and a search of the whole file costs more than the account check. Only
  // banks the file has, so that it stays as small as the file.
  mutable std::unordered_map<std::uint32_t, const zor::BankCodeRecord*> fBanksMet;
};

}  // namespace zcli
