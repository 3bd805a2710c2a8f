// The payment keys of DTAUS: the first two of a key's five digits say what a
// payment is, the other three are a supplement (53000, 05000). A file holds
// debits or credits, never both. This table is the one definition the checked
// reader, the conversion to SEPA and the tool take a key's meaning from:
//
//   if (const zor::DtausKey* key = zor::FindDtausKey(payment.zahlungsschluessel)) {
//     if (zor::IsDebit(key->kind)) ... key->sepaScheme ...
//   }
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zor {

enum class DtausKeyKind {
  Credit,     ///< a credit transfer
  Abbuchung,  ///< a debit on the debtor's order to its bank (between companies)
  Einzug,     ///< a debit on the debtor's authorisation held by the creditor
};

constexpr bool IsDebit(DtausKeyKind kind) noexcept {
  return kind != DtausKeyKind::Credit;
}

struct DtausKey {
  std::string_view code;  ///< the two leading digits
  DtausKeyKind kind;
  std::string_view name;  ///< German, as the banks call it
  /// Debits: the SEPA scheme that carries them on, "B2B" or "CORE".
  std::string_view sepaScheme;
  /// The ISO 20022 purpose code of such a payment in SEPA; empty: none.
  std::string_view sepaPurpose;
};

/// Every key there is, debits first, each kind in the order of its digits.
inline constexpr std::array<DtausKey, 6> kDtausKeys{{
    {"04", DtausKeyKind::Abbuchung, "Abbuchungsauftrag", "B2B", ""},
    {"05", DtausKeyKind::Einzug, "Einzugsermächtigung", "CORE", ""},
    {"51", DtausKeyKind::Credit, "Überweisung", "", ""},
    {"53", DtausKeyKind::Credit, "Lohn, Gehalt", "", "SALA"},
    {"54", DtausKeyKind::Credit, "vermögenswirksame Leistungen", "", "CBFF"},
    {"56", DtausKeyKind::Credit, "öffentliche Kassen", "", "GOVT"},
}};

/// The key whose two digits `key` begins with ("53000" or "53"); null when
/// there is none.
constexpr const DtausKey* FindDtausKey(std::string_view key) noexcept {
  if (key.size() < 2) return nullptr;
  for (const DtausKey& known : kDtausKeys) {
    if (key.substr(0, 2) == known.code) return &known;
  }
  return nullptr;
}

/// The two digits of every debit key (`debits`) or every credit key, for a
/// message: "04 oder 05" with `last` " oder ", the others joined by ", ".
inline std::string DtausKeyCodes(bool debits, std::string_view last) {
  std::string codes;
  std::size_t left = 0;
  for (const DtausKey& key : kDtausKeys) left += IsDebit(key.kind) == debits;
  for (const DtausKey& key : kDtausKeys) {
    if (IsDebit(key.kind) != debits) continue;
    codes += key.code;
    if (--left > 1) codes += ", ";
    if (left == 1) codes += last;
  }
  return codes;
}

}  // namespace zor
