#include "convert/DtazvPaymentConversion.h"

#include <array>
#include <cstdio>
#include <utility>

#include "convert/DtazvConvertMessages.h"
#include "core/MessageFill.h"
#include "sepa/SepaParts.h"
#include "zordta/Iban.h"
#include "zordta/Printable.h"
#include "zordta/SepaCountries.h"
#include "zordta/detail/TextScan.h"

namespace zor::detail {

namespace {

// Dtls/Tp of a report: the lines of Inf are a W record's fields as the file has them.
constexpr const char* kReportType = "DTAZV W";
constexpr std::size_t kInfWidth = 35;

std::string TwoDigits(std::int32_t key) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", static_cast<int>(key));
  return text;
}

std::string IsoDate(const std::chrono::year_month_day& d) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(d.year()),
                static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
  return text;
}

void Append(std::string& text, std::string_view piece) {
  piece = TrimmedView(piece);
  if (piece.empty()) return;
  if (!text.empty()) text += ' ';
  text += piece;
}

// Emptied field by field, so that its texts keep their room for the next payment.
void ClearAddress(SepaPostalAddress& address) {
  for (const SepaAddressField& f : kSepaAddressFields) (address.*f.member).clear();
  address.country.clear();
  address.lines.clear();
}

// Name lines 1 and 2 as one name; street, town (with what the file has beside
// it, such as a post code) and the payee's country as a structured address.
void Creditor(const DtazvPayment& p, std::string& name, SepaPostalAddress& address) {
  name.clear();
  Append(name, p.name1);
  Append(name, p.name2);
  ClearAddress(address);
  address.street = p.strasse;
  address.town = p.ortLand;
  address.country = p.laendercode;
}

bool IsCheque(std::int32_t key) {
  return (key >= 20 && key <= 23) || (key >= 30 && key <= 33);
}

}  // namespace

void JoinDtazvLines(std::span<const std::string> lines, std::string& out) {
  out.clear();
  for (const std::string& line : lines) Append(out, line);
}

void DtazvPaymentConversion::Unmapped(const DtazvPlace& place, std::string field, std::string value,
                                      std::string text) {
  DtazvToSepaIssue issue;
  issue.kind = DtazvToSepaIssueKind::Unmapped;
  issue.place = place;
  issue.field = std::move(field);
  issue.value = std::move(value);
  issue.text = std::move(text);
  fIssue(std::move(issue));
}

// The payment's own date, else the file's execution date, else the day the
// file was made: the banks take the same order.
std::chrono::year_month_day DtazvPaymentConversion::Date(const DtazvFileFacts& file,
                                                         const DtazvPayment& p) {
  const std::chrono::year_month_day date = file.executionDate    ? *file.executionDate
                                           : p.ausfuehrungsdatum ? *p.ausfuehrungsdatum
                                           : file.header.ausfuehrungsdatum
                                               ? *file.header.ausfuehrungsdatum
                                               : file.header.erstellungsdatum;
  if (date < file.today) {
    DtazvToSepaIssue issue;
    issue.kind = DtazvToSepaIssueKind::PastDate;
    issue.place = p.place;
    issue.field = "ausfuehrungsdatum";
    issue.text = Fill(_MsgDtazvPast, {IsoDate(date)});
    issue.date = date;
    fIssue(std::move(issue));
  }
  return date;
}

// A document has one debtor account: record Q's. A charges account of its own
// has no place in either document.
void DtazvPaymentConversion::CheckAccount(const DtazvFileFacts& file, const DtazvPayment& p) {
  const DtazvHeader& q = file.header;
  if (p.auftraggeberBLZ != q.blz || p.auftraggeberKonto != q.konto) {
    DtazvToSepaIssue issue;
    issue.kind = DtazvToSepaIssueKind::OtherAccount;
    issue.place = p.place;
    issue.field = "auftraggeber.konto";
    issue.text = Fill(_MsgDtazvOtherAccount,
                      {std::to_string(p.auftraggeberBLZ), std::to_string(p.auftraggeberKonto),
                       std::to_string(q.blz), std::to_string(q.konto)});
    fIssue(std::move(issue));
  }
  const bool sameAsDebited = p.otherBLZ == p.auftraggeberBLZ && p.otherKonto == p.auftraggeberKonto;
  if ((p.otherBLZ != 0 || p.otherKonto != 0) && !sameAsDebited) {
    Unmapped(
        p.place, "entgeltkonto", std::to_string(p.otherBLZ) + " " + std::to_string(p.otherKonto),
        Fill(_MsgDtazvChargesAccount, {std::to_string(p.otherBLZ), std::to_string(p.otherKonto)}));
  }
}

void DtazvPaymentConversion::ToSepa(const DtazvFileFacts& file, const DtazvPayment& p,
                                    std::span<const DtazvReport> reports, SepaPayment& out) {
  out.group = {Date(file, p)};
  CheckAccount(file, p);
  out.cents = p.betrag;
  Creditor(p, out.counterparty.name, out.counterparty.address);
  out.counterparty.iban = p.iban;
  out.counterparty.bic = p.bic;
  JoinDtazvLines(p.verwendungszweck, out.remittance);
  out.instructionId = p.notizIntern;
  if (p.kontoWaehrung != "EUR") {
    Unmapped(p.place, "kontowaehrung", p.kontoWaehrung,
             Fill(_MsgDtazvSepaAccountCurrency, {PrintableText(p.kontoWaehrung)}));
  }
  if (p.entgeltregelung != 0) {
    Unmapped(p.place, "entgeltregelung", TwoDigits(p.entgeltregelung),
             Fill(_MsgDtazvSepaCharges, {TwoDigits(p.entgeltregelung)}));
  }
  if (p.zahlungsArtSchluessel != 0 && p.zahlungsArtSchluessel != 13) {
    const std::string key = TwoDigits(p.zahlungsArtSchluessel);
    Unmapped(p.place, "zahlungsartschluessel", key,
             Fill(IsCheque(p.zahlungsArtSchluessel) ? _MsgDtazvCheque : _MsgDtazvSepaPaymentType,
                  {key}));
  }
  std::string keys;
  for (const std::int32_t key : p.weisungsschluessel) {
    if (key != 0) Append(keys, TwoDigits(key));
  }
  Append(keys, p.weisungszusatz);
  if (!keys.empty()) {
    Unmapped(p.place, "weisungsschluessel", keys,
             Fill(_MsgDtazvSepaInstruction, {PrintableText(keys)}));
  }
  for (const DtazvReport& r : reports) {
    Unmapped(r.place, "meldung", std::string(1, r.satzart), _MsgDtazvSepaReport);
  }
  if (!p.ansprechpartner.empty()) {
    DtazvToSepaIssue issue;
    issue.kind = DtazvToSepaIssueKind::TextDropped;
    issue.place = p.place;
    issue.field = "ansprechpartner";
    issue.text = Fill(_MsgDtazvContactDropped, {PrintableText(p.ansprechpartner)});
    fIssue(std::move(issue));
  }
}

// Keys 02, 04, 06 and 07 are the instructions ISO gives the creditor's bank;
// 91 in the fourth place makes the amount a euro amount paid in the order
// currency; any other key goes to the debtor's bank as the file states it.
void DtazvPaymentConversion::Keys(const DtazvPayment& p, ForeignTransfer& out) {
  using I = ForeignCreditorInstruction;
  std::string others;
  for (std::size_t i = 0; i < p.weisungsschluessel.size(); ++i) {
    const std::int32_t key = p.weisungsschluessel[i];
    const auto field = [i] { return "weisungsschluessel" + std::to_string(i + 1); };
    switch (key) {
      case 0:
        break;
      case 2:
        out.creditorAgentInstructions.push_back(I::PayByCheque);
        break;
      case 4:
        out.creditorAgentInstructions.push_back(I::HoldForCollection);
        break;
      case 6:
        out.creditorAgentInstructions.push_back(I::PhoneBeneficiary);
        break;
      case 7:
        out.creditorAgentInstructions.push_back(I::TelecomBeneficiary);
        break;
      case 91:
        if (i + 1 != p.weisungsschluessel.size()) {
          Unmapped(p.place, field(), "91", _MsgDtazvEquivalentPlace);
        } else if (p.waehrung == "EUR") {
          Unmapped(p.place, field(), "91", _MsgDtazvEquivalentEuro);
        } else {
          out.currencyOfTransfer = p.waehrung;
          out.currency = "EUR";
        }
        break;
      default:
        Append(others, TwoDigits(key));
        break;
    }
  }
  std::string debtorAgent;
  if (!others.empty()) debtorAgent = "WEISUNGSSCHLUESSEL " + others;
  if (out.creditorAgentInstructions.empty()) {
    Append(debtorAgent, p.weisungszusatz);
  } else {
    out.creditorAgentInformation = p.weisungszusatz;
  }
  if (!p.ansprechpartner.empty()) Append(debtorAgent, "ANSPRECHPARTNER " + p.ansprechpartner);
  out.debtorAgentInstruction = std::move(debtorAgent);
}

// 00 a standard transfer; 10 an urgent one (URGP); 11 same-day value in euro
// (SDVA). 13 is a SEPA payment's key; cheques and keys for the banks' own use
// have no counterpart.
void DtazvPaymentConversion::PaymentType(const DtazvPayment& p, ForeignTransfer& out) {
  const std::int32_t key = p.zahlungsArtSchluessel;
  out.serviceLevel = key == 10 ? "URGP" : key == 11 ? "SDVA" : "";
  if (key == 0 || key == 10 || key == 11) return;
  const std::string text = TwoDigits(key);
  if (key == 13) {
    Unmapped(
        p.place, "zahlungsartschluessel", text,
        Fill(_MsgDtazvEuStandard, {PrintableText(p.waehrung), PrintableText(p.iban.substr(0, 2))}));
  } else {
    Unmapped(p.place, "zahlungsartschluessel", text,
             Fill(IsCheque(key) ? _MsgDtazvCheque : _MsgDtazvPaymentType, {text}));
  }
}

// A W record goes whole into one report: its fields as the file has them, in
// lines of 35, so that nothing is cut or read into fields the file may fill
// otherwise. Transit trade (V) has no place.
void DtazvPaymentConversion::Reports(std::span<const DtazvReport> reports, ForeignTransfer& out) {
  std::size_t made = 0;  // the reports of the last transfer keep their room
  for (const DtazvReport& r : reports) {
    if (r.satzart != 'W') {
      Unmapped(r.place, "meldung", std::string(1, r.satzart), _MsgDtazvTransitReport);
      continue;
    }
    if (made == out.reports.size()) out.reports.emplace_back();
    ForeignReport& report = out.reports[made++];
    report.type = kReportType;
    report.code.clear();
    const std::string_view text = r.text;
    report.information.resize((text.size() + kInfWidth - 1) / kInfWidth);
    for (std::size_t at = 0; at < text.size(); at += kInfWidth) {
      report.information[at / kInfWidth] = text.substr(at, kInfWidth);
    }
  }
  out.reports.resize(made);
}

void DtazvPaymentConversion::ToForeign(const DtazvFileFacts& file, const DtazvPayment& p,
                                       std::span<const DtazvReport> reports, ForeignTransfer& out) {
  out.date = Date(file, p);
  CheckAccount(file, p);
  out.amount = p.betrag;
  out.currency = p.waehrung;
  out.currencyOfTransfer.clear();
  out.creditorAgentInstructions.clear();
  out.creditorAgentInformation.clear();
  switch (p.entgeltregelung) {
    case 0:
      out.chargeBearer = ForeignChargeBearer::Shared;
      break;
    case 1:
      out.chargeBearer = ForeignChargeBearer::Debtor;
      break;
    case 2:
      out.chargeBearer = ForeignChargeBearer::Creditor;
      break;
    default:
      Unmapped(p.place, "entgeltregelung", TwoDigits(p.entgeltregelung),
               Fill(_MsgDtazvCharges, {TwoDigits(p.entgeltregelung)}));
      break;
  }
  PaymentType(p, out);
  Keys(p, out);
  out.instructionId = p.notizIntern;
  // The bank by BIC; without one by its name (line 1) and address: the last
  // line that holds anything is its town, those between are address lines.
  out.agentBic = p.bic;
  out.agentName.clear();
  ClearAddress(out.agentAddress);
  if (p.bic.empty()) {
    out.agentName = p.otherAddress[0];
    std::size_t last = 3;
    while (last > 0 && p.otherAddress[last].empty()) --last;
    if (last > 0) out.agentAddress.town = p.otherAddress[last];
    for (std::size_t i = 1; i < last; ++i) {
      if (!p.otherAddress[i].empty()) out.agentAddress.lines.push_back(p.otherAddress[i]);
    }
    out.agentAddress.country = p.otherLaendercode;
  }
  Creditor(p, out.creditorName, out.creditorAddress);
  const bool iban = CheckIBAN(p.iban).IsValid();
  out.creditorIban = iban ? p.iban : "";
  out.creditorAccount = iban ? "" : p.iban;
  Reports(reports, out);
  JoinDtazvLines(p.verwendungszweck, out.remittance);
}

}  // namespace zor::detail
