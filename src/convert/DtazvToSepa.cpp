#include "zordta/DtazvToSepa.h"

#include <algorithm>
#include <utility>

#include "convert/ConversionIssues.h"
#include "convert/DtazvConvertMessages.h"
#include "convert/DtazvPaymentConversion.h"
#include "core/MessageFill.h"
#include "zordta/Iban.h"
#include "zordta/SepaCountries.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor {

namespace detail {

namespace {

// A valid stand-in for a client's IBAN that cannot be had, so that the
// payments are still checked; never written, as a fault was reported.
constexpr const char* kStandInIban = "DE89370400440532013000";

std::string Numbered(const std::string& id, bool numbered, int k) {
  return id.empty() || !numbered ? id : id + "-" + std::to_string(k);
}

}  // namespace

struct DtazvToSepaState {
  DtazvToSepaState(DtazvToSepaSettings s, DtazvToSepa::IbanOf i, DtazvToSepa::Report r)
      : settings(std::move(s)),
        ibanOf(std::move(i)),
        report(std::move(r)),
        convert([this](DtazvToSepaIssue&& issue) { Add(std::move(issue)); }) {
    file.today = ConversionToday(settings.today);
    file.executionDate = settings.executionDate;
  }

  void Add(DtazvToSepaIssue&& issue) {
    if (issue.IsFault()) ++faults;
    if (!silent && report) report(issue);
  }
  void Refused(const SepaError& e, const DtazvPlace& place, bool aboutSettings);
  void TakeWarnings(const std::vector<SepaWarning>& kept, std::size_t count, std::size_t first,
                    const DtazvPlace& place, bool aboutSettings);
  SepaAccount Client();
  void PlanSepa(const DtazvPayment& p, std::span<const DtazvReport> reports);
  void PlanForeign(const DtazvPayment& p, std::span<const DtazvReport> reports);

  DtazvToSepaSettings settings;
  DtazvToSepa::IbanOf ibanOf;
  DtazvToSepa::Report report;
  DtazvPaymentConversion convert;
  DtazvFileFacts file;
  bool numbered = false;
  SepaAccount client;
  std::string accountCurrency;  // of the first foreign payment
  std::optional<SepaPlan> sepa;
  std::optional<ForeignTransferPlan> foreign;
  std::size_t faults = 0;
  bool silent = false;
  // While written:
  std::unique_ptr<SepaWriter> sepaWriter;
  std::vector<SepaGroupTotals> sepaGroups;
  std::unique_ptr<ForeignTransferWriter> foreignWriter;
  SepaPayment sepaPayment;  // reused: its texts keep their room
  ForeignTransfer transfer;
};

void DtazvToSepaState::Refused(const SepaError& e, const DtazvPlace& place, bool aboutSettings) {
  AddSepaRefusals<DtazvToSepaIssue>(e, place, aboutSettings,
                                    [this](DtazvToSepaIssue issue) { Add(std::move(issue)); });
}

void DtazvToSepaState::TakeWarnings(const std::vector<SepaWarning>& kept, std::size_t count,
                                    std::size_t first, const DtazvPlace& place,
                                    bool aboutSettings) {
  for (std::size_t i = first; i < count; ++i) {
    DtazvToSepaIssue issue;
    issue.kind = DtazvToSepaIssueKind::TextChanged;
    issue.place = place;
    issue.settings = aboutSettings;
    if (i < kept.size()) {
      issue.field = kept[i].place.field;
      issue.text = kept[i].text;
      issue.sepaPlace = kept[i].place;
    } else {
      issue.text = _MsgDtazvTextsChanged;
    }
    Add(std::move(issue));
  }
}

// Record Q's client: its name lines, its address in Germany, where a DTAZV
// file's client keeps its account, and its IBAN.
SepaAccount DtazvToSepaState::Client() {
  const DtazvHeader& q = file.header;
  SepaAccount account;
  account.name = q.name1;
  if (!q.name2.empty()) account.name += (account.name.empty() ? "" : " ") + q.name2;
  account.address.street = q.strasse;
  account.address.town = q.ort;
  account.address.country = q.ort.empty() && q.strasse.empty() ? "" : "DE";
  account.iban = settings.clientIban;
  account.bic = settings.clientBic;
  if (!account.iban.empty()) return account;
  try {
    if (!ibanOf) throw Exception(StringFromUtf8(_MsgDtazvNoIbanOf));
    if (ibanOf({q.blz, q.konto}, account)) {
      DtazvToSepaIssue issue;
      issue.kind = DtazvToSepaIssueKind::RuleAssumed;
      issue.text = _MsgDtazvRuleAssumed;
      Add(std::move(issue));
    }
    if (!settings.clientBic.empty()) account.bic = settings.clientBic;
  } catch (const BankCodeError& e) {
    if (e.Fault() == BankCodeFault::File) throw;
    DtazvToSepaIssue issue;
    issue.kind = DtazvToSepaIssueKind::NoIban;
    issue.place = q.place;
    issue.field = e.Fault() == BankCodeFault::AccountForm ? "konto" : "blz";
    issue.text = e.what();
    issue.bankFault = e.Fault();
    Add(std::move(issue));
    account.iban = kStandInIban;
    account.bic.clear();
  }
  return account;
}

void DtazvToSepaState::PlanSepa(const DtazvPayment& p, std::span<const DtazvReport> reports) {
  convert.ToSepa(file, p, reports, sepaPayment);
  if (!sepa) {
    SepaSettings s;
    s.messageId = Numbered(settings.messageId, numbered, 1);
    s.creationTime = settings.creationTime;
    s.account = client;
    s.strict = settings.strict;
    try {
      sepa.emplace(s);
      TakeWarnings(sepa->Warnings(), sepa->WarningCount(), 0, file.header.place, true);
    } catch (const SepaError& e) {
      Refused(e, file.header.place, true);
      s.account = {"X", kStandInIban, ""};
      s.messageId.clear();
      sepa.emplace(s);
    }
  }
  const std::size_t warned = sepa->WarningCount();
  try {
    sepa->Add(sepaPayment);
  } catch (const SepaError& e) {
    Refused(e, p.place, false);
  }
  TakeWarnings(sepa->Warnings(), sepa->WarningCount(), warned, p.place, false);
}

void DtazvToSepaState::PlanForeign(const DtazvPayment& p, std::span<const DtazvReport> reports) {
  convert.ToForeign(file, p, reports, transfer);
  if (!foreign) {
    accountCurrency = p.kontoWaehrung;
    ForeignTransferSettings s;
    s.messageId = Numbered(settings.messageId, numbered, 2);
    s.creationTime = settings.creationTime;
    s.debtor = client;
    s.debtorAccountCurrency = accountCurrency;
    s.strict = settings.strict;
    try {
      foreign.emplace(s);
      TakeWarnings(foreign->Warnings(), foreign->WarningCount(), 0, file.header.place, true);
    } catch (const SepaError& e) {
      Refused(e, file.header.place, true);
      s.debtor = {"X", kStandInIban, ""};
      s.debtorAccountCurrency.clear();
      s.messageId.clear();
      foreign.emplace(s);
    }
  } else if (p.kontoWaehrung != accountCurrency) {
    DtazvToSepaIssue issue;
    issue.kind = DtazvToSepaIssueKind::OtherAccount;
    issue.place = p.place;
    issue.field = "kontowaehrung";
    issue.text = Fill(_MsgDtazvOtherCurrency, {p.kontoWaehrung, accountCurrency});
    Add(std::move(issue));
  }
  const std::size_t warned = foreign->WarningCount();
  try {
    foreign->Add(transfer);
  } catch (const SepaError& e) {
    Refused(e, p.place, false);
  }
  TakeWarnings(foreign->Warnings(), foreign->WarningCount(), warned, p.place, false);
}

}  // namespace detail

using State = detail::DtazvToSepaState;

bool DtazvPaymentIsSepa(const DtazvPayment& p) noexcept {
  return p.waehrung == "EUR" && p.weisungsschluessel.back() != 91 && CheckIBAN(p.iban).IsValid() &&
         SepaAreaOf(std::string_view(p.iban).substr(0, 2)) != SepaArea::Outside;
}

DtazvToSepa::DtazvToSepa(DtazvToSepaSettings settings, IbanOf ibanOf, Report report)
    : fState(std::make_unique<State>(std::move(settings), std::move(ibanOf), std::move(report))) {}

DtazvToSepa::~DtazvToSepa() = default;

void DtazvToSepa::Open(const DtazvHeader& header, bool numbered) {
  State& s = *fState;
  s.file.header = header;
  s.numbered = numbered;
  s.client = s.Client();
}

void DtazvToSepa::Plan(const DtazvPayment& payment, std::span<const DtazvReport> reports) {
  if (DtazvPaymentIsSepa(payment)) {
    fState->PlanSepa(payment, reports);
  } else {
    fState->PlanForeign(payment, reports);
  }
}

void DtazvToSepa::Finish() {}

std::vector<DtazvDocumentKind> DtazvToSepa::Documents() const {
  std::vector<DtazvDocumentKind> kinds;
  if (fState->sepa) kinds.push_back(DtazvDocumentKind::Sepa);
  if (fState->foreign) kinds.push_back(DtazvDocumentKind::Foreign);
  return kinds;
}

const SepaPlan* DtazvToSepa::SepaPlanOf() const noexcept {
  return fState->sepa ? &*fState->sepa : nullptr;
}

const ForeignTransferPlan* DtazvToSepa::ForeignPlanOf() const noexcept {
  return fState->foreign ? &*fState->foreign : nullptr;
}

std::size_t DtazvToSepa::Passes() const {
  const State& s = *fState;
  return std::max(s.sepa ? s.sepa->Groups().size() : 0, s.foreign ? s.foreign->Groups().size() : 0);
}

void DtazvToSepa::StartWriting(std::span<std::ostream* const> outs) {
  State& s = *fState;
  if (s.faults != 0) throw Exception(StringFromUtf8(_MsgDtazvFaultsFound));
  if (outs.size() != Documents().size()) throw Exception(StringFromUtf8(_MsgDtazvStreams));
  s.silent = true;
  std::size_t k = 0;
  if (s.sepa) {
    s.sepaGroups = s.sepa->Groups();
    s.sepaWriter = std::make_unique<SepaWriter>(*s.sepa, *outs[k++]);
  }
  if (s.foreign) s.foreignWriter = std::make_unique<ForeignTransferWriter>(*s.foreign, *outs[k]);
}

bool DtazvToSepa::Write(const DtazvPayment& payment, std::span<const DtazvReport> reports,
                        std::size_t pass) {
  State& s = *fState;
  if (!s.sepaWriter && !s.foreignWriter) throw Exception(StringFromUtf8(_MsgDtazvNotStarted));
  const std::size_t faults = s.faults;
  // The same file, converted the same way: a fault here means it changed.
  if (DtazvPaymentIsSepa(payment)) {
    if (!s.sepaWriter) return false;
    s.convert.ToSepa(s.file, payment, reports, s.sepaPayment);
    if (s.faults != faults) return false;
    const auto& groups = s.sepaGroups;
    if (pass < groups.size() && s.sepaPayment.group.date == groups[pass].group.date) {
      s.sepaWriter->Add(s.sepaPayment);
    }
    return true;
  }
  if (!s.foreignWriter) return false;
  s.convert.ToForeign(s.file, payment, reports, s.transfer);
  if (s.faults != faults) return false;
  const auto& groups = s.foreign->Groups();
  if (pass < groups.size() && s.transfer.date == groups[pass].date) {
    s.foreignWriter->Add(s.transfer);
  }
  return true;
}

void DtazvToSepa::FinishWriting() {
  State& s = *fState;
  if (s.sepaWriter) s.sepaWriter->Finish();
  if (s.foreignWriter) s.foreignWriter->Finish();
  s.sepaWriter.reset();
  s.foreignWriter.reset();
}

}  // namespace zor
