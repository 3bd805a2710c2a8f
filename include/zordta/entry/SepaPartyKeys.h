// The keys of a SEPA party as a job, a table and "sepa read" name them: the
// address ("anschrift": {"ort", ...}), the identification ("kennung": {"art",
// "id", ...}) and a party of name, address and identification. A party's keys
// stand under a prefix: "auftraggeber.anschrift.ort", "endzahler.kennung.id".
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "zordta/Config.h"
#include "zordta/SepaParty.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/SettingReader.h"

namespace zor::entry {

struct SepaAddressKey {
  std::string zor::SepaPostalAddress::*member;
  const char* key;      ///< "ort"
  const char* element;  ///< "TwnNm"
};

/// In the order of the schema; the address lines are kSepaAddressLinesKey.
inline constexpr std::array<SepaAddressKey, 14> kSepaAddressKeys{{
    {&zor::SepaPostalAddress::department, "abteilung", "Dept"},
    {&zor::SepaPostalAddress::subDepartment, "unterabteilung", "SubDept"},
    {&zor::SepaPostalAddress::street, "strasse", "StrtNm"},
    {&zor::SepaPostalAddress::buildingNumber, "hausnummer", "BldgNb"},
    {&zor::SepaPostalAddress::buildingName, "gebaeude", "BldgNm"},
    {&zor::SepaPostalAddress::floor, "stockwerk", "Flr"},
    {&zor::SepaPostalAddress::postBox, "postfach", "PstBx"},
    {&zor::SepaPostalAddress::room, "raum", "Room"},
    {&zor::SepaPostalAddress::postCode, "plz", "PstCd"},
    {&zor::SepaPostalAddress::town, "ort", "TwnNm"},
    {&zor::SepaPostalAddress::townLocation, "ortsteil", "TwnLctnNm"},
    {&zor::SepaPostalAddress::district, "bezirk", "DstrctNm"},
    {&zor::SepaPostalAddress::countrySubDivision, "region", "CtrySubDvsn"},
    {&zor::SepaPostalAddress::country, "land", "Ctry"},
}};
inline constexpr const char* kSepaAddressLinesKey = "adresszeilen";

/// "bic", "lei", "organisation" or "person"; empty for None.
ZORDTA_API std::string_view SepaIdKindWord(zor::SepaIdKind kind) noexcept;

/// The keys of an address, an identification or a party under `prefix`
/// ("anschrift.ort", ...), the address lines among them.
ZORDTA_API std::vector<std::string> SepaAddressKeys(const std::string& prefix);
ZORDTA_API std::vector<std::string> SepaPartyIdKeys(const std::string& prefix);
ZORDTA_API std::vector<std::string> SepaPartyKeys(const std::string& prefix);

/// The text of a key; empty when it is not given. A list is one item a line.
using SepaValueOf = std::function<std::string_view(const std::string& key)>;

/// The address under `prefix` ("anschrift."), taken as given.
ZORDTA_API zor::SepaPostalAddress ReadSepaAddress(const SepaValueOf& value,
                                                  const std::string& prefix);
/// The identification under `prefix` ("kennung."); a kind that is none of the
/// four words is reported at `label(prefix + "art")`.
ZORDTA_API zor::SepaPartyId ReadSepaPartyId(const SepaValueOf& value, const std::string& prefix,
                                            const std::string& where, const KeyLabel& label,
                                            Diagnostics& errors);
/// Name, address and identification under `prefix` ("endzahler.").
ZORDTA_API zor::SepaParty ReadSepaParty(const SepaValueOf& value, const std::string& prefix,
                                        const std::string& where, const KeyLabel& label,
                                        Diagnostics& errors);

/// The key of an element of a party ("PstlAdr/TwnNm" -> "anschrift.ort",
/// "Id/OrgId/LEI" -> "kennung", "Nm" -> "name"); empty for another element.
ZORDTA_API std::string SepaPartyKeyOf(std::string_view element);

}  // namespace zor::entry
