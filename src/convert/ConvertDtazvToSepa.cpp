// The whole conversion of a seekable DTAZV stream: one reading to plan, then
// one per payment information block to write, each with the checked reader.
#include <istream>
#include <span>

#include "convert/DtazvConvertMessages.h"
#include "zordta/DtazvToSepa.h"
#include "zordta/host/Text.h"

namespace zor {

namespace {

// The issues kept of a file with very many warnings; faults are all kept.
constexpr std::size_t kKeptWarnings = 1000;

// Every record of the stream from `start` on: `header` gets record Q,
// `payment` each record T with the reports that follow it (ReadDtazvPayments).
template <class OnHeader, class OnPayment>
void ReadAll(std::istream& in, std::streampos start, const DtazvReadOptions& options,
             OnHeader&& header, OnPayment&& payment) {
  in.clear();
  in.seekg(start);
  DtazvReader reader(in, options);
  ReadDtazvPayments(reader, header, payment);
}

}  // namespace

DtazvToSepaOutcome ConvertDtazvToSepa(std::istream& dtazv, const DtazvToSepaSettings& settings,
                                      DtausIbans* ibans,
                                      const std::function<std::ostream&(DtazvDocumentKind)>& output,
                                      DtazvReadOptions readOptions) {
  const std::streampos start = dtazv.tellg();
  DtazvToSepaOutcome outcome;
  const auto keep = [&outcome](const DtazvToSepaIssue& issue) {
    const bool fault = issue.IsFault();
    (fault ? outcome.faults : outcome.warnings) += 1;
    if (fault || outcome.warnings <= kKeptWarnings) outcome.issues.push_back(issue);
  };
  // A message ID given is numbered when there are both documents: count first.
  bool sepa = false;
  bool foreign = false;
  if (!settings.messageId.empty()) {
    ReadAll(
        dtazv, start, readOptions, [](const DtazvHeader&) {},
        [&](const DtazvPayment& p, std::span<const DtazvReport>) {
          (DtazvPaymentIsSepa(p) ? sepa : foreign) = true;
        });
  }
  DtazvToSepa::IbanOf ibanOf;
  if (ibans != nullptr) {
    ibanOf = [ibans](DtausAccount account, SepaAccount& out) { return ibans->Make(account, out); };
  }
  DtazvToSepa convert(settings, ibanOf, keep);
  ReadAll(
      dtazv, start, readOptions, [&](const DtazvHeader& q) { convert.Open(q, sepa && foreign); },
      [&](const DtazvPayment& p, std::span<const DtazvReport> r) { convert.Plan(p, r); });
  convert.Finish();
  const std::vector<DtazvDocumentKind> kinds = convert.Documents();
  for (const DtazvDocumentKind kind : kinds) {
    if (kind == DtazvDocumentKind::Sepa) {
      const SepaPlan& plan = *convert.SepaPlanOf();
      outcome.documents.push_back({kind, plan.Count(), plan.Cents()});
    } else {
      const ForeignTransferPlan& plan = *convert.ForeignPlanOf();
      outcome.documents.push_back({kind, plan.Count(), plan.Amounts()});
    }
  }
  if (outcome.faults != 0 || kinds.empty()) return outcome;

  std::vector<std::ostream*> outs;
  for (const DtazvDocumentKind kind : kinds) outs.push_back(&output(kind));
  convert.StartWriting(outs);
  for (std::size_t pass = 0; pass < convert.Passes(); ++pass) {
    ReadAll(
        dtazv, start, readOptions, [](const DtazvHeader&) {},
        [&](const DtazvPayment& p, std::span<const DtazvReport> r) {
          if (!convert.Write(p, r, pass)) throw Exception(StringFromUtf8(_MsgDtazvFileChanged));
        });
  }
  convert.FinishWriting();
  outcome.written = true;
  return outcome;
}

}  // namespace zor
