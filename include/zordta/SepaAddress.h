// The postal address of a party of a SEPA payment. Since 15 November 2026 the
// schemes take an address only structured (each part in its own element) or
// hybrid (structured, town and country at least, plus up to two address lines);
// an address of address lines alone is refused by the banks.
#pragma once

#include <string>
#include <vector>

#include "zordta/Config.h"

namespace zor {

/// The elements of PostalAddress24 (pain.001.001.09, pain.008.001.08). Text is
/// UTF-8; an empty element is not written.
struct SepaPostalAddress {
  std::string department{};          ///< Dept
  std::string subDepartment{};       ///< SubDept
  std::string street{};              ///< StrtNm
  std::string buildingNumber{};      ///< BldgNb
  std::string buildingName{};        ///< BldgNm
  std::string floor{};               ///< Flr
  std::string postBox{};             ///< PstBx
  std::string room{};                ///< Room
  std::string postCode{};            ///< PstCd
  std::string town{};                ///< TwnNm
  std::string townLocation{};        ///< TwnLctnNm
  std::string district{};            ///< DstrctNm
  std::string countrySubDivision{};  ///< CtrySubDvsn
  std::string country{};             ///< Ctry, ISO 3166 alpha-2
  std::vector<std::string> lines{};  ///< AdrLine

  bool operator==(const SepaPostalAddress&) const = default;
};

enum class SepaAddressForm {
  None,          ///< no element given
  Structured,    ///< elements, no address line
  Hybrid,        ///< elements and address lines
  Unstructured,  ///< address lines alone
};

ZORDTA_API SepaAddressForm FormOf(const SepaPostalAddress& address) noexcept;

/// A rule of the schemes an address breaks, at its element.
struct SepaAddressIssue {
  std::string element;  ///< "PstlAdr/TwnNm", "PstlAdr/AdrLine", ...
  std::string text;     ///< German, one sentence
};

/// Every rule `address` breaks: address lines alone (a country beside them or not);
/// missing; a country that is no ISO 3166 code; more than two address lines.
/// None for an empty address: whether a party needs one is the payment's rule.
ZORDTA_API std::vector<SepaAddressIssue> SepaAddressIssues(const SepaPostalAddress& address);

}  // namespace zor
