#include "output/SepaListing.h"

#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string_view>
#include "io/EntryNames.h"
#include "output/SepaCsvExtras.h"
#include "output/SepaPartyJson.h"
#include "zordta/entry/Values.h"

namespace zcli {

namespace {

using json = nlohmann::ordered_json;

std::string IsoDateTime(std::chrono::local_seconds time) {
  const auto days = std::chrono::floor<std::chrono::days>(time);
  const std::chrono::hh_mm_ss clock(time - days);
  char text[16];
  std::snprintf(text, sizeof text, "T%02d:%02d:%02d", static_cast<int>(clock.hours().count()),
                static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return FormatIsoDate(std::chrono::year_month_day(days)) + text;
}

// Amounts as the file states them, "1234.50": exact, also for sums of 18 digits.
std::string Amount(std::int64_t cents) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(cents / 100),
                static_cast<long long>(cents % 100));
  return text;
}

json Account(const zor::SepaAccount& account) {
  json out = {{"name", account.name}, {"iban", account.iban}};
  if (!account.bic.empty()) out["bic"] = account.bic;
  AddSepaAccountExtras(account, out);
  return out;
}

// The settings of a job, then what it has no key for, up to the payments.
json Head(const std::string& path, const CheckedSepa& file) {
  const zor::SepaDocument& d = file.Document();
  const zor::SepaBlock& first = file.Blocks().front();
  const bool debits = d.kind == zor::SepaKind::DirectDebit;
  json head = {{"art", "sepa"},
               {"datei", path},
               {"lastschriften", debits},
               {"version", SepaVersionWord(d.version)}};
  if (debits) head["lastart"] = first.instrument == zor::SepaInstrument::B2B ? "B2B" : "CORE";
  if (first.batchBooking) head["sammelbuchung"] = *first.batchBooking;
  head["nachricht_id"] = d.messageId;
  head["auftraggeber"] = Account(first.account);
  // Empty where every debit states its own.
  if (debits && !first.creditorId.empty()) head["glaeubiger_id"] = first.creditorId;
  if (!file.SeveralDates()) head["ausfuehrungsdatum"] = FormatIsoDate(first.group.date);
  head["erstellt"] = IsoDateTime(d.creationTime);
  head["einreicher"] = d.initiatingParty;
  AddSepaSettingsExtras(d, first, head);
  head["summen"] = {{"anzahl", d.count}, {"betrag", Amount(d.cents)}};
  json blocks = json::array();
  for (const zor::SepaBlock& b : file.Blocks()) {
    json block = {{"zahlungsinfo_id", b.paymentInfoId}, {"datum", FormatIsoDate(b.group.date)}};
    if (debits) block["sequenz"] = zor::SepaSequenceCode(b.group.sequence);
    block["anzahl"] = b.count;
    block["betrag"] = Amount(b.cents);
    blocks.push_back(std::move(block));
  }
  head["zahlungsbloecke"] = std::move(blocks);
  head["buchungen"] = json::array();
  return head;
}

json PaymentObject(const zor::SepaPayment& p, bool debits, bool dates) {
  json out = Account(p.counterparty);
  out["betrag"] = Amount(p.cents);
  if (!p.endToEndId.empty()) out["ende_zu_ende_id"] = p.endToEndId;
  if (!p.remittance.empty()) out["verwendungszweck"] = p.remittance;
  if (!p.purposeCode.empty()) out["zweck"] = p.purposeCode;
  if (dates) out["datum"] = FormatIsoDate(p.group.date);
  if (debits) {
    out["mandat_id"] = p.mandateId;
    out["mandat_datum"] = p.mandateSigned ? FormatIsoDate(*p.mandateSigned) : std::string();
    out["sequenz"] = zor::SepaSequenceCode(p.group.sequence);
  }
  AddSepaPaymentExtras(p, out);
  return out;
}

}  // namespace

SepaJsonListing::SepaJsonListing(std::ostream& out, const std::string& path,
                                 const CheckedSepa& file)
    : fBuffer(out),
      fDebits(file.Document().kind == zor::SepaKind::DirectDebit),
      fDates(file.SeveralDates()) {
  // The head's dump, cut before its empty list of payments.
  std::string text = Head(path, file).dump(2, ' ', false);
  constexpr std::string_view kEmptyListAndEnd = "[]\n}";
  text.resize(text.size() - kEmptyListAndEnd.size());
  fBuffer.Text() = text + "[";
}

void SepaJsonListing::Add(const zor::SepaPayment& payment) {
  std::string& text = fBuffer.Text();
  text += fCount++ == 0 ? "\n    " : ",\n    ";
  for (const char c : PaymentObject(payment, fDebits, fDates).dump(2, ' ', false)) {
    text += c;
    if (c == '\n') text += "    ";
  }
  fBuffer.Ready();
}

void SepaJsonListing::Close() {
  fBuffer.Text() += fCount == 0 ? "]\n}\n" : "\n  ]\n}\n";
  fBuffer.Flush();
}

SepaCsvListing::SepaCsvListing(std::ostream& out, const CheckedSepa& file)
    : fBuffer(out), fDebits(file.Document().kind == zor::SepaKind::DirectDebit) {
  fBuffer.Text() = "name,iban,bic,betrag,ende_zu_ende_id,verwendungszweck,zweck,datum";
  if (fDebits) fBuffer.Text() += ",mandat_id,mandat_datum,sequenz";
  fBuffer.Text() += kSepaCsvExtraHeader;
  fBuffer.Text() += "\r\n";
}

void SepaCsvListing::Add(const zor::SepaPayment& p) {
  std::string& text = fBuffer.Text();
  text += CsvCell(p.counterparty.name) + ',' + p.counterparty.iban + ',' + p.counterparty.bic +
          ',' + Amount(p.cents) + ',' + CsvCell(p.endToEndId) + ',' + CsvCell(p.remittance) + ',' +
          p.purposeCode + ',' + FormatIsoDate(p.group.date);
  if (fDebits) {
    text += ',' + CsvCell(p.mandateId) + ',' +
            (p.mandateSigned ? FormatIsoDate(*p.mandateSigned) : std::string()) + ',' +
            zor::SepaSequenceCode(p.group.sequence);
  }
  AppendSepaCsvExtras(text, p);
  text += "\r\n";
  fBuffer.Ready();
}

}  // namespace zcli
