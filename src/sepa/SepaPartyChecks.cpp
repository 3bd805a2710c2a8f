#include "sepa/SepaPartyChecks.h"

#include <algorithm>
#include <array>

#include "core/MessageFill.h"
#include "sepa/SepaMessages.h"
#include "sepa/SepaParts.h"
#include "sepa/SepaValues.h"
#include "zordta/Bic.h"
#include "zordta/CreditorReference.h"
#include "zordta/Iban.h"
#include "zordta/IsoCodes.h"
#include "zordta/Printable.h"
#include "zordta/SepaCountries.h"

namespace zor::detail {

namespace {

using namespace msgsepa;

bool IsCapitalOrDigit(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// What a check needs besides the value: the document, where the value stands
// and where warnings go.
struct Context {
  const SepaSettings& settings;
  SepaBlockFacts block;
  const SepaSchema& schema;
  std::size_t ordinal;
  const SepaWarn& warn;
  SepaRefusals& refusals;

  SepaSpot Spot(const std::string& field) const { return {ordinal, field}; }
  [[noreturn]] void Refuse(SepaFault fault, const std::string& field, std::string text) const {
    SepaRefuse(fault, {ordinal, field}, std::move(text));
  }
  void VersionLacks(const std::string& field) const {
    refusals.Run(
        [&] { Refuse(SepaFault::Version, field, Fill(_MsgSepaVersionLacks, {schema.Message()})); });
  }
};

// A text of at most `maxChars`, transliterated or cut as any text is. Made in
// `out`'s own storage, which a check reused from payment to payment keeps.
void Text(const Context& c, const std::string& in, std::size_t maxChars, std::string_view field,
          std::string& out) {
  out.clear();
  if (in.empty()) return;
  c.refusals.Run([&] {
    std::string room;
    out.assign(SepaText(in, maxChars, c.settings.strict, {c.ordinal, field}, c.warn, room));
  });
}

// An identification is never changed: a changed one names someone else.
void ExactText(const Context& c, const std::string& in, const std::string& field,
               std::string& out) {
  out.clear();
  if (in.empty()) return;
  c.refusals.Run([&] {
    std::string room;
    out.assign(SepaText(in, 35, true, {c.ordinal, field}, {}, room));
  });
}

// "Cdtr/PstlAdr/StrtNm": the path of an element, made on the stack, since a
// check names it only when it warns or refuses.
class ElementPath {
 public:
  ElementPath(std::string_view party, std::string_view element) {
    for (const std::string_view piece : {party, std::string_view("/PstlAdr/"), element}) {
      const std::size_t take = std::min(piece.size(), sizeof fText - fSize);
      piece.copy(fText + fSize, take);
      fSize += take;
    }
  }
  operator std::string_view() const { return {fText, fSize}; }

 private:
  char fText[64];
  std::size_t fSize = 0;
};

// Empties an address, each of its texts keeping its storage.
void Clear(SepaPostalAddress& address) {
  for (const auto& f : kSepaAddressFields) (address.*f.member).clear();
  address.country.clear();
  address.lines.clear();
}

using AddressField = SepaAddressField;
constexpr const auto& kAddressFields = kSepaAddressFields;

std::string Joined(const std::string& a, const std::string& b) {
  return a.empty() || b.empty() ? a + b : a + " " + b;
}

// The older versions know a country and two lines: street and number, post
// code and town become the lines of an address that has none.
void OlderAddress(const Context& c, const SepaPostalAddress& in, const std::string& party,
                  SepaPostalAddress& out) {
  const bool others = std::any_of(kAddressFields.begin(), kAddressFields.end(), [&](auto& f) {
    return f.member != &SepaPostalAddress::street &&
           f.member != &SepaPostalAddress::buildingNumber &&
           f.member != &SepaPostalAddress::postCode && f.member != &SepaPostalAddress::town &&
           !(in.*f.member).empty();
  });
  std::vector<std::string> lines = in.lines;
  std::erase(lines, std::string());
  const bool composed =
      !in.street.empty() || !in.buildingNumber.empty() || !in.postCode.empty() || !in.town.empty();
  if (others || (composed && !lines.empty()) || lines.size() > 2) {
    c.refusals.Run([&] {
      c.Refuse(SepaFault::Version, party + "/PstlAdr",
               Fill(_MsgSepaOldAddress, {c.schema.Message()}));
    });
    return;
  }
  if (composed) {
    for (std::string line : {Joined(in.street, in.buildingNumber), Joined(in.postCode, in.town)}) {
      if (!line.empty()) lines.push_back(std::move(line));
    }
  }
  out.lines.resize(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Text(c, lines[i], 70, party + "/PstlAdr/AdrLine", out.lines[i]);
  }
}

void Address(const Context& c, const SepaPostalAddress& in, const std::string& party,
             SepaPostalAddress& out) {
  Clear(out);
  if (FormOf(in) == SepaAddressForm::None) return;
  out.country.assign(in.country);
  if (!in.country.empty() && !IsCountryCode(in.country)) {
    c.refusals.Run([&] {
      c.Refuse(SepaFault::Address, party + "/PstlAdr/Ctry",
               Fill(_MsgSepaAddressCountry, {PrintableText(in.country)}));
    });
  }
  if (!c.schema.edition2019) {
    OlderAddress(c, in, party, out);
    return;
  }
  for (const AddressField& f : kAddressFields) {
    if ((in.*f.member).empty()) continue;  // names the field only for what is there
    Text(c, in.*f.member, f.maxChars, ElementPath(party, f.element), out.*f.member);
  }
  out.lines.clear();
  for (const std::string& line : in.lines) {
    if (line.empty()) continue;
    out.lines.emplace_back();
    Text(c, line, 70, ElementPath(party, "AdrLine"), out.lines.back());
  }
  for (const SepaAddressIssue& issue : SepaAddressIssues(out)) {
    // A country that is none was named above; a missing one is named here.
    if (issue.element == "PstlAdr/Ctry" && !out.country.empty()) continue;
    c.refusals.Run([&] { c.Refuse(SepaFault::Address, party + "/" + issue.element, issue.text); });
  }
}

// ISO 17442: 18 capitals or digits and two check digits of ISO 7064 MOD 97-10.
bool IsLei(std::string_view lei) {
  if (lei.size() != 20 || !std::all_of(lei.begin(), lei.end(), IsCapitalOrDigit)) return false;
  int remainder = 0;
  for (const char ch : lei) {
    if (ch >= '0' && ch <= '9') {
      remainder = (remainder * 10 + (ch - '0')) % 97;
    } else {
      remainder = (remainder * 100 + (ch - 'A' + 10)) % 97;
    }
  }
  return remainder == 1 && lei[18] >= '0' && lei[18] <= '9' && lei[19] >= '0' && lei[19] <= '9';
}

void PartyId(const Context& c, const SepaPartyId& in, const std::string& party, SepaPartyId& out) {
  out = {};
  out.kind = in.kind;
  const bool other = in.kind == SepaIdKind::Organisation || in.kind == SepaIdKind::Person;
  const std::string field = party + "/Id";
  switch (in.kind) {
    case SepaIdKind::None:
      if (!in.id.empty() || !in.schemeCode.empty() || !in.schemeProprietary.empty() ||
          !in.issuer.empty()) {
        c.refusals.Run([&] {
          c.Refuse(SepaFault::Party, field, Fill(_MsgSepaIdKindMissing, {SepaQuoted(in.id)}));
        });
      }
      return;
    case SepaIdKind::Bic:
      out.id = in.id;
      if (!IsSepaBic(in.id, c.schema)) {
        c.refusals.Run(
            [&] { c.Refuse(SepaFault::Party, field, Fill(_MsgSepaIdBic, {SepaQuoted(in.id)})); });
      }
      break;
    case SepaIdKind::Lei:
      out.id = in.id;
      if (!c.schema.edition2019) c.VersionLacks(field + "/OrgId/LEI");
      if (!IsLei(in.id)) {
        c.refusals.Run(
            [&] { c.Refuse(SepaFault::Party, field, Fill(_MsgSepaIdLei, {SepaQuoted(in.id)})); });
      }
      break;
    case SepaIdKind::Organisation:
    case SepaIdKind::Person:
      if (in.id.empty()) {
        c.refusals.Run([&] { c.Refuse(SepaFault::Party, field, _MsgSepaIdEmpty); });
      }
      ExactText(c, in.id, field, out.id);
      break;
  }
  if (!other) {
    if (!in.schemeCode.empty() || !in.schemeProprietary.empty() || !in.issuer.empty()) {
      c.refusals.Run([&] { c.Refuse(SepaFault::Party, field, _MsgSepaIdNoOther); });
    }
    return;
  }
  const bool codeForm = in.schemeCode.size() <= 4 &&
                        std::all_of(in.schemeCode.begin(), in.schemeCode.end(), IsCapitalOrDigit);
  if (!codeForm) {
    c.refusals.Run([&] {
      c.Refuse(SepaFault::Party, field, Fill(_MsgSepaIdScheme, {SepaQuoted(in.schemeCode)}));
    });
  }
  if (!in.schemeCode.empty() && !in.schemeProprietary.empty()) {
    c.refusals.Run([&] { c.Refuse(SepaFault::Party, field, _MsgSepaIdSchemeBoth); });
  }
  out.schemeCode = in.schemeCode;
  ExactText(c, in.schemeProprietary, field, out.schemeProprietary);
  ExactText(c, in.issuer, field, out.issuer);
}

// An ultimate or initiating party: a name, an address where the version has
// one for it, an identification.
void Party(const Context& c, const SepaParty& in, const std::string& party, bool addressKnown,
           SepaParty& out) {
  out = {};
  if (in.Empty()) return;
  Text(c, in.name, 70, party + "/Nm", out.name);
  if (FormOf(in.address) != SepaAddressForm::None) {
    if (addressKnown) {
      Address(c, in.address, party, out.address);
    } else {
      c.VersionLacks(party + "/PstlAdr");
    }
  }
  PartyId(c, in.id, party, out.id);
}

void CreditorIdValue(const Context& c, const std::string& id, const std::string& field) {
  if (!CheckCreditorId(id)) {
    c.refusals.Run([&] {
      c.Refuse(SepaFault::CreditorId, field, Fill(_MsgSepaCreditorIdDigits, {SepaQuoted(id)}));
    });
  }
}

void Reference(const Context& c, const SepaPayment& p, SepaCreditorReference& out) {
  out = {};
  const SepaCreditorReference& in = p.creditorReference;
  const std::string field = "RmtInf/Strd/CdtrRefInf/Ref";
  if (in.reference.empty()) {
    if (!in.issuer.empty()) {
      c.refusals.Run([&] { c.Refuse(SepaFault::Reference, field, _MsgSepaReferenceIssuerAlone); });
    }
    return;
  }
  if (!p.remittance.empty()) {
    c.refusals.Run([&] { c.Refuse(SepaFault::Reference, field, _MsgSepaReferenceAndText); });
  }
  const bool iso11649 =
      in.reference.size() >= 2 && (in.reference[0] == 'R') && (in.reference[1] == 'F');
  if (iso11649) {
    const std::string problem = CreditorReferenceProblem(in.reference);
    if (!problem.empty()) {
      c.refusals.Run([&] { c.Refuse(SepaFault::Reference, field, problem); });
    }
  }
  ExactText(c, in.reference, field, out.reference);
  ExactText(c, in.issuer, "RmtInf/Strd/CdtrRefInf/Tp/Issr", out.issuer);
}

void Amendment(const Context& c, const SepaPayment& p, std::optional<SepaMandateAmendment>& out) {
  out.reset();
  if (!p.amendment) return;
  const SepaMandateAmendment& in = *p.amendment;
  SepaMandateAmendment& a = out.emplace();
  a.amended = in.amended;
  const std::string field = "MndtRltdInf/AmdmntInfDtls";
  const bool details = !in.originalMandateId.empty() || !in.originalCreditorName.empty() ||
                       !in.originalCreditorId.empty() || !in.originalDebtorIban.empty() ||
                       in.newDebtorAgent;
  if (!in.amended) {
    if (details) {
      c.refusals.Run([&] { c.Refuse(SepaFault::Party, field, _MsgSepaAmendmentNone); });
    }
    return;
  }
  if (!details) {
    c.refusals.Run([&] { c.Refuse(SepaFault::Party, field, _MsgSepaAmendmentEmpty); });
  }
  if (!in.originalMandateId.empty()) {
    c.refusals.Run(
        [&] { CheckSepaIdentifier(in.originalMandateId, false, c.Spot(field + "/OrgnlMndtId")); });
  }
  a.originalMandateId = in.originalMandateId;
  Text(c, in.originalCreditorName, 70, field + "/OrgnlCdtrSchmeId/Nm", a.originalCreditorName);
  a.originalCreditorId = in.originalCreditorId;
  if (!in.originalCreditorId.empty()) {
    CreditorIdValue(c, in.originalCreditorId, field + "/OrgnlCdtrSchmeId/Id");
  }
  std::string room;
  a.originalDebtorIban = std::string(SepaNormalIban(in.originalDebtorIban, room));
  if (!in.originalDebtorIban.empty()) {
    if (!CheckIBAN(a.originalDebtorIban).IsValid()) {
      c.refusals.Run([&] {
        c.Refuse(SepaFault::Iban, field + "/OrgnlDbtrAcct",
                 Fill(_MsgSepaIban, {SepaQuoted(in.originalDebtorIban)}));
      });
    }
  }
  a.newDebtorAgent = in.newDebtorAgent;
  // pain.008.001.02 states the new bank where the account would stand.
  if (in.newDebtorAgent && c.schema.smndaInAccount && !in.originalDebtorIban.empty()) {
    c.VersionLacks(field + "/OrgnlDbtrAcct");
  }
}

void DebitParts(const Context& c, const SepaPayment& p, SepaCheckedExtras& out) {
  const bool debits = c.settings.kind == SepaKind::DirectDebit;
  if (!debits) {
    if (!p.creditorId.empty() || p.amendment) {
      c.refusals.Run([&] {
        c.Refuse(SepaFault::Version, p.amendment ? "MndtRltdInf" : "CdtrSchmeId",
                 _MsgSepaTransferOnlyDebit);
      });
    }
    return;
  }
  out.creditorId = p.creditorId;
  if (!p.creditorId.empty()) {
    CreditorIdValue(c, p.creditorId, "DrctDbtTx/CdtrSchmeId");
    if (!c.block.creditorId.empty() && c.block.creditorId != p.creditorId) {
      c.refusals.Run([&] {
        c.Refuse(SepaFault::Party, "DrctDbtTx/CdtrSchmeId",
                 Fill(_MsgSepaCreditorIdContradicts,
                      {SepaQuoted(p.creditorId), SepaQuoted(c.block.creditorId)}));
      });
    }
  }
  Amendment(c, p, out.amendment);
}

}  // namespace

void CheckSepaAddress24(const SepaPostalAddress& in, const std::string& party, std::size_t ordinal,
                        bool strict, const SepaWarn& warn, SepaPostalAddress& out,
                        SepaRefusals& refusals) {
  // Settings made once: an address is checked per transfer.
  static const SepaSettings loose;
  static const SepaSettings exact = [] {
    SepaSettings s;
    s.strict = true;
    return s;
  }();
  const Context c{strict ? exact : loose,
                  {},
                  SepaSchemaOf(SepaKind::CreditTransfer, SepaVersion::Current),
                  ordinal,
                  warn,
                  refusals};
  Address(c, in, party, out);
}

bool IsSepaUetr(std::string_view uetr) {
  if (uetr.size() != 36) return false;
  for (std::size_t i = 0; i < uetr.size(); ++i) {
    const char ch = uetr[i];
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (ch != '-') return false;
    } else if (!((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f'))) {
      return false;
    }
  }
  return uetr[14] == '4' &&
         (uetr[19] == '8' || uetr[19] == '9' || uetr[19] == 'a' || uetr[19] == 'b');
}

}  // namespace zor::detail

namespace zor {

bool HasSepaExtras(const SepaPayment& p) noexcept {
  return FormOf(p.counterparty.address) != SepaAddressForm::None ||
         p.counterparty.id.kind != SepaIdKind::None || !p.instructionId.empty() ||
         !p.uetr.empty() || !p.categoryPurpose.empty() || !p.ultimateDebtor.Empty() ||
         !p.ultimateCreditor.Empty() || !p.creditorReference.reference.empty() ||
         !p.creditorReference.issuer.empty() || !p.creditorId.empty() || p.amendment.has_value();
}

}  // namespace zor

namespace zor::detail {

void CheckSepaAddressNeeded(std::string_view iban, const SepaPostalAddress& address,
                            std::size_t ordinal, std::string_view party) {
  const std::string_view country = iban.substr(0, 2);
  if (SepaAreaOf(country) != SepaArea::OutsideEea) return;
  // The older versions carry the town in an address line.
  if (!address.country.empty() && (!address.town.empty() || !address.lines.empty())) return;
  SepaRefuse(SepaFault::Address, {ordinal, std::string(party) + "/PstlAdr"},
             Fill(_MsgSepaAddressNeeded, {SepaQuoted(iban), country}));
}

void CheckSepaExtras(const SepaSettings& settings, const SepaBlockFacts& block,
                     const SepaPayment& payment, std::size_t ordinal, const SepaWarn& warn,
                     SepaCheckedExtras& out, SepaRefusals& refusals) {
  const Context c{settings, block, SepaSchemaOf(settings.kind, settings.version),
                  ordinal,  warn,  refusals};
  const bool debits = settings.kind == SepaKind::DirectDebit;
  const std::string counterparty = debits ? "Dbtr" : "Cdtr";
  Address(c, payment.counterparty.address, counterparty, out.address);
  PartyId(c, payment.counterparty.id, counterparty, out.id);
  out.instructionId = payment.instructionId;
  if (!payment.instructionId.empty()) {
    refusals.Run([&] { CheckSepaIdentifier(payment.instructionId, true, {ordinal, "InstrId"}); });
  }
  out.uetr = payment.uetr;
  if (!payment.uetr.empty()) {
    if (!c.schema.edition2019) c.VersionLacks("PmtId/UETR");
    if (!IsSepaUetr(payment.uetr)) {
      refusals.Run([&] {
        c.Refuse(SepaFault::Identifier, "PmtId/UETR",
                 Fill(_MsgSepaUetr, {SepaQuoted(payment.uetr)}));
      });
    }
  }
  out.categoryPurpose = payment.categoryPurpose;
  if (!payment.categoryPurpose.empty()) {
    if (debits) {
      c.VersionLacks("PmtTpInf/CtgyPurp/Cd");
    } else if (block.instant) {
      refusals.Run([&] {
        c.Refuse(SepaFault::Version, "PmtTpInf/CtgyPurp/Cd", _MsgSepaInstantPerTransaction);
      });
    } else if (!IsSepaPurposeCode(payment.categoryPurpose)) {
      refusals.Run([&] {
        c.Refuse(SepaFault::Purpose, "PmtTpInf/CtgyPurp/Cd",
                 Fill(_MsgSepaCategoryPurpose, {SepaQuoted(payment.categoryPurpose)}));
      });
    }
  }
  Party(c, payment.ultimateDebtor, "UltmtDbtr", c.schema.edition2019, out.ultimateDebtor);
  Party(c, payment.ultimateCreditor, "UltmtCdtr", c.schema.edition2019, out.ultimateCreditor);
  Reference(c, payment, out.reference);
  DebitParts(c, payment, out);
}

void CheckSepaBlockParts(const SepaSettings& settings, const SepaBlockSettings& block,
                         const SepaWarn& warn, SepaCheckedBlockParts& out, SepaRefusals& refusals) {
  const Context c{settings, {}, SepaSchemaOf(settings.kind, settings.version), 0, warn, refusals};
  const bool debits = settings.kind == SepaKind::DirectDebit;
  const std::string own = debits ? "Cdtr" : "Dbtr";
  Address(c, block.account.address, own, out.address);
  // The older versions name a debit's creditor without an identification.
  if (debits && !c.schema.edition2019 && block.account.id.kind != SepaIdKind::None) {
    c.VersionLacks("Cdtr/Id");
  }
  PartyId(c, block.account.id, own, out.id);
  Party(c, block.ultimateParty, debits ? "UltmtCdtr" : "UltmtDbtr", c.schema.edition2019,
        out.ultimateParty);
  out.categoryPurpose = block.categoryPurpose;
  if (!block.categoryPurpose.empty() && !IsSepaPurposeCode(block.categoryPurpose)) {
    refusals.Run([&] {
      c.Refuse(SepaFault::Purpose, "PmtTpInf/CtgyPurp/Cd",
               Fill(_MsgSepaCategoryPurpose, {SepaQuoted(block.categoryPurpose)}));
    });
  }
  if (block.paymentTypePerTransaction && debits) c.VersionLacks("PmtTpInf");
  if (block.paymentTypePerTransaction && block.instant && !debits) {
    refusals.Run([&] {
      c.Refuse(SepaFault::Version, "PmtTpInf/LclInstrm/Cd", _MsgSepaInstantPerTransaction);
    });
  }
  if (block.instant && debits) {
    refusals.Run(
        [&] { c.Refuse(SepaFault::Version, "PmtTpInf/LclInstrm/Cd", _MsgSepaInstantDebit); });
  } else if (block.instant && !c.schema.edition2019) {
    c.VersionLacks("PmtTpInf/LclInstrm/Cd");
  }
}

void CheckSepaDocumentParts(const SepaSettings& settings, SepaPartyId& initiatingPartyId,
                            SepaRefusals& refusals) {
  const Context c{settings, {}, SepaSchemaOf(settings.kind, settings.version), 0, {}, refusals};
  PartyId(c, settings.initiatingPartyId, "InitgPty", initiatingPartyId);
}

}  // namespace zor::detail
