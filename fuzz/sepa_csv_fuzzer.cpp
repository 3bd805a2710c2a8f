// Feeds arbitrary bytes, as a CSV file would bring them, through the way
// `zordta sepa write` takes them: each row checked into the plan, then the
// document written group by group from a second reading. Whatever the input,
// this must end without a crash, a leak or a hang; a plan that took every row
// must be written without a refusal, as well-formed XML whose counts and sums
// are the plan's, with every payment in it exactly once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include <libxml/parser.h>

#include "commands/PaymentSource.h"
#include "io/EntryNames.h"
#include "zordta/Sepa.h"
#include "zordta/entry/SepaInput.h"
#include "zordta/host/SysUtils.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::size_t Occurrences(std::string_view text, std::string_view what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string_view::npos;
       at = text.find(what, at + what.size())) {
    ++count;
  }
  return count;
}

std::string_view FirstValue(std::string_view xml, const std::string& element) {
  const std::string open = "<" + element + ">";
  const std::size_t start = xml.find(open);
  if (start == std::string_view::npos) return {};
  const std::size_t from = start + open.size();
  return xml.substr(from, xml.find('<', from) - from);
}

std::string Amount(std::int64_t cents) {
  std::string text = std::to_string(cents / 100) + ".00";
  const auto rest = static_cast<int>(cents % 100);
  text[text.size() - 2] = static_cast<char>('0' + rest / 10);
  text[text.size() - 1] = static_cast<char>('0' + rest % 10);
  return text;
}

zor::SepaSettings Settings(zor::SepaKind kind) {
  zor::SepaSettings s;
  s.kind = kind;
  s.messageId = "FUZZ-1";
  s.creationTime = std::chrono::local_days(std::chrono::year(2026) / 12 / 8);
  s.account = {"Muster GmbH", "DE89370400440532013000", "COBADEFFXXX"};
  s.creditorId = "DE98ZZZ09999999999";
  return s;
}

void WriteAs(const zcli::PaymentSource& source, zor::SepaKind kind) {
  const std::chrono::year_month_day today = std::chrono::year(2026) / 12 / 9;
  zor::SepaPlan plan(Settings(kind));
  zcli::Diagnostics errors;
  zor::SepaPayment payment;
  bool refused = false;
  const zcli::PaymentSource::Pass pass = source.ForEach(
      [&](const zcli::InputRecord& record) {
        if (!zcli::ReadSepaPayment(record, kind, today, payment, errors)) return;
        try {
          plan.Add(payment);
        } catch (const zor::SepaError&) {
          refused = true;
        }
      },
      errors);
  if (refused || !errors.Empty() || !pass.complete || pass.records == 0) return;
  Check(plan.Count() == pass.records);

  std::ostringstream out;
  {
    zor::SepaWriter writer(plan, out);
    for (const zor::SepaGroupTotals& group : plan.Groups()) {
      zcli::Diagnostics again;
      source.ForEach(
          [&](const zcli::InputRecord& record) {
            Check(zcli::ReadSepaPayment(record, kind, today, payment, again));
            if (payment.group == group.group) writer.Add(payment);
          },
          again);
      Check(again.Empty());
    }
    writer.Finish();
  }
  const std::string xml = out.str();
  xmlDocPtr doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "fuzz.xml", nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  Check(doc != nullptr);
  xmlFreeDoc(doc);
  const bool debits = kind == zor::SepaKind::DirectDebit;
  Check(Occurrences(xml, debits ? "<DrctDbtTxInf>" : "<CdtTrfTxInf>") == plan.Count());
  Check(Occurrences(xml, "<PmtInf>") == plan.Groups().size());
  // The group header's figures come first.
  Check(FirstValue(xml, "NbOfTxs") == std::to_string(plan.Count()));
  Check(FirstValue(xml, "CtrlSum") == Amount(plan.Cents()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool pinned = [] {
    zor::SetClock([] { return zor::EncodeDate(2026, 12, 9) + 0.5; });
    return true;
  }();
  (void)pinned;
  const zcli::PaymentSource source = zcli::PaymentSource::FromCsvText(
      "fuzz.csv", std::string(reinterpret_cast<const char*>(data), size), "",
      zcli::SepaCsvColumns());
  WriteAs(source, zor::SepaKind::CreditTransfer);
  WriteAs(source, zor::SepaKind::DirectDebit);
  return 0;
}
