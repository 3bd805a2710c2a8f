#include "convert/DtausRecordConversion.h"

#include <utility>

#include "convert/ConversionIssues.h"
#include "convert/ConvertMessages.h"
#include "core/MessageFill.h"
#include "sepa/SepaValues.h"
#include "zordta/DtausKeys.h"
#include "zordta/Printable.h"
#include "zordta/detail/TextScan.h"
#include "zordta/host/SysUtils.h"

namespace zor::detail {

namespace {

// DTAUS text lines become one SEPA text, as the SEPA CSV joins its purpose
// columns. Into `text`, whose room is kept from the payment before.
void Join(std::string_view first, const std::vector<std::string>& more, std::string& text) {
  text.assign(TrimmedView(first));
  for (const std::string& line : more) {
    const std::string_view piece = TrimmedView(line);
    if (piece.empty()) continue;
    if (!text.empty()) text += ' ';
    text += piece;
  }
}

// "04000 (Abbuchungsauftrag: B2B)".
std::string SchemeText(std::string_view key) {
  const DtausKey* known = FindDtausKey(key);
  return std::string(key) + " (" + std::string(known->name) + ": " +
         std::string(known->sepaScheme) + ")";
}

// "04 Abbuchungsauftrag oder 05 Einzugsermächtigung".
std::string DebitKeysText() {
  std::string text;
  for (const DtausKey& key : kDtausKeys) {
    if (!IsDebit(key.kind)) continue;
    if (!text.empty()) text += " oder ";
    text += std::string(key.code) + " " + std::string(key.name);
  }
  return text;
}

DtausToSepaIssue At(DtausToSepaIssueKind kind, const DtausPlace& place, std::string field,
                    std::string text) {
  DtausToSepaIssue issue;
  issue.kind = kind;
  issue.place = place;
  issue.field = std::move(field);
  issue.text = std::move(text);
  return issue;
}

}  // namespace

std::string DtausRecordText(const DtausPlace& place) {
  return Fill(_MsgConvertPlace, {std::to_string(place.record), std::to_string(place.offset)});
}

DtausRecordConversion::DtausRecordConversion(DtausToSepaSettings settings,
                                             DtausToSepa::IbanOf ibanOf,
                                             const MandateTable* mandates,
                                             DtausToSepa::Report report)
    : fSettings(std::move(settings)),
      fIbanOf(std::move(ibanOf)),
      fMandates(mandates),
      fReport(std::move(report)),
      fToday(ConversionToday(fSettings.today)) {}

void DtausRecordConversion::Add(DtausToSepaIssue&& issue) {
  if (issue.IsFault()) ++fFaults;
  if (!fSilent && fReport) fReport(issue);
}

bool DtausRecordConversion::FindAccount(DtausAccount account, const DtausPlace& place,
                                        const char* fieldPrefix, SepaAccount& out) {
  try {
    if (fIbanOf(account, out) && !fRuleAssumedReported) {
      fRuleAssumedReported = true;
      Add(At(DtausToSepaIssueKind::RuleAssumed, {}, "", _MsgConvertRuleAssumed));
    }
    return true;
  } catch (const BankCodeError& e) {
    const std::string prefix = fieldPrefix;
    DtausToSepaIssue issue = At(DtausToSepaIssueKind::NoIban, place, prefix + "blz", e.what());
    issue.account = account;
    issue.bankFault = e.Fault();
    switch (e.Fault()) {
      case BankCodeFault::File:
        throw;
      case BankCodeFault::IbanRuleUnknown:
        if (fRulesMissingReported) return false;
        fRulesMissingReported = true;
        issue.kind = DtausToSepaIssueKind::NoIbanRules;
        issue.place = {};
        issue.field.clear();
        issue.text = _MsgConvertNoIbanRules;
        break;
      case BankCodeFault::AccountForm:
        issue.field = prefix + "konto";
        break;
      default:
        break;
    }
    Add(std::move(issue));
    return false;
  }
}

void DtausRecordConversion::CheckDate(const DtausHeader& header, DtausSepaDocument& doc) {
  if (fSettings.executionDate) {
    doc.date = *fSettings.executionDate;
    return;
  }
  const bool stated = header.ausfuehrungsdatum.has_value();
  doc.date = stated ? *header.ausfuehrungsdatum : header.dateidatum;
  if (doc.date >= fToday) return;
  DtausToSepaIssue issue = At(
      DtausToSepaIssueKind::PastDate, header.place, stated ? "ausfuehrungsdatum" : "dateidatum",
      Fill(stated ? _MsgConvertPastExecution : _MsgConvertPastFileDate, {SepaIsoDate(doc.date)}));
  issue.date = doc.date;
  issue.fileDate = !stated;
  Add(std::move(issue));
}

DtausSepaDocument DtausRecordConversion::Open(const DtausHeader& header, std::size_t number,
                                              bool numbered) {
  DtausSepaDocument doc;
  doc.place = header.place;
  if (header.waehrung == DtausCurrency::DM) {
    Add(At(DtausToSepaIssueKind::DmFile, header.place, "waehrung", _MsgConvertDm));
    doc.usable = false;
  }
  SepaSettings& s = doc.settings;
  s.kind = header.lastschriften ? SepaKind::DirectDebit : SepaKind::CreditTransfer;
  s.version = fSettings.version;
  s.strict = fSettings.strict;
  s.messageId = fSettings.messageId;
  if (!s.messageId.empty() && numbered) s.messageId += "-" + std::to_string(number);
  // DTAUS names are in capitals; they stay as the bank has them.
  s.account.name = header.auftraggeber.name;
  if (!fSettings.clientIban.empty()) {
    s.account.iban = fSettings.clientIban;
  } else if (!FindAccount({header.auftraggeber.blz, header.auftraggeber.konto}, header.place,
                          "auftraggeber.", s.account)) {
    s.account.iban = kStandInIban;
  }
  if (!fSettings.clientBic.empty()) s.account.bic = fSettings.clientBic;
  if (header.lastschriften) {
    s.creditorId = fSettings.creditorId;
    if (s.creditorId.empty()) {
      Add(At(DtausToSepaIssueKind::NoCreditorId, header.place, "glaeubigerId",
             _MsgConvertNoCreditorId));
      s.creditorId = kStandInCreditorId;
    }
  }
  CheckDate(header, doc);
  return doc;
}

void DtausRecordConversion::CheckScheme(const DtausPayment& p, const DtausKey* key,
                                        DtausSepaDocument& doc) {
  const std::string& code = p.zahlungsschluessel;
  if (key == nullptr || !IsDebit(key->kind)) {
    DtausToSepaIssue issue = At(DtausToSepaIssueKind::NotADebitKey, p.place, "zahlungsschluessel",
                                Fill(_MsgConvertNotADebitKey, {code, DebitKeysText()}));
    issue.key = code;
    Add(std::move(issue));
    return;
  }
  const SepaInstrument instrument =
      key->sepaScheme == "B2B" ? SepaInstrument::B2B : SepaInstrument::Core;
  if (doc.firstDebitKey.empty()) {
    doc.firstDebitKey = code;
    doc.firstDebitPlace = p.place;
    doc.settings.instrument = instrument;
  } else if (instrument != doc.settings.instrument) {
    DtausToSepaIssue issue =
        At(DtausToSepaIssueKind::TwoSchemes, p.place, "zahlungsschluessel",
           Fill(_MsgConvertTwoSchemes, {SchemeText(code), DtausRecordText(doc.firstDebitPlace),
                                        SchemeText(doc.firstDebitKey)}));
    issue.key = code;
    issue.firstKey = doc.firstDebitKey;
    issue.firstPlace = doc.firstDebitPlace;
    Add(std::move(issue));
  }
}

void DtausRecordConversion::FindMandate(const DtausPayment& p, bool found, SepaPayment& out) {
  const MandateRow* mandate =
      fMandates ? fMandates->Find({p.blz, p.konto}, out.counterparty.iban) : nullptr;
  if (mandate) {
    out.mandateId = mandate->id;
    out.mandateSigned = mandate->signedOn;
    out.group.sequence = mandate->sequence;
    return;
  }
  const std::string iban = found ? out.counterparty.iban : std::string();
  DtausToSepaIssue issue =
      At(DtausToSepaIssueKind::NoMandate, p.place, "mandat",
         fMandates
             ? Fill(_MsgConvertNoMandate, {std::to_string(p.blz), std::to_string(p.konto),
                                           iban.empty() ? std::string() : " (IBAN " + iban + ")"})
             : std::string(_MsgConvertNoMandateTable));
  issue.account = {p.blz, p.konto};
  issue.iban = iban;
  issue.mandateTable = fMandates != nullptr;
  Add(std::move(issue));
}

bool DtausRecordConversion::Convert(const DtausPayment& p, DtausSepaDocument& doc,
                                    SepaPayment& out) {
  const std::size_t before = fFaults;
  // Field by field rather than anew, so that its texts keep their room.
  out.group = SepaGroup{.date = doc.date};
  out.cents = p.betrag;
  Join(p.name, p.namenszusatz, out.counterparty.name);
  Join({}, p.verwendungszweck, out.remittance);
  out.endToEndId.clear();
  out.mandateId.clear();
  out.mandateSigned.reset();
  out.purposeCode.clear();
  // The key's two digits say what the payment is for (53: salary -> SALA).
  const DtausKey* known = FindDtausKey(p.zahlungsschluessel);
  if (known != nullptr) out.purposeCode = known->sepaPurpose;
  const bool found = FindAccount({p.blz, p.konto}, p.place, "", out.counterparty);
  if (!found) {
    out.counterparty.iban.clear();
    out.counterparty.bic.clear();
  }
  for (const std::string& line : p.auftraggeberzusatz) {
    const std::string_view text = TrimmedView(line);
    if (text.empty()) continue;
    Add(At(DtausToSepaIssueKind::TextDropped, p.place, "auftraggeberzusatz",
           Fill(_MsgConvertTextDropped, {PrintableText(text)})));
  }
  if (doc.settings.kind == SepaKind::DirectDebit) {
    CheckScheme(p, known, doc);
    FindMandate(p, found, out);
  }
  return found && fFaults == before;
}

}  // namespace zor::detail
