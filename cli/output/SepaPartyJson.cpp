#include "output/SepaPartyJson.h"

#include "zordta/entry/SepaPartyKeys.h"

namespace zcli {

namespace {

using json = nlohmann::ordered_json;

json Address(const zor::SepaPostalAddress& address) {
  json out = json::object();
  for (const zor::entry::SepaAddressKey& k : zor::entry::kSepaAddressKeys) {
    if (!(address.*k.member).empty()) out[k.key] = address.*k.member;
  }
  if (!address.lines.empty()) out[zor::entry::kSepaAddressLinesKey] = address.lines;
  return out;
}

json PartyId(const zor::SepaPartyId& id) {
  json out = {{"art", std::string(zor::entry::SepaIdKindWord(id.kind))}};
  if (!id.id.empty()) out["id"] = id.id;
  if (!id.schemeCode.empty()) out["schema_code"] = id.schemeCode;
  if (!id.schemeProprietary.empty()) out["schema_name"] = id.schemeProprietary;
  if (!id.issuer.empty()) out["aussteller"] = id.issuer;
  return out;
}

void AddAddressAndId(const zor::SepaPostalAddress& address, const zor::SepaPartyId& id, json& out) {
  if (zor::FormOf(address) != zor::SepaAddressForm::None) out["anschrift"] = Address(address);
  if (id.kind != zor::SepaIdKind::None) out["kennung"] = PartyId(id);
}

// A party of a name alone is its name.
json Party(const zor::SepaParty& party) {
  if (zor::FormOf(party.address) == zor::SepaAddressForm::None &&
      party.id.kind == zor::SepaIdKind::None) {
    return party.name;
  }
  json out = json::object();
  if (!party.name.empty()) out["name"] = party.name;
  AddAddressAndId(party.address, party.id, out);
  return out;
}

void AddAmendment(const zor::SepaMandateAmendment& a, json& out) {
  json amendment = json::object();
  if (!a.amended) amendment["geaendert"] = false;
  const std::pair<const char*, const std::string*> texts[] = {
      {"alte_mandat_id", &a.originalMandateId},
      {"alter_glaeubiger_name", &a.originalCreditorName},
      {"alte_glaeubiger_id", &a.originalCreditorId},
      {"alte_iban", &a.originalDebtorIban}};
  for (const auto& [key, text] : texts) {
    if (!text->empty()) amendment[key] = *text;
  }
  if (a.newDebtorAgent) amendment["neue_bank"] = true;
  out["mandatsaenderung"] = std::move(amendment);
}

}  // namespace

const char* SepaVersionWord(zor::SepaVersion version) {
  switch (version) {
    case zor::SepaVersion::German:
      return "alt";
    case zor::SepaVersion::Iso2009:
      return "2009";
    case zor::SepaVersion::Current:
      break;
  }
  return "aktuell";
}

void AddSepaAccountExtras(const zor::SepaAccount& account, json& out) {
  AddAddressAndId(account.address, account.id, out);
}

void AddSepaSettingsExtras(const zor::SepaDocument& d, const zor::SepaBlock& b, json& out) {
  if (d.initiatingPartyId.kind != zor::SepaIdKind::None) {
    out["einreicher_kennung"] = PartyId(d.initiatingPartyId);
  }
  if (!b.ultimateParty.Empty()) {
    out[d.kind == zor::SepaKind::DirectDebit ? "endempfaenger" : "endzahler"] =
        Party(b.ultimateParty);
  }
  if (!b.categoryPurpose.empty()) out["kategorie"] = b.categoryPurpose;
  if (b.instant) out["echtzeit"] = true;
  if (b.paymentTypePerTransaction) out["zahlungsart_je_buchung"] = true;
}

void AddSepaPaymentExtras(const zor::SepaPayment& p, json& out) {
  if (!p.instructionId.empty()) out["anweisungs_id"] = p.instructionId;
  if (!p.uetr.empty()) out["uetr"] = p.uetr;
  if (!p.creditorReference.reference.empty()) {
    out["glaeubigerreferenz"] = p.creditorReference.reference;
  }
  if (!p.creditorReference.issuer.empty()) {
    out["glaeubigerreferenz_aussteller"] = p.creditorReference.issuer;
  }
  if (!p.categoryPurpose.empty()) out["kategorie"] = p.categoryPurpose;
  if (!p.ultimateDebtor.Empty()) out["endzahler"] = Party(p.ultimateDebtor);
  if (!p.ultimateCreditor.Empty()) out["endempfaenger"] = Party(p.ultimateCreditor);
  if (!p.creditorId.empty()) out["glaeubiger_id"] = p.creditorId;
  if (p.amendment) AddAmendment(*p.amendment, out);
  if (p.group.blockSettings > 0) out["konto"] = p.group.blockSettings;
  out["zahlungsinfo_id"] = p.group.paymentInfoId;
}

}  // namespace zcli
