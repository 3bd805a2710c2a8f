// What the conversions from DTAUS and from DTAZV to SEPA share: the day
// their dates are judged against, and the SEPA rules' refusals as issues.
#pragma once

#include <chrono>
#include <optional>
#include <utility>

#include "zordta/Sepa.h"
#include "zordta/host/SysUtils.h"

namespace zor::detail {

/// The day given, else the system's date.
inline std::chrono::year_month_day ConversionToday(
    const std::optional<std::chrono::year_month_day>& given) {
  if (given) return *given;
  int year = 0;
  int month = 0;
  int day = 0;
  TryDecodeDate(Date(), year, month, day);
  return std::chrono::year_month_day{std::chrono::year(year),
                                     std::chrono::month(static_cast<unsigned>(month)),
                                     std::chrono::day(static_cast<unsigned>(day))};
}

/// A refusal of the SEPA rules and each further one it carries, as issues of
/// kind Refused at `place`, handed to `add`.
template <class Issue, class Place, class Add>
void AddSepaRefusals(const SepaError& e, const Place& place, bool aboutSettings, Add&& add) {
  const auto one = [&](const SepaError& refusal) {
    Issue issue;
    issue.kind = decltype(issue.kind)::Refused;
    issue.place = place;
    issue.field = refusal.Place().field;
    issue.text = refusal.Text();
    issue.sepaFault = refusal.Fault();
    issue.sepaPlace = refusal.Place();
    issue.settings = aboutSettings;
    add(std::move(issue));
  };
  one(e);
  for (const SepaError& further : e.Further()) one(further);
}

}  // namespace zor::detail
