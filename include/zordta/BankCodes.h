// German bank codes from the central bank's bank-code file (Bankleitzahlendatei),
// and German IBANs made from bank code and account:
//
//   const zor::BankCodeFile banks = zor::BankCodeFile::Load("blz_20250908.txt");
//   try {
//     const zor::GermanIbanResult r = zor::GermanIban(banks, "10020890", "1234567");
//     // r.iban "DE.." + "10020890" + "0001234567", r.bic from the file
//   } catch (const zor::BankCodeError& e) {
//     switch (e.Fault()) {
//       case zor::BankCodeFault::SpecialIbanRule: /* e.Details().rule, .bankName */ ...
//       case zor::BankCodeFault::Deleted: /* e.Details().successor */ ...
//       ...
//     }
//   }
//
// The file comes in two versions: 168 characters a record, or 174 with the IBAN
// rule of each bank code. Without the rules nobody can tell whether a bank's
// IBANs follow the standard rule, so GermanIban refuses unless the caller
// accepts the standard rule (GermanIbanOptions::assumeStandardRule).
//
// Text is UTF-8; the file's Latin-1 text is converted when it is read.
#pragma once

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zordta/host/Exception.h"

namespace zor {

/// A bank's rule for making IBANs from its accounts; number 0 is the standard rule
/// (bank code and the account padded to 10 digits).
struct IbanRule {
  int number = 0;
  int version = 0;

  bool IsStandard() const noexcept { return number == 0; }
  bool operator==(const IbanRule&) const = default;
};

/// What this edition of the file did with a record (Änderungskennzeichen A, D, M, U).
enum class BankCodeChange { Added, Deleted, Modified, Unchanged };

/// The main record of a bank code (Merkmal 1).
struct BankCodeRecord {
  std::string bankCode;  ///< 8 digits
  std::string name;      ///< Bezeichnung
  std::string postalCode;
  std::string city;
  std::string shortName;    ///< Kurzbezeichnung
  std::string bic;          ///< 8 or 11 characters; empty when the bank has none
  std::string checkMethod;  ///< the account check method, two characters ("09", "A4")
  BankCodeChange change = BankCodeChange::Unchanged;
  bool deletionPlanned = false;      ///< Bankleitzahllöschung 1
  std::string successor;             ///< Nachfolge-Bankleitzahl; empty when none
  std::optional<IbanRule> ibanRule;  ///< none when the file carries no IBAN rules
  std::size_t line = 0;              ///< where the record stands, from 1

  /// Deleted by this edition of the file, or to be deleted.
  bool IsDeleted() const noexcept { return change == BankCodeChange::Deleted || deletionPlanned; }
};

/// Why a file, bank code or account was refused.
enum class BankCodeFault {
  File,             ///< the file cannot be read, or a line breaks its format; Details().line
  BankCodeForm,     ///< a bank code that is not 8 digits
  AccountForm,      ///< an account that is not 1 to 10 digits, or only zeros
  UnknownBankCode,  ///< no main record for the bank code
  Deleted,          ///< deleted or to be deleted; Details().successor (may be empty)
  SpecialIbanRule,  ///< the bank has a rule of its own; Details().rule, bankName
  IbanRuleUnknown,  ///< the file carries no IBAN rules
};

struct BankCodeErrorDetails {
  std::size_t line = 0;  ///< File: the line, from 1; 0 for the file as a whole
  std::string bankCode;
  std::string bankName;
  std::string successor;
  IbanRule rule;
};

class ZORDTA_API BankCodeError : public Exception {
 public:
  BankCodeError(BankCodeFault fault, std::string text, BankCodeErrorDetails details = {});
  BankCodeFault Fault() const noexcept { return fFault; }
  const BankCodeErrorDetails& Details() const noexcept { return fDetails; }

 private:
  BankCodeFault fFault;
  BankCodeErrorDetails fDetails;
};

/// The main records of a bank-code file, by bank code.
class ZORDTA_API BankCodeFile {
 public:
  /// Reads the file; raises BankCodeError (File) naming the first line that
  /// breaks the format.
  static BankCodeFile Load(const std::filesystem::path& path);
  static BankCodeFile Read(std::istream& in);

  /// The main record of the bank code, or nullptr.
  const BankCodeRecord* Find(std::string_view bankCode) const noexcept;
  /// The main record of a bank code that payments may use; raises BankCodeError
  /// (BankCodeForm, UnknownBankCode, Deleted).
  const BankCodeRecord& Lookup(std::string_view bankCode) const;
  /// The file is the version with IBAN rules (174 characters a record).
  bool HasIbanRules() const noexcept { return fHasIbanRules; }
  /// The number of bank codes (main records).
  std::size_t Size() const noexcept { return fRecords.size(); }

 private:
  std::vector<BankCodeRecord> fRecords;  // by bank code
  bool fHasIbanRules = false;
};

struct GermanIbanOptions {
  /// For a file without IBAN rules: make the IBAN by the standard rule instead
  /// of refusing (IbanRuleUnknown). Wrong for the banks that have a rule of their own.
  bool assumeStandardRule = false;
};

struct GermanIbanResult {
  std::string iban;  ///< electronic form, 22 characters
  std::string bic;   ///< empty when the bank has none
  std::string bankName;
  bool ruleAssumed = false;  ///< the standard rule was assumed, not read from the file
};

/// Raises BankCodeError (AccountForm) unless the account is 1 to 10 digits, not all zeros.
ZORDTA_API void CheckAccountNumber(std::string_view account);

/// The IBAN of a German account under its bank's standard rule. The account
/// is 1 to 10 digits (leading zeros allowed). Raises BankCodeError.
ZORDTA_API GermanIbanResult GermanIban(const BankCodeFile& file, std::string_view bankCode,
                                       std::string_view account, GermanIbanOptions options = {});

/// As above, into `result`, whose texts keep their room from the call before:
/// for one account after another.
ZORDTA_API void GermanIban(const BankCodeFile& file, std::string_view bankCode,
                           std::string_view account, GermanIbanOptions options,
                           GermanIbanResult& result);

/// As above for a bank already found (BankCodeFile::Find), which is not looked
/// up again: for the accounts of banks met before. A deleted bank is refused.
ZORDTA_API void GermanIban(const BankCodeRecord& bank, std::string_view account,
                           GermanIbanOptions options, GermanIbanResult& result);

}  // namespace zor
