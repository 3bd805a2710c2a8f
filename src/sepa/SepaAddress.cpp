#include "zordta/SepaAddress.h"

#include <algorithm>

#include "core/MessageFill.h"
#include "sepa/SepaMessages.h"
#include "zordta/IsoCodes.h"
#include "zordta/Printable.h"

namespace zor {

namespace {

using detail::Fill;
using namespace detail::msgsepa;

// A hybrid address carries at most two lines besides its elements.
constexpr std::size_t kMaxLines = 2;

bool AnyElementBesidesCountry(const SepaPostalAddress& a) {
  for (const std::string* element :
       {&a.department, &a.subDepartment, &a.street, &a.buildingNumber, &a.buildingName, &a.floor,
        &a.postBox, &a.room, &a.postCode, &a.town, &a.townLocation, &a.district,
        &a.countrySubDivision}) {
    if (!element->empty()) return true;
  }
  return false;
}

bool AnyElement(const SepaPostalAddress& a) {
  return !a.country.empty() || AnyElementBesidesCountry(a);
}

std::size_t LineCount(const SepaPostalAddress& a) {
  return static_cast<std::size_t>(std::count_if(
      a.lines.begin(), a.lines.end(), [](const std::string& line) { return !line.empty(); }));
}

}  // namespace

SepaAddressForm FormOf(const SepaPostalAddress& address) noexcept {
  const bool elements = AnyElement(address);
  const bool lines = LineCount(address) > 0;
  if (elements) return lines ? SepaAddressForm::Hybrid : SepaAddressForm::Structured;
  return lines ? SepaAddressForm::Unstructured : SepaAddressForm::None;
}

std::vector<SepaAddressIssue> SepaAddressIssues(const SepaPostalAddress& address) {
  std::vector<SepaAddressIssue> issues;
  const SepaAddressForm form = FormOf(address);
  if (form == SepaAddressForm::None) return issues;
  // A country beside the lines makes no structure: the town is still in a line.
  SepaAddressForm linesOnly = form;
  if (form == SepaAddressForm::Hybrid && !AnyElementBesidesCountry(address)) {
    linesOnly = SepaAddressForm::Unstructured;
  }
  if (linesOnly == SepaAddressForm::Unstructured) {
    issues.push_back({"PstlAdr/AdrLine", _MsgSepaAddressLinesOnly});
    return issues;
  }
  if (address.town.empty()) issues.push_back({"PstlAdr/TwnNm", _MsgSepaAddressNoTown});
  if (address.country.empty()) {
    issues.push_back({"PstlAdr/Ctry", _MsgSepaAddressNoCountry});
  } else if (!IsCountryCode(address.country)) {
    issues.push_back(
        {"PstlAdr/Ctry", Fill(_MsgSepaAddressCountry, {PrintableText(address.country)})});
  }
  if (const std::size_t lines = LineCount(address); lines > kMaxLines) {
    issues.push_back({"PstlAdr/AdrLine", Fill(_MsgSepaAddressLines, {std::to_string(lines)})});
  }
  return issues;
}

}  // namespace zor
