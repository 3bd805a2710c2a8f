#include "payments/DtausToSepa.h"

#include <cstdio>
#include <utility>

#include "io/MessageText.h"
#include "io/Values.h"
#include "payments/SepaInput.h"
#include "zordta/DtausKeys.h"
#include "zordta/host/SysUtils.h"

namespace zcli {

namespace {

// A debit's scheme, from the key's two digits; none for a credit or no key.
std::optional<zor::SepaInstrument> DebitInstrument(const zor::DtausKey* key) {
  if (key == nullptr || !zor::IsDebit(key->kind)) return std::nullopt;
  return key->sepaScheme == "B2B" ? zor::SepaInstrument::B2B : zor::SepaInstrument::Core;
}

// "04000 (Abbuchungsauftrag: B2B)".
std::string SchemeText(std::string_view key) {
  const zor::DtausKey* known = zor::FindDtausKey(key);
  return std::string(key) + " (" + std::string(known->name) + ": " +
         std::string(known->sepaScheme) + ")";
}

// "04 Abbuchungsauftrag oder 05 Einzugsermächtigung".
std::string DebitKeysText() {
  std::string text;
  for (const zor::DtausKey& key : zor::kDtausKeys) {
    if (!zor::IsDebit(key.kind)) continue;
    if (!text.empty()) text += " oder ";
    text += std::string(key.code) + " " + std::string(key.name);
  }
  return text;
}

// DTAUS text lines become one SEPA text, as sepa write joins its purpose
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

}  // namespace

SepaDocument DtausToSepa::Open(const zor::DtausHeader& header, std::size_t number, bool numbered,
                               Diagnostics& errors, Diagnostics& warnings) {
  SepaDocument doc;
  doc.place = header.place;
  const RecordWhere where(header.place);
  if (header.waehrung == zor::DtausCurrency::DM) {
    errors.Add(where(), "waehrung",
               "Die logische Datei lautet auf DM; SEPA-Zahlungen gibt es nur in Euro.");
    doc.usable = false;
  }
  zor::SepaSettings& s = doc.settings;
  s.kind = header.lastschriften ? zor::SepaKind::DirectDebit : zor::SepaKind::CreditTransfer;
  s.version = fSettings.version;
  s.strict = fSettings.strict;
  s.messageId = fSettings.messageId;
  if (!s.messageId.empty() && numbered) s.messageId += "-" + std::to_string(number);
  // DTAUS names are in capitals; they stay as the bank has them.
  s.account.name = header.auftraggeber.name;
  if (!fSettings.clientIban.empty()) {
    s.account.iban = fSettings.clientIban;
  } else if (!fAccounts.Find(header.auftraggeber.blz, header.auftraggeber.konto, where,
                             "auftraggeber.", errors, warnings, s.account)) {
    s.account.iban = kStandInIban;
  }
  if (!fSettings.clientBic.empty()) s.account.bic = fSettings.clientBic;
  if (header.lastschriften) {
    s.creditorId = fSettings.creditorId;
    if (s.creditorId.empty()) {
      errors.Add(where(), "--glaeubiger-id",
                 "Die Gläubiger-Identifikationsnummer fehlt; Lastschriften brauchen sie.");
      s.creditorId = kStandInCreditorId;
    }
  }

  if (fSettings.executionDate) {
    doc.date = *fSettings.executionDate;
    return doc;
  }
  const bool stated = header.ausfuehrungsdatum.has_value();
  doc.date = stated ? *header.ausfuehrungsdatum : header.dateidatum;
  if (doc.date < SepaDate(zor::Date())) {
    errors.Add(where(), stated ? "ausfuehrungsdatum" : "dateidatum",
               (stated ? "Das Ausführungsdatum " + FormatIsoDate(doc.date)
                       : "Kein Ausführungsdatum, und das Dateidatum " + FormatIsoDate(doc.date)) +
                   " liegt vor heute; mit --ausfuehrung DATUM ein neues Ausführungsdatum "
                   "angeben.");
  }
  return doc;
}

bool DtausToSepa::Convert(const zor::DtausPayment& p, SepaDocument& doc, zor::SepaPayment& out,
                          Diagnostics& errors, Diagnostics& warnings) {
  const std::size_t before = errors.Count();
  const RecordWhere where(p.place);
  // Field by field rather than anew, so that its texts keep their room.
  out.group = zor::SepaGroup{.date = doc.date};
  out.cents = p.betrag;
  Join(p.name, p.namenszusatz, out.counterparty.name);
  Join({}, p.verwendungszweck, out.remittance);
  out.endToEndId.clear();
  out.mandateId.clear();
  out.mandateSigned.reset();
  out.purposeCode.clear();
  // The key's two digits say what the payment is for (53: salary -> SALA).
  const std::string& key = p.zahlungsschluessel;
  const zor::DtausKey* known = zor::FindDtausKey(key);
  if (known != nullptr) out.purposeCode = known->sepaPurpose;
  const bool found = fAccounts.Find(p.blz, p.konto, where, "", errors, warnings, out.counterparty);
  if (!found) {
    out.counterparty.iban.clear();
    out.counterparty.bic.clear();
  }
  for (const std::string& line : p.auftraggeberzusatz) {
    if (Trimmed(line).empty()) continue;
    warnings.Add(where(), "auftraggeberzusatz",
                 Quoted(Trimmed(line)) + " hat in der SEPA-Datei keinen Platz und entfällt.");
  }
  if (doc.settings.kind == zor::SepaKind::CreditTransfer) return found && errors.Count() == before;

  if (const std::optional<zor::SepaInstrument> instrument = DebitInstrument(known); !instrument) {
    errors.Add(where(), "zahlungsschluessel",
               "Der Zahlungsschlüssel " + key + " ist keiner für Lastschriften (" +
                   DebitKeysText() + ").");
  } else if (doc.firstDebitKey.empty()) {
    doc.firstDebitKey = key;
    doc.firstDebitWhere = where();
    doc.settings.instrument = *instrument;
  } else if (*instrument != doc.settings.instrument) {
    errors.Add(where(), "zahlungsschluessel",
               "Schlüssel " + SchemeText(key) + ", die erste Lastschrift der logischen Datei, " +
                   doc.firstDebitWhere + ", hat Schlüssel " + SchemeText(doc.firstDebitKey) +
                   ". Ein SEPA-Dokument hat ein Verfahren: die Lastschriften auf zwei "
                   "logische Dateien verteilen.");
  }
  const zor::MandateRow* mandate =
      fSettings.mandates ? fSettings.mandates->Find({p.blz, p.konto}, out.counterparty.iban)
                         : nullptr;
  if (!mandate) {
    errors.Add(where(), "mandat",
               fSettings.mandates
                   ? "Kein Mandat für BLZ " + std::to_string(p.blz) + ", Konto " +
                         std::to_string(p.konto) +
                         (found ? " (IBAN " + out.counterparty.iban + ")" : std::string()) +
                         " in " + fSettings.mandatesName + "."
                   : std::string("Kein Mandat: Lastschriften brauchen eine Mandatsliste "
                                 "(--mandate DATEI)."));
  } else {
    out.mandateId = mandate->id;
    out.mandateSigned = mandate->signedOn;
    out.group.sequence = mandate->sequence;
  }
  return found && errors.Count() == before;
}

}  // namespace zcli
