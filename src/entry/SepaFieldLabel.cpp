// The input's names of the fields the library names by their XML elements.
#include <string_view>

#include "zordta/entry/SepaInput.h"
#include "zordta/entry/SepaPartyKeys.h"

namespace zor::entry {

namespace {

// A party's element under its key: the account's and the counterparty's own,
// the ultimate parties', the initiating party's.
std::string PartyLabel(const std::string& element, bool settings) {
  const std::size_t slash = element.find('/');
  if (slash == std::string::npos) return {};
  const std::string_view party = std::string_view(element).substr(0, slash);
  const std::string key = SepaPartyKeyOf(std::string_view(element).substr(slash + 1));
  if (key.empty()) return {};
  if (party == "InitgPty") return key == "name" ? "einreicher" : "einreicher_kennung";
  if (party == "UltmtDbtr") return "endzahler." + key;
  if (party == "UltmtCdtr") return "endempfaenger." + key;
  if (party == "Cdtr" || party == "Dbtr") return settings ? "auftraggeber." + key : key;
  return {};
}

// The elements of a mandate's amendment.
std::string AmendmentLabel(const std::string& element) {
  if (!element.starts_with("MndtRltdInf/AmdmntInfDtls") && element != "MndtRltdInf") return {};
  const auto ends = [&element](std::string_view tail) { return element.ends_with(tail); };
  if (ends("OrgnlMndtId")) return "mandatsaenderung.alte_mandat_id";
  if (ends("OrgnlCdtrSchmeId/Nm")) return "mandatsaenderung.alter_glaeubiger_name";
  if (ends("OrgnlCdtrSchmeId/Id")) return "mandatsaenderung.alte_glaeubiger_id";
  if (ends("OrgnlDbtrAcct")) return "mandatsaenderung.alte_iban";
  return "mandatsaenderung";
}

}  // namespace

std::string SepaFieldLabel(const std::string& element, bool settings) {
  if (std::string key = PartyLabel(element, settings); !key.empty()) return key;
  const auto ends = [&element](std::string_view tail) { return element.ends_with(tail); };
  if (ends("PmtTpInf/CtgyPurp/Cd")) return "kategorie";
  if (settings) {
    if (ends("MsgId")) return "nachricht_id";
    if (ends("IBAN")) return "auftraggeber.iban";
    if (ends("FinInstnId")) return "auftraggeber.bic";
    if (ends("CdtrSchmeId")) return "glaeubiger_id";
    if (ends("PmtTpInf/LclInstrm/Cd")) return "echtzeit";
    if (ends("PmtTpInf")) return "zahlungsart_je_buchung";
    return element;
  }
  if (std::string key = AmendmentLabel(element); !key.empty()) return key;
  if (ends("IBAN")) return "iban";
  if (ends("FinInstnId")) return "bic";
  if (ends("ReqdDt")) return "datum";
  if (ends("InstdAmt") || ends("CtrlSum")) return "betrag";
  if (ends("EndToEndId")) return "ende_zu_ende_id";
  if (ends("InstrId")) return "anweisungs_id";
  if (ends("UETR")) return "uetr";
  if (ends("PmtInfId")) return "zahlungsinfo_id";
  if (element == "PmtInf") return "konto";
  if (ends("Ustrd")) return "verwendungszweck";
  if (ends("CdtrRefInf/Tp/Issr")) return "glaeubigerreferenz_aussteller";
  if (element.find("CdtrRefInf") != std::string::npos) return "glaeubigerreferenz";
  if (ends("CdtrSchmeId")) return "glaeubiger_id";
  if (ends("MndtId")) return "mandat_id";
  if (ends("DtOfSgntr")) return "mandat_datum";
  if (ends("Purp/Cd")) return "zweck";
  return element;
}

void AddSepaRefusal(const zor::SepaError& e, const std::string& where, bool settings,
                    Diagnostics& errors, const KeyLabel& label) {
  const auto add = [&](const zor::SepaError& refusal) {
    const std::string field = SepaFieldLabel(refusal.Place().field, settings);
    // A further account's settings are placed at their entry of the job.
    const std::size_t block = refusal.Place().blockSettings;
    if (block > 0) {
      errors.Add(where + ", weitere_konten[" + std::to_string(block) + "]", field, refusal.Text());
      return;
    }
    errors.Add(where, label ? label(field) : field, refusal.Text());
  };
  add(e);
  for (const zor::SepaError& further : e.Further()) add(further);
}

}  // namespace zor::entry
