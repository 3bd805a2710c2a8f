#include "zordta/DtausToSepa.h"

#include <algorithm>
#include <utility>

#include "convert/ConversionIssues.h"
#include "convert/ConvertMessages.h"
#include "convert/DtausRecordConversion.h"
#include "zordta/host/Text.h"

namespace zor {

namespace detail {

struct DtausToSepaState {
  using IbanOf = DtausToSepa::IbanOf;
  using Report = DtausToSepa::Report;
  using AccountCheck = DtausToSepa::AccountCheck;

  DtausToSepaState(DtausToSepaSettings settings, IbanOf ibanOf, const MandateTable* mandates,
                   Report report, AccountCheck accountCheck)
      : convert(std::move(settings), std::move(ibanOf), mandates, std::move(report)),
        check(std::move(accountCheck)) {}

  // The plan of a document, made after its first payment, which decides a
  // direct debit's instrument. Refused settings get a stand-in, so that the
  // payments are still checked.
  SepaPlan OpenPlan(const DtausSepaDocument& doc);
  // The plan's warnings from `first` on, about `place`.
  void TakeWarnings(const SepaPlan& plan, std::size_t first, const DtausPlace& place,
                    bool settings);
  void Refused(const SepaError& e, const DtausPlace& place, bool settings);

  detail::DtausRecordConversion convert;
  AccountCheck check;
  std::vector<DtausSepaDocument> docs;
  SepaPayment payment;  // reused: its texts keep their room
};

}  // namespace detail

using detail::DtausSepaDocument;
using State = detail::DtausToSepaState;

void State::Refused(const SepaError& e, const DtausPlace& place, bool settings) {
  AddSepaRefusals<DtausToSepaIssue>(
      e, place, settings, [this](DtausToSepaIssue issue) { convert.Add(std::move(issue)); });
}

void State::TakeWarnings(const SepaPlan& plan, std::size_t first, const DtausPlace& place,
                         bool settings) {
  const std::vector<SepaWarning>& kept = plan.Warnings();
  for (std::size_t i = first; i < plan.WarningCount(); ++i) {
    DtausToSepaIssue issue;
    issue.kind = DtausToSepaIssueKind::TextChanged;
    issue.place = place;
    issue.settings = settings;
    if (i < kept.size()) {
      issue.field = kept[i].place.field;
      issue.text = kept[i].text;
      issue.sepaPlace = kept[i].place;
    } else {
      issue.text = _MsgConvertTextsChanged;
    }
    convert.Add(std::move(issue));
  }
}

SepaPlan State::OpenPlan(const DtausSepaDocument& doc) {
  try {
    SepaPlan plan(doc.settings);
    TakeWarnings(plan, 0, doc.place, true);
    return plan;
  } catch (const SepaError& e) {
    Refused(e, doc.place, true);
  }
  SepaSettings standIn = doc.settings;
  standIn.account = {"X", detail::kStandInIban, ""};
  standIn.creditorId = detail::kStandInCreditorId;
  standIn.messageId.clear();
  return SepaPlan(standIn);
}

DtausToSepa::DtausToSepa(DtausToSepaSettings settings, IbanOf ibanOf, const MandateTable* mandates,
                         Report report, AccountCheck check)
    : fState(std::make_unique<State>(std::move(settings), std::move(ibanOf), mandates,
                                     std::move(report), std::move(check))) {}

DtausToSepa::~DtausToSepa() = default;

void DtausToSepa::Open(const DtausHeader& header, bool numbered) {
  State& s = *fState;
  s.docs.push_back(s.convert.Open(header, s.docs.size() + 1, numbered));
  if (s.docs.back().usable && s.convert.Settings().clientIban.empty() && s.check) {
    s.check({header.auftraggeber.blz, header.auftraggeber.konto}, header.place);
  }
}

void DtausToSepa::Plan(const DtausPayment& p) {
  State& s = *fState;
  DtausSepaDocument& d = s.docs.back();
  if (!d.usable) return;
  const bool converted = s.convert.Convert(p, d, s.payment);
  if (!d.plan) d.plan.emplace(s.OpenPlan(d));
  if (!converted) return;
  if (s.check) s.check({p.blz, p.konto}, p.place);
  const std::size_t warned = d.plan->WarningCount();
  try {
    d.plan->Add(s.payment);
  } catch (const SepaError& e) {
    s.Refused(e, p.place, false);
  }
  if (d.plan->WarningCount() > warned) s.TakeWarnings(*d.plan, warned, p.place, false);
}

void DtausToSepa::Finish() {
  State& s = *fState;
  for (const DtausSepaDocument& d : s.docs) {
    if (d.usable && !d.plan) {
      DtausToSepaIssue issue;
      issue.kind = DtausToSepaIssueKind::NoPayments;
      issue.place = d.place;
      issue.text = _MsgConvertNoPayments;
      s.convert.Add(std::move(issue));
    }
  }
}

std::size_t DtausToSepa::Documents() const noexcept {
  return fState->docs.size();
}

const SepaPlan* DtausToSepa::PlanOf(std::size_t k) const {
  const DtausSepaDocument& d = fState->docs.at(k);
  return d.usable && d.plan ? &*d.plan : nullptr;
}

std::size_t DtausToSepa::Passes() const {
  std::size_t passes = 0;
  for (const DtausSepaDocument& d : fState->docs) {
    if (d.plan) passes = std::max(passes, d.plan->Groups().size());
  }
  return passes;
}

void DtausToSepa::StartWriting(std::span<std::ostream* const> outs) {
  State& s = *fState;
  if (s.convert.Faults() != 0) {
    throw Exception(StringFromUtf8(_MsgConvertFaultsFound));
  }
  if (outs.size() != s.docs.size()) {
    throw Exception(StringFromUtf8(_MsgConvertStreams));
  }
  s.convert.Silence();
  for (std::size_t k = 0; k < outs.size(); ++k) {
    DtausSepaDocument& d = s.docs[k];
    d.groups = d.plan->Groups();
    d.writer = std::make_unique<SepaWriter>(*d.plan, *outs[k]);
  }
}

bool DtausToSepa::Write(std::size_t k, const DtausPayment& p, std::size_t pass) {
  State& s = *fState;
  DtausSepaDocument& d = s.docs.at(k);
  if (!d.writer) throw Exception(StringFromUtf8(_MsgConvertNotStarted));
  if (pass >= d.groups.size()) return true;
  const std::size_t faults = s.convert.Faults();
  // The same file, converted the same way: a fault here means it changed.
  if (!s.convert.Convert(p, d, s.payment) || s.convert.Faults() != faults) return false;
  if (s.payment.group == d.groups[pass].group) d.writer->Add(s.payment);
  return true;
}

void DtausToSepa::FinishWriting() {
  for (DtausSepaDocument& d : fState->docs) {
    if (!d.writer) continue;
    d.writer->Finish();
    d.writer.reset();
  }
}

}  // namespace zor
