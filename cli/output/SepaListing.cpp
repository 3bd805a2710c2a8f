#include "output/SepaListing.h"

#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string_view>
#include "io/EntryNames.h"
#include "output/JsonScalars.h"
#include "output/PaymentListing.h"
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

// The settings of a further account's blocks, in the keys of the file's own.
json OtherBlock(const zor::SepaDocument& d, const zor::SepaBlock& b) {
  json out = json::object();
  if (b.batchBooking) out["sammelbuchung"] = *b.batchBooking;
  out["auftraggeber"] = Account(b.account);
  if (d.kind == zor::SepaKind::DirectDebit && !b.creditorId.empty()) {
    out["glaeubiger_id"] = b.creditorId;
  }
  zor::SepaDocument blockOnly = d;  // the initiating party is the file's
  blockOnly.initiatingPartyId = {};
  AddSepaSettingsExtras(blockOnly, b, out);
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
  json others = json::array();
  for (const zor::SepaBlock& b : file.Blocks()) {
    if (b.group.blockSettings == others.size() + 1) others.push_back(OtherBlock(d, b));
  }
  if (!others.empty()) head["weitere_konten"] = std::move(others);
  head["summen"] = {{"anzahl", d.count}, {"betrag", Amount(d.cents)}};
  json blocks = json::array();
  for (const zor::SepaBlock& b : file.Blocks()) {
    json block = {{"zahlungsinfo_id", b.paymentInfoId}, {"datum", FormatIsoDate(b.group.date)}};
    if (debits) block["sequenz"] = zor::SepaSequenceCode(b.group.sequence);
    if (b.group.blockSettings > 0) block["konto"] = b.group.blockSettings;
    block["anzahl"] = b.count;
    block["betrag"] = Amount(b.cents);
    blocks.push_back(std::move(block));
  }
  head["zahlungsbloecke"] = std::move(blocks);
  head["buchungen"] = json::array();
  return head;
}

// A date as "2026-12-10", straight into the text.
void AppendIsoDate(std::string& text, const std::chrono::year_month_day& date) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d-%02u-%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  text += digits;
}

json PaymentObject(const zor::SepaPayment& p, bool debits) {
  json out = Account(p.counterparty);
  out["betrag"] = Amount(p.cents);
  if (!p.endToEndId.empty()) out["ende_zu_ende_id"] = p.endToEndId;
  if (!p.remittance.empty()) out["verwendungszweck"] = p.remittance;
  if (!p.purposeCode.empty()) out["zweck"] = p.purposeCode;
  out["datum"] = FormatIsoDate(p.group.date);
  if (debits) {
    out["mandat_id"] = p.mandateId;
    out["mandat_datum"] = p.mandateSigned ? FormatIsoDate(*p.mandateSigned) : std::string();
    out["sequenz"] = zor::SepaSequenceCode(p.group.sequence);
  }
  AddSepaPaymentExtras(p, out);
  return out;
}

// Whether a payment has only the keys AppendPayment writes itself.
bool Plain(const zor::SepaPayment& p) {
  return !zor::HasSepaExtras(p) && p.group.blockSettings == 0;
}

// The date of a payment, which the listing keeps only when the payments have
// several: ListingSpool::kOptional, then this text of a fixed length.
constexpr std::string_view kDateKey = ",\n      \"datum\": \"";
constexpr std::size_t kDateSize = kDateKey.size() + std::string_view("2026-12-10\"").size();

// A payment as the dump of its object, indented 2 and shifted by 4, writes it;
// a json value for each of a few million payments would cost more than the
// reading. The rare payment with more than the common keys is that dump.
void AppendPayment(std::string& text, const zor::SepaPayment& p, bool debits) {
  if (!Plain(p)) {
    const std::string dump = PaymentObject(p, debits).dump(2, ' ', false);
    // Keys of nested objects are indented further, and a string's line break is escaped.
    const std::size_t date = dump.find(",\n  \"datum\": \"");
    for (std::size_t i = 0; i < dump.size(); ++i) {
      if (i == date) text += ListingSpool::kOptional;
      text += dump[i];
      if (dump[i] == '\n') text += "    ";
    }
    return;
  }
  const auto key = [&text](std::string_view name) {
    text += ",\n      \"";
    text += name;
    text += "\": ";
  };
  text += "{\n      \"name\": ";
  AppendJsonString(text, p.counterparty.name);
  key("iban");
  AppendJsonString(text, p.counterparty.iban);
  if (!p.counterparty.bic.empty()) {
    key("bic");
    AppendJsonString(text, p.counterparty.bic);
  }
  key("betrag");
  text += '"';
  text += Amount(p.cents);
  text += '"';
  if (!p.endToEndId.empty()) {
    key("ende_zu_ende_id");
    AppendJsonString(text, p.endToEndId);
  }
  if (!p.remittance.empty()) {
    key("verwendungszweck");
    AppendJsonString(text, p.remittance);
  }
  if (!p.purposeCode.empty()) {
    key("zweck");
    AppendJsonString(text, p.purposeCode);
  }
  text += ListingSpool::kOptional;
  text += kDateKey;
  AppendIsoDate(text, p.group.date);
  text += '"';
  if (debits) {
    key("mandat_id");
    AppendJsonString(text, p.mandateId);
    key("mandat_datum");
    text += '"';
    if (p.mandateSigned) AppendIsoDate(text, *p.mandateSigned);
    text += '"';
    key("sequenz");
    AppendJsonString(text, zor::SepaSequenceCode(p.group.sequence));
  }
  key("zahlungsinfo_id");
  AppendJsonString(text, p.group.paymentInfoId);
  text += "\n    }";
}

}  // namespace

void SepaJsonListing::Add(const zor::SepaPayment& payment) {
  std::string& text = fSpool.Text();
  text += fCount++ == 0 ? "\n    " : ",\n    ";
  AppendPayment(text, payment, fDebits);
  fSpool.Ready();
}

void SepaJsonListing::Print(std::ostream& out, const std::string& path, const CheckedSepa& file) {
  ListingBuffer buffer(out);
  // The head's dump, cut before its empty list of payments.
  std::string& text = buffer.Text();
  text = Head(path, file).dump(2, ' ', false);
  constexpr std::string_view kEmptyListAndEnd = "[]\n}";
  text.resize(text.size() - kEmptyListAndEnd.size());
  text += '[';
  fSpool.Replay(SpoolInto(buffer), kDateSize, !file.SeveralDates());
  buffer.Text() += fCount == 0 ? "]\n}\n" : "\n  ]\n}\n";
  buffer.Flush();
}

SepaCsvListing::SepaCsvListing(bool debits) : fDebits(debits) {
  std::string& text = fSpool.Text();
  text = "name,iban,bic,betrag,ende_zu_ende_id,verwendungszweck,zweck,datum";
  if (fDebits) text += ",mandat_id,mandat_datum,sequenz";
  text += kSepaCsvExtraHeader;
  text += "\r\n";
}

void SepaCsvListing::Add(const zor::SepaPayment& p) {
  std::string& text = fSpool.Text();
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
  fSpool.Ready();
}

void SepaCsvListing::Print(std::ostream& out) {
  ListingBuffer buffer(out);
  fSpool.Replay(SpoolInto(buffer), 0, false);
  buffer.Flush();
}

}  // namespace zcli
