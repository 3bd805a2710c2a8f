#include "output/SepaCsvExtras.h"

#include <algorithm>
#include <cstring>

#include "output/PaymentListing.h"

namespace zcli {

const char* const kSepaCsvExtraHeader =
    ",strasse,hausnummer,plz,ort,land,glaeubigerreferenz,endempfaenger,endzahler,kategorie";

namespace {

// An address the five columns carry whole.
bool InColumns(const zor::SepaPostalAddress& a) {
  zor::SepaPostalAddress columns;
  columns.street = a.street;
  columns.buildingNumber = a.buildingNumber;
  columns.postCode = a.postCode;
  columns.town = a.town;
  columns.country = a.country;
  return columns == a;
}

// A party the CSV carries: its name alone.
bool NameOnly(const zor::SepaParty& party) {
  return zor::FormOf(party.address) == zor::SepaAddressForm::None &&
         party.id.kind == zor::SepaIdKind::None;
}

}  // namespace

void AppendSepaCsvExtras(std::string& text, const zor::SepaPayment& p) {
  const zor::SepaPostalAddress& a = p.counterparty.address;
  for (const std::string* cell : {&a.street, &a.buildingNumber, &a.postCode, &a.town, &a.country,
                                  &p.creditorReference.reference, &p.ultimateCreditor.name,
                                  &p.ultimateDebtor.name, &p.categoryPurpose}) {
    text += ',';
    text += CsvCell(*cell);
  }
}

void SepaJsonOnly::Note(const zor::SepaDocument& d, const zor::SepaBlock& b) {
  if (!InColumns(b.account.address)) Add("auftraggeber.anschrift");
  if (b.account.id.kind != zor::SepaIdKind::None) Add("auftraggeber.kennung");
  if (d.initiatingPartyId.kind != zor::SepaIdKind::None) Add("einreicher_kennung");
  if (!b.ultimateParty.Empty()) {
    Add(d.kind == zor::SepaKind::DirectDebit ? "endempfaenger" : "endzahler");
  }
  if (!b.categoryPurpose.empty()) Add("kategorie");
  if (b.group.blockSettings > 0) Add("weitere_konten");
  fPerTransaction = fPerTransaction || b.paymentTypePerTransaction;
}

void SepaJsonOnly::Note(const zor::SepaPayment& p) {
  if (!InColumns(p.counterparty.address)) Add("anschrift");
  if (p.counterparty.id.kind != zor::SepaIdKind::None) Add("kennung");
  if (!p.instructionId.empty()) Add("anweisungs_id");
  if (!p.uetr.empty()) Add("uetr");
  if (!p.creditorReference.issuer.empty()) Add("glaeubigerreferenz_aussteller");
  if (!NameOnly(p.ultimateDebtor)) Add("endzahler");
  if (!NameOnly(p.ultimateCreditor)) Add("endempfaenger");
  if (!p.creditorId.empty()) Add("glaeubiger_id");
  if (p.amendment) Add("mandatsaenderung");
  if (p.group.blockSettings > 0) Add("konto");
  fOwnCategory = fOwnCategory || !p.categoryPurpose.empty();
}

void SepaJsonOnly::Note(const SepaJsonOnly& later) {
  for (const char* key : later.fKeys) Add(key);
  fPerTransaction = fPerTransaction || later.fPerTransaction;
  fOwnCategory = fOwnCategory || later.fOwnCategory;
}

std::string SepaJsonOnly::Text() const {
  std::vector<const char*> keys = fKeys;
  if (fPerTransaction && !fOwnCategory) keys.push_back("zahlungsart_je_buchung");
  if (keys.empty()) return {};
  std::string text = "Nur die JSON-Ausgabe (--format json) enthält auch: ";
  for (std::size_t i = 0; i < keys.size(); ++i) {
    text += (i == 0 ? "" : ", ") + std::string(keys[i]);
  }
  return text + ".";
}

void SepaJsonOnly::Add(const char* key) {
  const bool known = std::any_of(fKeys.begin(), fKeys.end(),
                                 [key](const char* k) { return std::strcmp(k, key) == 0; });
  if (!known) fKeys.push_back(key);
}

}  // namespace zcli
