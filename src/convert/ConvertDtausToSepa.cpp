// The whole conversion of a seekable stream: one reading to plan, then one per
// payment information block to write, each with the checked reader.
#include <cstdint>
#include <istream>
#include <limits>
#include <vector>

#include "convert/ConvertMessages.h"
#include "zordta/DtausToSepa.h"
#include "zordta/host/Text.h"

namespace zor {

namespace {

// The issues kept of a file with very many warnings; faults are all kept.
constexpr std::size_t kKeptWarnings = 1000;

// Every record of the stream from `start` on: `header` gets each record A,
// `payment` each record C.
template <class OnHeader, class OnPayment>
void ReadAll(std::istream& in, std::streampos start, const DtausReadOptions& options,
             OnHeader&& header, OnPayment&& payment) {
  in.clear();
  in.seekg(start);
  DtausReader reader(in, options);
  for (;;) {
    switch (reader.Next()) {
      case DtausReader::Item::Header:
        header(reader.Header());
        break;
      case DtausReader::Item::Payment:
        payment(reader.Payment());
        break;
      case DtausReader::Item::Trailer:
        break;
      case DtausReader::Item::End:
        return;
    }
  }
}

}  // namespace

DtausToSepaOutcome ConvertDtausToSepa(std::istream& dtaus, const DtausToSepaSettings& settings,
                                      DtausIbans& ibans, const MandateTable* mandates,
                                      const std::function<std::ostream&(std::size_t)>& output,
                                      DtausReadOptions readOptions) {
  const std::streampos start = dtaus.tellg();
  DtausToSepaOutcome outcome;
  const auto keep = [&outcome](const DtausToSepaIssue& issue) {
    const bool fault = issue.IsFault();
    (fault ? outcome.faults : outcome.warnings) += 1;
    if (fault || outcome.warnings <= kKeptWarnings) outcome.issues.push_back(issue);
  };
  // A message ID given is numbered when there are several documents: count first.
  std::size_t files = 0;
  if (!settings.messageId.empty()) {
    ReadAll(
        dtaus, start, readOptions, [&](const DtausHeader&) { ++files; },
        [](const DtausPayment&) {});
  }
  DtausToSepa convert(
      settings,
      [&ibans](DtausAccount account, SepaAccount& out) { return ibans.Make(account, out); },
      mandates, keep);
  ReadAll(
      dtaus, start, readOptions,
      [&](const DtausHeader& header) { convert.Open(header, files > 1); },
      [&](const DtausPayment& payment) { convert.Plan(payment); });
  convert.Finish();
  for (std::size_t k = 0; k < convert.Documents(); ++k) {
    const SepaPlan* plan = convert.PlanOf(k);
    outcome.documents.push_back(
        plan ? DtausToSepaDocument{plan->Settings().kind, plan->Count(), plan->Cents()}
             : DtausToSepaDocument{});
  }
  if (outcome.faults != 0) return outcome;

  std::vector<std::ostream*> outs;
  for (std::size_t k = 0; k < convert.Documents(); ++k) outs.push_back(&output(k));
  convert.StartWriting(outs);
  for (std::size_t pass = 0; pass < convert.Passes(); ++pass) {
    std::size_t file = std::numeric_limits<std::size_t>::max();
    ReadAll(
        dtaus, start, readOptions, [&](const DtausHeader&) { ++file; },
        [&](const DtausPayment& payment) {
          if (!convert.Write(file, payment, pass)) {
            throw Exception(StringFromUtf8(_MsgConvertFileChanged));
          }
        });
  }
  convert.FinishWriting();
  outcome.written = true;
  return outcome;
}

}  // namespace zor
