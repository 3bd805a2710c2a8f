#include "zordta/entry/SepaPartyKeys.h"

#include "core/MessageFill.h"
#include "entry/RowMessages.h"
#include "zordta/Printable.h"
#include "zordta/entry/Dtazv.h"
#include "zordta/entry/Values.h"

namespace zor::entry {

using zor::detail::Fill;

namespace {

constexpr std::array<const char*, 4> kIdMembers{"id", "schema_code", "schema_name", "aussteller"};

struct IdKindWord {
  zor::SepaIdKind kind;
  std::string_view word;
};
constexpr std::array<IdKindWord, 4> kIdKindWords{{{zor::SepaIdKind::Bic, "bic"},
                                                  {zor::SepaIdKind::Lei, "lei"},
                                                  {zor::SepaIdKind::Organisation, "organisation"},
                                                  {zor::SepaIdKind::Person, "person"}}};

std::string Lower(std::string_view text) {
  std::string out = Trimmed(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  for (std::size_t at = 0; at <= text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    lines.push_back(Trimmed(text.substr(at, end - at)));
    at = end + 1;
  }
  return lines;
}

}  // namespace

std::string_view SepaIdKindWord(zor::SepaIdKind kind) noexcept {
  for (const IdKindWord& k : kIdKindWords) {
    if (k.kind == kind) return k.word;
  }
  return {};
}

std::vector<std::string> SepaAddressKeys(const std::string& prefix) {
  std::vector<std::string> keys;
  for (const SepaAddressKey& k : kSepaAddressKeys) keys.push_back(prefix + k.key);
  keys.push_back(prefix + kSepaAddressLinesKey);
  return keys;
}

std::vector<std::string> SepaPartyIdKeys(const std::string& prefix) {
  std::vector<std::string> keys{prefix + "art"};
  for (const char* member : kIdMembers) keys.push_back(prefix + member);
  return keys;
}

std::vector<std::string> SepaPartyKeys(const std::string& prefix) {
  std::vector<std::string> keys = SepaAddressKeys(prefix + "anschrift.");
  for (std::string& key : SepaPartyIdKeys(prefix + "kennung.")) keys.push_back(std::move(key));
  keys.push_back(prefix + "name");
  return keys;
}

zor::SepaPostalAddress ReadSepaAddress(const SepaValueOf& value, const std::string& prefix) {
  zor::SepaPostalAddress address;
  for (const SepaAddressKey& k : kSepaAddressKeys) address.*k.member = value(prefix + k.key);
  // The schemes know country codes in capitals only.
  address.country = AsciiUpper(address.country);
  address.lines = Lines(value(prefix + kSepaAddressLinesKey));
  return address;
}

zor::SepaPartyId ReadSepaPartyId(const SepaValueOf& value, const std::string& prefix,
                                 const std::string& where, const KeyLabel& label,
                                 Diagnostics& errors) {
  zor::SepaPartyId id;
  id.id = value(prefix + "id");
  id.schemeCode = value(prefix + "schema_code");
  id.schemeProprietary = value(prefix + "schema_name");
  id.issuer = value(prefix + "aussteller");
  const std::string word = Lower(value(prefix + "art"));
  if (word.empty()) return id;
  for (const IdKindWord& k : kIdKindWords) {
    if (k.word == word) id.kind = k.kind;
  }
  if (id.kind == zor::SepaIdKind::None) {
    errors.Add(where, label(prefix + "art"),
               Fill(_MsgRowNotOneOf, {zor::PrintableText(value(prefix + "art")),
                                      "bic, lei, organisation oder person"}));
  }
  // A BIC or an LEI is written in capitals.
  if (id.kind == zor::SepaIdKind::Bic || id.kind == zor::SepaIdKind::Lei) {
    id.id = CompactIdentifier(id.id);
  }
  return id;
}

zor::SepaParty ReadSepaParty(const SepaValueOf& value, const std::string& prefix,
                             const std::string& where, const KeyLabel& label, Diagnostics& errors) {
  zor::SepaParty party;
  party.name = value(prefix + "name");
  party.address = ReadSepaAddress(value, prefix + "anschrift.");
  party.id = ReadSepaPartyId(value, prefix + "kennung.", where, label, errors);
  return party;
}

std::string SepaPartyKeyOf(std::string_view element) {
  if (element == "Nm") return "name";
  if (element.starts_with("Id")) return "kennung";
  if (element == "PstlAdr") return "anschrift";
  if (!element.starts_with("PstlAdr/")) return {};
  const std::string_view part = element.substr(8);
  if (part == "AdrLine") return std::string("anschrift.") + kSepaAddressLinesKey;
  for (const SepaAddressKey& k : kSepaAddressKeys) {
    if (part == k.element) return std::string("anschrift.") + k.key;
  }
  return "anschrift";
}

}  // namespace zor::entry
