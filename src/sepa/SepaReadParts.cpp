#include "sepa/SepaReadParts.h"

#include "core/MessageFill.h"
#include "sepa/SepaParts.h"
#include "sepa/SepaReadMessages.h"
#include "zordta/Printable.h"

namespace zor::detail {

namespace {

using namespace msgsepaRead;

std::string Quoted(std::string_view text) {
  return "„" + PrintableText(text) + "“";
}

}  // namespace

std::string SepaPartsReader::Filled(std::string_view name) {
  std::string text = fXml.Text(name);
  if (text.empty()) {
    fXml.Fail(SepaReadFault::Value, fXml.Line(), Fill(_MsgReadEmpty, {Quoted(name)}));
  }
  return text;
}

void SepaPartsReader::Code(std::string_view name, std::string_view code) {
  const std::string text = fXml.Text(name);
  if (text != code) {
    fXml.Fail(SepaReadFault::Value, fXml.Line(),
              Fill(_MsgReadCode, {Quoted(text)}) + Quoted(code) + ".");
  }
}

void SepaPartsReader::Address(SepaPostalAddress& out) {
  out = {};
  if (!fXml.At("PstlAdr")) return;
  fXml.Open("PstlAdr");
  if (fSchema.edition2019) {
    for (const SepaAddressField& f : kSepaAddressFields) {
      if (fXml.At(f.element)) out.*f.member = Filled(f.element);
    }
  }
  if (fXml.At("Ctry")) out.country = Filled("Ctry");
  while (fXml.At("AdrLine")) out.lines.push_back(Filled("AdrLine"));
  fXml.Close();
}

void SepaPartsReader::Othr(SepaPartyId& out) {
  fXml.Open("Othr");
  out.id = Filled("Id");
  if (fXml.At("SchmeNm")) {
    fXml.Open("SchmeNm");
    if (fXml.At("Cd")) {
      out.schemeCode = Filled("Cd");
    } else {
      out.schemeProprietary = Filled("Prtry");
    }
    fXml.Close();
  }
  if (fXml.At("Issr")) out.issuer = Filled("Issr");
  fXml.Close();
}

void SepaPartsReader::PartyId(SepaPartyId& out) {
  out = {};
  if (!fXml.At("Id")) return;
  fXml.Open("Id");
  if (fXml.At("PrvtId")) {
    fXml.Open("PrvtId");
    out.kind = SepaIdKind::Person;
    Othr(out);
  } else {
    fXml.Open("OrgId");
    const std::string_view bic = fSchema.edition2019 ? "AnyBIC" : "BICOrBEI";
    if (fXml.At(bic)) {
      out.kind = SepaIdKind::Bic;
      out.id = Filled(bic);
    } else if (fSchema.edition2019 && fXml.At("LEI")) {
      out.kind = SepaIdKind::Lei;
      out.id = Filled("LEI");
    } else {
      out.kind = SepaIdKind::Organisation;
      Othr(out);
    }
  }
  fXml.Close();
  fXml.Close();
}

void SepaPartsReader::Party(std::string_view element, SepaParty& out) {
  out = {};
  if (!fXml.At(element)) return;
  fXml.Open(element);
  if (fXml.At("Nm")) out.name = Filled("Nm");
  Address(out.address);
  PartyId(out.id);
  fXml.Close();
}

void SepaPartsReader::CreditorScheme(std::string& id) {
  fXml.Open("Id");
  fXml.Open("PrvtId");
  fXml.Open("Othr");
  id = Filled("Id");
  // Some producers leave the scheme's name out; the identifier's form says it
  // is SEPA's, and it is written with the name again.
  if (fXml.At("SchmeNm")) {
    fXml.Open("SchmeNm");
    Code("Prtry", "SEPA");
    fXml.Close();
  }
  for (int i = 0; i < 3; ++i) fXml.Close();
}

void SepaPartsReader::Remittance(std::string& text, SepaCreditorReference& reference) {
  text.clear();
  reference = {};
  if (!fXml.At("RmtInf")) return;
  fXml.Open("RmtInf");
  if (fXml.At("Ustrd")) {
    text = Filled("Ustrd");
  } else {
    fXml.Open("Strd");
    fXml.Open("CdtrRefInf");
    fXml.Open("Tp");
    fXml.Open("CdOrPrtry");
    Code("Cd", "SCOR");
    fXml.Close();
    if (fXml.At("Issr")) reference.issuer = Filled("Issr");
    fXml.Close();
    reference.reference = Filled("Ref");
    fXml.Close();
    fXml.Close();
  }
  fXml.Close();
}

void SepaPartsReader::Amendment(std::optional<SepaMandateAmendment>& out) {
  out.reset();
  if (!fXml.At("AmdmntInd") && !fXml.At("AmdmntInfDtls")) return;
  SepaMandateAmendment& a = out.emplace();
  if (fXml.At("AmdmntInd")) {
    const std::string flag = fXml.Text("AmdmntInd");
    if (flag != "true" && flag != "false" && flag != "1" && flag != "0") {
      fXml.Fail(SepaReadFault::Value, fXml.Line(),
                Fill(_MsgReadCode, {Quoted(flag)}) + Quoted("true") + ", " + Quoted("false") + ".");
    }
    a.amended = flag == "true" || flag == "1";
  }
  if (!fXml.At("AmdmntInfDtls")) return;
  fXml.Open("AmdmntInfDtls");
  if (fXml.At("OrgnlMndtId")) a.originalMandateId = Filled("OrgnlMndtId");
  if (fXml.At("OrgnlCdtrSchmeId")) {
    fXml.Open("OrgnlCdtrSchmeId");
    if (fXml.At("Nm")) a.originalCreditorName = Filled("Nm");
    if (fXml.At("Id")) CreditorScheme(a.originalCreditorId);
    fXml.Close();
  }
  if (fXml.At("OrgnlDbtrAcct")) {
    fXml.Open("OrgnlDbtrAcct");
    fXml.Open("Id");
    if (fSchema.smndaInAccount && fXml.At("Othr")) {
      fXml.Open("Othr");
      Code("Id", "SMNDA");
      fXml.Close();
      a.newDebtorAgent = true;
    } else {
      a.originalDebtorIban = Filled("IBAN");
    }
    fXml.Close();
    fXml.Close();
  }
  if (!fSchema.smndaInAccount && fXml.At("OrgnlDbtrAgt")) {
    fXml.Open("OrgnlDbtrAgt");
    fXml.Open("FinInstnId");
    fXml.Open("Othr");
    Code("Id", "SMNDA");
    fXml.Close();
    fXml.Close();
    fXml.Close();
    a.newDebtorAgent = true;
  }
  fXml.Close();
}

}  // namespace zor::detail
