#include <algorithm>
#include <string>
#include <utility>

#include "core/MessageFill.h"
#include "sepa/SepaMessages.h"
#include "sepa/SepaValues.h"
#include "zordta/Sepa.h"
#include "zordta/host/Text.h"

namespace zor {

namespace {

using namespace detail::msgsepa;

constexpr std::size_t kWarningsKept = 100;

std::string PlaceText(const SepaPlace& place) {
  std::string text =
      place.payment != 0 ? detail::Fill(_MsgSepaPayment, {std::to_string(place.payment)})
      : place.blockSettings == 0
          ? std::string(_MsgSepaSettings)
          : detail::Fill(_MsgSepaBlockSettings, {std::to_string(place.blockSettings)});
  if (!place.field.empty()) text += ", " + place.field;
  return text;
}

// The blocks of one account together, in the order of their settings.
bool Before(const SepaGroup& a, const SepaGroup& b) {
  if (a.blockSettings != b.blockSettings) return a.blockSettings < b.blockSettings;
  if (a.date != b.date) return a.date < b.date;
  if (a.sequence != b.sequence) return a.sequence < b.sequence;
  return a.paymentInfoId < b.paymentInfoId;
}

// "<message id>-<n>", the message id shortened so that it stays within 35.
std::string PaymentInfoId(const std::string& messageId, std::size_t number) {
  const std::string suffix = "-" + std::to_string(number);
  return messageId.substr(0, 35 - suffix.size()) + suffix;
}

}  // namespace

SepaError::SepaError(SepaFault fault, SepaPlace place, std::string text)
    : Exception(StringFromUtf8(PlaceText(place) + ": " + text)),
      fFault(fault),
      fPlace(std::move(place)),
      fText(std::move(text)) {}

SepaPlan::SepaPlan(SepaSettings settings) : fSettings(std::move(settings)) {
  const detail::SepaCheckedSettings checked =
      detail::CheckSepaSettings(fSettings, [this](SepaWarning w) { Warn(std::move(w)); });
  // The writer states the id made here, not one of its own.
  fSettings.messageId = checked.messageId;
}

void SepaPlan::Add(const SepaPayment& payment) {
  const std::size_t ordinal = fCount + 1;
  detail::SepaPaymentRoom room;  // holds nothing unless a text has to be changed
  const detail::SepaCheckedPayment checked = detail::CheckSepaPayment(
      fSettings, payment, ordinal, [this](SepaWarning w) { Warn(std::move(w)); }, room);
  if (fCents > detail::kSepaMaxSum - payment.cents) {
    detail::SepaRefuse(SepaFault::Amount, {ordinal, "CtrlSum"}, _MsgSepaSumTooLarge);
  }
  // A payment's own category purpose takes its block's payment type into the transactions.
  if (!payment.categoryPurpose.empty()) {
    const std::size_t block = payment.group.blockSettings;
    (block == 0 ? fSettings.paymentTypePerTransaction
                : fSettings.otherBlocks[block - 1].paymentTypePerTransaction) = true;
  }
  const SepaGroup group = detail::SepaGroupOf(fSettings, payment);
  auto at = std::lower_bound(
      fGroups.begin(), fGroups.end(), group,
      [](const SepaGroupTotals& totals, const SepaGroup& g) { return Before(totals.group, g); });
  if (at == fGroups.end() || !(at->group == group)) {
    fSeals.insert(fSeals.begin() + (at - fGroups.begin()), Seal{});
    at = fGroups.insert(at, {group, {}, 0, 0});
  }
  ++at->count;
  at->cents += payment.cents;
  Seal& seal = fSeals[static_cast<std::size_t>(at - fGroups.begin())];
  seal.asGiven = seal.asGiven && detail::SepaTakenAsGiven(payment, checked);
  seal.digest += detail::SepaPaymentDigest(payment);
  ++fCount;
  fCents += payment.cents;
}

std::vector<SepaGroupTotals> SepaPlan::Groups() const {
  std::vector<SepaGroupTotals> groups = fGroups;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const std::string& given = groups[i].group.paymentInfoId;
    groups[i].paymentInfoId = given.empty() ? PaymentInfoId(fSettings.messageId, i + 1) : given;
  }
  return groups;
}

void SepaPlan::Warn(SepaWarning warning) {
  ++fWarningCount;
  if (fWarnings.size() < kWarningsKept) fWarnings.push_back(std::move(warning));
}

}  // namespace zor
