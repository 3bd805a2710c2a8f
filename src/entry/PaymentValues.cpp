#include "zordta/PaymentValues.h"

#include <cstdio>

#include "core/MessageFill.h"
#include "entry/EntryMessages.h"
#include "zordta/Bic.h"
#include "zordta/Iban.h"
#include "zordta/IsoCodes.h"
#include "zordta/Limits.h"
#include "zordta/Printable.h"
#include "zordta/detail/TextScan.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor {

using detail::Fill;

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The UTF-8 character that begins at `offset`, whole.
std::string_view CharAt(std::string_view text, std::size_t offset) {
  char32_t codePoint = 0;
  const std::size_t size = DecodeUtf8(text, offset, codePoint);
  return text.substr(offset, size == 0 ? 1 : size);
}

std::string_view ClassName(IbanCharClass kind) {
  switch (kind) {
    case IbanCharClass::Digit:
      return _MsgEntryIbanDigit;
    case IbanCharClass::Capital:
      return _MsgEntryIbanCapital;
    case IbanCharClass::CapitalOrDigit:
      break;
  }
  return _MsgEntryIbanCapitalOrDigit;
}

// Five characters, digits but for blanks around them.
bool IsKeyText(std::string_view key) {
  if (key.size() != 5) return false;
  const std::string_view digits = detail::TrimmedView(key);
  if (digits.empty()) return false;
  for (const char c : digits) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

std::string IsoDateText(TDate date) {
  int year = 0, month = 0, day = 0;
  if (!TryDecodeDate(date, year, month, day)) return std::string();
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

}  // namespace

std::optional<std::int64_t> ParseAmountCent(std::string_view text) noexcept {
  const std::string_view t = detail::TrimmedView(text);
  // In one pass, as every amount of every payment comes here: the euros up to
  // the first byte that is no digit, which must be the end or the separator.
  std::size_t at = 0;
  std::int64_t cent = 0;
  // 15 digits of euros keep the cents far from the end of int64.
  for (; at < t.size() && IsDigit(t[at]); ++at) {
    if (at == 15) return std::nullopt;
    cent = cent * 10 + (t[at] - '0');
  }
  if (at == 0) return std::nullopt;
  cent *= 100;
  if (at == t.size()) return cent;
  if (t[at] != '.' && t[at] != ',') return std::nullopt;
  const std::string_view decimals = t.substr(at + 1);
  if (decimals.empty() || decimals.size() > 2) return std::nullopt;
  for (const char c : decimals) {
    if (!IsDigit(c)) return std::nullopt;
  }
  cent += (decimals[0] - '0') * 10 + (decimals.size() == 2 ? decimals[1] - '0' : 0);
  return cent;
}

std::string AmountProblem(std::string_view text) {
  if (text.empty()) return _MsgEntryNoAmount;
  if (ParseAmountCent(text)) return std::string();
  return Fill(_MsgEntryNotAnAmount, {PrintableText(text)});
}

std::string ExecutionDateProblem(TDate date) {
  constexpr int kDays = limits::kExecutionWindowDays;
  const TDate today = Date();
  if (date >= today && date <= today + kDays) return std::string();
  return Fill(_MsgEntryExecutionWindow, {IsoDateText(date), std::to_string(kDays)});
}

std::string CurrencyProblem(std::string_view code) {
  std::string upper(code);
  bool letters = upper.size() == 3;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    letters = letters && c >= 'A' && c <= 'Z';
  }
  if (!letters) return Fill(_MsgEntryNotACurrency, {PrintableText(code)});
  if (IsPayableCurrency(upper)) return std::string();
  return Fill(IsCurrencyCode(upper) ? _MsgEntryCurrencyNotPayable : _MsgEntryUnknownCurrency,
              {upper});
}

const DtausKey* PaymentKeyOf(std::string_view key) noexcept {
  return IsKeyText(key) ? FindDtausKey(key) : nullptr;
}

std::string PaymentKeyTextProblem(std::string_view key) {
  if (!IsKeyText(key)) return Fill(_MsgEntryNotAKey, {PrintableText(key)});
  if (FindDtausKey(key)) return std::string();
  return Fill(_MsgEntryUnknownKey,
              {PrintableText(key), DtausKeyCodes(true, " oder "), DtausKeyCodes(false, " oder ")});
}

std::string PaymentKeyProblem(std::string_view key, bool debitFile) {
  if (std::string problem = PaymentKeyTextProblem(key); !problem.empty()) return problem;
  const bool debitKey = IsDebit(PaymentKeyOf(key)->kind);
  if (debitKey == debitFile) return std::string();
  return Fill(debitKey ? _MsgEntryDebitKeyInCredits : _MsgEntryCreditKeyInDebits,
              {key, DtausKeyCodes(!debitKey, ", ")});
}

std::string IbanProblemText(std::string_view iban) {
  const IbanCheck check = CheckIBAN(iban);
  const std::string_view country = iban.substr(0, 2);
  switch (check.verdict) {
    case IbanVerdict::Valid:
      return std::string();
    case IbanVerdict::Empty:
      return _MsgEntryNoIban;
    case IbanVerdict::Characters:
      return Fill(_MsgEntryIbanCharacter, {PrintableText(CharAt(iban, check.position))});
    case IbanVerdict::UnknownCountry:
      return Fill(_MsgEntryIbanCountry, {PrintableText(country)});
    case IbanVerdict::LengthForCountry:
      return Fill(_MsgEntryIbanLength,
                  {country, std::to_string(check.expectedLength), std::to_string(iban.size())});
    case IbanVerdict::Structure:
      if (check.position < 4) {
        return Fill(_MsgEntryIbanCheckDigitPlace, {PrintableText(iban.substr(2, 2))});
      }
      return Fill(_MsgEntryIbanStructure,
                  {std::to_string(check.position + 1), country, ClassName(check.expected),
                   PrintableText(iban.substr(check.position, 1))});
    case IbanVerdict::CheckDigits:
      break;
  }
  const std::string_view checkDigits = iban.substr(2, 2);
  const bool never = checkDigits == "00" || checkDigits == "01" || checkDigits == "99";
  return Fill(never ? _MsgEntryIbanNoSuchCheckDigits : _MsgEntryIbanCheckDigits, {checkDigits});
}

std::string BicProblemText(std::string_view bic) {
  const BicCheck check = CheckBIC(bic);
  switch (check.verdict) {
    case BicVerdict::Valid:
      return std::string();
    case BicVerdict::Empty:
      return _MsgEntryNoBic;
    case BicVerdict::Characters:
      return Fill(_MsgEntryBicCharacter, {PrintableText(CharAt(bic, check.position))});
    case BicVerdict::Length:
      return Fill(_MsgEntryBicLength, {std::to_string(bic.size())});
    case BicVerdict::Structure:
      return Fill(_MsgEntryBicStructure, {PrintableText(bic.substr(0, 6))});
    case BicVerdict::Country:
      break;
  }
  return Fill(_MsgEntryBicCountry, {PrintableText(bic.substr(4, 2))});
}

}  // namespace zor
