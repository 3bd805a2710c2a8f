// The reader's side of addresses, identifications, parties, structured
// references and mandate amendments: each read as SepaParts.h writes it, the
// element asked for by name, so that anything else is refused where it stands.
// Their values are checked afterwards by the writer's own checks.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sepa/SepaSchema.h"
#include "sepa/SepaXmlPull.h"
#include "zordta/SepaParty.h"

namespace zor::detail {

class SepaPartsReader {
 public:
  SepaPartsReader(SepaXmlPull& xml, const SepaSchema& schema) : fXml(xml), fSchema(schema) {}

  /// PstlAdr, where it stands; else an empty address.
  void Address(SepaPostalAddress& out);
  /// Id (OrgId or PrvtId), where it stands.
  void PartyId(SepaPartyId& out);
  /// The party `element` (UltmtDbtr, ...), where it stands.
  void Party(std::string_view element, SepaParty& out);
  /// Inside CdtrSchmeId or OrgnlCdtrSchmeId: Id/PrvtId/Othr with the scheme SEPA.
  void CreditorScheme(std::string& id);
  /// RmtInf, where it stands: the unstructured text or the creditor reference.
  void Remittance(std::string& text, SepaCreditorReference& reference);
  /// AmdmntInd and AmdmntInfDtls after a mandate's date, where they stand.
  void Amendment(std::optional<SepaMandateAmendment>& out);

 private:
  std::string Filled(std::string_view name);
  void Code(std::string_view name, std::string_view code);
  void Othr(SepaPartyId& out);

  SepaXmlPull& fXml;
  const SepaSchema& fSchema;
};

}  // namespace zor::detail
