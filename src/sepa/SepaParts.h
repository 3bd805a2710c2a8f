// The elements of addresses, identifications and parties, in the order the
// schemas give them. The writer puts them through one of two sinks: libxml2's
// text writer for the group header and the blocks, the transaction's text for
// payments. A sink has Start(name), End() and Element(name, text); names are
// literals.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "sepa/SepaSchema.h"
#include "zordta/SepaParty.h"

namespace zor::detail {

struct SepaAddressField {
  std::string SepaPostalAddress::*member;
  std::string_view element;
  std::size_t maxChars;
};

/// The elements of PostalAddress24 before Ctry and AdrLine, in their order.
inline constexpr std::array<SepaAddressField, 13> kSepaAddressFields{{
    {&SepaPostalAddress::department, "Dept", 70},
    {&SepaPostalAddress::subDepartment, "SubDept", 70},
    {&SepaPostalAddress::street, "StrtNm", 70},
    {&SepaPostalAddress::buildingNumber, "BldgNb", 16},
    {&SepaPostalAddress::buildingName, "BldgNm", 35},
    {&SepaPostalAddress::floor, "Flr", 70},
    {&SepaPostalAddress::postBox, "PstBx", 16},
    {&SepaPostalAddress::room, "Room", 70},
    {&SepaPostalAddress::postCode, "PstCd", 16},
    {&SepaPostalAddress::town, "TwnNm", 35},
    {&SepaPostalAddress::townLocation, "TwnLctnNm", 35},
    {&SepaPostalAddress::district, "DstrctNm", 35},
    {&SepaPostalAddress::countrySubDivision, "CtrySubDvsn", 35},
}};

/// The creditor identifier's scheme: a private id of the proprietary scheme SEPA.
template <class Sink>
void WriteSepaCreditorScheme(Sink& out, std::string_view id) {
  out.Start("Id");
  out.Start("PrvtId");
  out.Start("Othr");
  out.Element("Id", id);
  out.Start("SchmeNm");
  out.Element("Prtry", "SEPA");
  out.End();
  out.End();
  out.End();
  out.End();
}

/// An address as checked: the older versions' has only country and lines.
template <class Sink>
void WriteSepaAddress(Sink& out, const SepaPostalAddress& a) {
  if (FormOf(a) == SepaAddressForm::None) return;
  out.Start("PstlAdr");
  for (const SepaAddressField& f : kSepaAddressFields) {
    if (!(a.*f.member).empty()) out.Element(f.element, a.*f.member);
  }
  if (!a.country.empty()) out.Element("Ctry", a.country);
  for (const std::string& line : a.lines) out.Element("AdrLine", line);
  out.End();
}

template <class Sink>
void WriteSepaPartyId(Sink& out, const SepaSchema& schema, const SepaPartyId& id) {
  if (id.kind == SepaIdKind::None) return;
  out.Start("Id");
  out.Start(id.kind == SepaIdKind::Person ? "PrvtId" : "OrgId");
  switch (id.kind) {
    case SepaIdKind::Bic:
      out.Element(schema.edition2019 ? "AnyBIC" : "BICOrBEI", id.id);
      break;
    case SepaIdKind::Lei:
      out.Element("LEI", id.id);
      break;
    default:
      out.Start("Othr");
      out.Element("Id", id.id);
      if (!id.schemeCode.empty() || !id.schemeProprietary.empty()) {
        out.Start("SchmeNm");
        if (id.schemeCode.empty()) {
          out.Element("Prtry", id.schemeProprietary);
        } else {
          out.Element("Cd", id.schemeCode);
        }
        out.End();
      }
      if (!id.issuer.empty()) out.Element("Issr", id.issuer);
      out.End();
      break;
  }
  out.End();
  out.End();
}

/// A party without account (initiating, ultimate); nothing for an empty one.
template <class Sink>
void WriteSepaParty(Sink& out, const SepaSchema& schema, std::string_view element,
                    const SepaParty& party) {
  if (party.Empty()) return;
  out.Start(element);
  if (!party.name.empty()) out.Element("Nm", party.name);
  WriteSepaAddress(out, party.address);
  WriteSepaPartyId(out, schema, party.id);
  out.End();
}

}  // namespace zor::detail
