#include "zordta/entry/SepaInput.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <type_traits>
#include <utility>
#include "core/MessageFill.h"
#include "entry/EntryMessages.h"
#include "entry/RowMessages.h"
#include "zordta/Printable.h"

#include "entry/AmountField.h"
#include "zordta/PaymentValues.h"
#include "zordta/entry/Dtazv.h"
#include "zordta/entry/PaymentRun.h"
#include "zordta/entry/SepaPartyKeys.h"
#include "zordta/entry/Values.h"
#include "zordta/host/SysUtils.h"

namespace zor::entry {

using zor::detail::Fill;

namespace {

// A requested date before today is refused by every bank; a later one is the
// bank's to judge.
std::string PastDateProblem(zor::TDate date) {
  if (date >= zor::Date()) return {};
  return Fill(_MsgRowPastDate, {FormatIsoDate(date)});
}

// A choice of words, case aside; an unknown one is reported and changes nothing.
template <class Value>
void Choice(const std::map<std::string, std::string>& values, const std::string& key,
            const std::string& where, const KeyLabel& label,
            const std::map<std::string, Value>& words, const std::string& wordsText, Value& target,
            Diagnostics& errors) {
  const auto it = values.find(key);
  if (it == values.end()) return;
  std::string word = Trimmed(it->second);
  for (char& c : word) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  const auto found = words.find(word);
  if (found == words.end()) {
    errors.Add(where, label(key),
               Fill(_MsgRowNotOneOf, {zor::PrintableText(it->second), wordsText}));
    return;
  }
  target = found->second;
}

// Empties a part of the payment the row before filled. A string keeps its
// storage, and a part already empty is left alone: a payment has dozens of
// strings, most rows fill a handful, and rebuilding it whole cost more than
// reading the row.
void Empty(std::string& text) {
  text.clear();
}
template <class Part>
void Empty(Part& part) {
  // Compared with one blank made once: a blank party of some twenty strings,
  // made and dropped for each row, cost more than reading its fields.
  static const Part kBlank{};
  if (!(part == kBlank)) part = Part{};
}
template <class... Parts>
void EmptyAll(Parts&... parts) {
  (Empty(parts), ...);
}

// The fields taken over as they are; what they must be is checked apart. Every
// field of the payment is set or emptied here, so nothing of the row before stays.
void TakeAsGiven(const InputRecord& r, zor::SepaPayment& p) {
  p.group = {};
  EmptyAll(p.counterparty.address, p.counterparty.id, p.mandateId, p.mandateSigned, p.purposeCode,
           p.instructionId, p.categoryPurpose, p.uetr, p.ultimateDebtor, p.ultimateCreditor,
           p.creditorReference, p.creditorId, p.amendment, p.remittance);
  p.cents = 0;
  p.counterparty.name = r.Get("name");
  CompactIdentifierInto(r.Get("iban"), p.counterparty.iban);
  CompactIdentifierInto(r.Get("bic"), p.counterparty.bic);
  p.endToEndId = r.Get("ende_zu_ende_id");
  // Lines of a purpose make one text in a SEPA file.
  for (const std::string& line : r.purpose) {
    const std::string_view text = TrimmedView(line);
    if (text.empty()) continue;
    if (!p.remittance.empty()) p.remittance += ' ';
    p.remittance += text;
  }
}

// The library refuses a wrong IBAN or BIC without saying which part is wrong.
void CheckCounterparty(const zor::SepaAccount& account, const std::string& where,
                       Diagnostics& errors) {
  if (account.iban.empty()) {
    errors.Add(where, "iban", _MsgEntryNoIban);
  } else if (std::string problem = zor::IbanProblemText(account.iban); !problem.empty()) {
    errors.Add(where, "iban", std::move(problem));
  }
  if (!account.bic.empty()) {
    if (std::string problem = zor::BicProblemText(account.bic); !problem.empty()) {
      errors.Add(where, "bic", std::move(problem));
    }
  }
  if (Trimmed(account.name).empty()) errors.Add(where, "name", _MsgRowNoName);
}

// A purpose code from the ISO list, written as the banks take it: in capitals.
void ReadPurposeCode(const InputRecord& r, zor::SepaPayment& p, Diagnostics& errors) {
  const std::string_view zweck = r.Get("zweck");
  if (zweck.empty()) return;
  p.purposeCode = AsciiUpper(Trimmed(zweck));
  const bool letters =
      p.purposeCode.size() == 4 && std::all_of(p.purposeCode.begin(), p.purposeCode.end(),
                                               [](char c) { return c >= 'A' && c <= 'Z'; });
  if (!letters) {
    errors.Add(r.where, "zweck", Fill(_MsgRowNotAPurposeCode, {zor::PrintableText(zweck)}));
  }
}

// A payment's own date; without one, or with one refused, the run's.
std::chrono::year_month_day RequestedDate(const InputRecord& r,
                                          const std::chrono::year_month_day& runDate,
                                          Diagnostics& errors) {
  const std::string_view datum = r.Get("datum");
  if (datum.empty()) return runDate;
  const std::optional<zor::TDate> date = ParseDate(datum);
  if (!date) {
    errors.Add(r.where, "datum", Fill(_MsgRowNotADate, {zor::PrintableText(datum)}));
  } else if (std::string problem = PastDateProblem(*date); !problem.empty()) {
    errors.Add(r.where, "datum", std::move(problem));
  } else {
    return SepaDate(*date);
  }
  return runDate;
}

// A mandate given with a transfer points to a run meant as direct debits.
void RefuseMandate(const InputRecord& r, Diagnostics& errors) {
  for (const char* field : {"mandat_id", "mandat_datum", "sequenz"}) {
    if (!r.Get(field).empty()) {
      errors.Add(r.where, field, _MsgRowDebitsOnly);
    }
  }
}

// A debit needs the mandate's reference and the day it was signed, which
// cannot lie ahead.
void ReadMandate(const InputRecord& r, zor::SepaPayment& p, Diagnostics& errors) {
  const std::string_view mandatId = r.Get("mandat_id");
  const std::string_view mandatDatum = r.Get("mandat_datum");
  p.mandateId = mandatId;
  if (mandatId.empty()) errors.Add(r.where, "mandat_id", _MsgRowNoMandateId);
  if (mandatDatum.empty()) {
    errors.Add(r.where, "mandat_datum", _MsgRowNoMandateDate);
  } else if (const std::optional<zor::TDate> date = ParseDate(mandatDatum); !date) {
    errors.Add(r.where, "mandat_datum", Fill(_MsgRowNotADate, {zor::PrintableText(mandatDatum)}));
  } else if (*date > zor::Date()) {
    errors.Add(r.where, "mandat_datum", Fill(_MsgRowMandateAhead, {FormatIsoDate(*date)}));
  } else {
    p.mandateSigned = SepaDate(*date);
  }
}

void ReadSequence(const InputRecord& r, zor::SepaPayment& p, Diagnostics& errors) {
  const std::string_view sequenz = r.Get("sequenz");
  if (sequenz.empty()) {
    errors.Add(r.where, "sequenz", _MsgRowNoSequence);
  } else if (const std::optional<zor::SepaSequence> sequence = zor::SepaSequenceOf(sequenz)) {
    p.group.sequence = *sequence;
  } else {
    errors.Add(r.where, "sequenz", Fill(_MsgRowNotASequence, {zor::PrintableText(sequenz)}));
  }
}

// A flag of a job, true or false already; the default where none is given.
bool FlagOf(std::string_view text, bool otherwise) {
  return text.empty() ? otherwise : ParseBool(text).value_or(otherwise);
}

void ReadAmendment(const InputRecord& r, zor::SepaPayment& p) {
  if (!r.HasFieldsUnder("mandatsaenderung.")) return;
  const auto get = [&r](const char* key) { return r.Get(std::string("mandatsaenderung.") + key); };
  constexpr std::array<const char*, 6> kKeys{
      "geaendert",          "alte_mandat_id", "alter_glaeubiger_name",
      "alte_glaeubiger_id", "alte_iban",      "neue_bank"};
  if (std::all_of(kKeys.begin(), kKeys.end(), [&](const char* key) { return get(key).empty(); })) {
    return;
  }
  zor::SepaMandateAmendment& a = p.amendment.emplace();
  a.amended = FlagOf(get("geaendert"), true);
  a.originalMandateId = get("alte_mandat_id");
  a.originalCreditorName = get("alter_glaeubiger_name");
  a.originalCreditorId = CompactIdentifier(get("alte_glaeubiger_id"));
  a.originalDebtorIban = CompactIdentifier(get("alte_iban"));
  a.newDebtorAgent = FlagOf(get("neue_bank"), false);
}

// What a payment may carry beyond account, amount and references; the library
// checks it.
void ReadExtras(const InputRecord& r, zor::SepaPayment& p, Diagnostics& errors) {
  const SepaValueOf value = [&r](const std::string& key) { return r.Get(key); };
  const KeyLabel same = [](const std::string& key) { return key; };
  // Most rows carry none of the groups: each is read only where one of its keys stands.
  if (r.HasFieldsUnder("anschrift.")) p.counterparty.address = ReadSepaAddress(value, "anschrift.");
  if (r.HasFieldsUnder("kennung.")) {
    p.counterparty.id = ReadSepaPartyId(value, "kennung.", r.where, same, errors);
  }
  p.instructionId = r.Get("anweisungs_id");
  p.uetr = r.Get("uetr");
  // A UUID is written in small letters.
  for (char& c : p.uetr) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  p.categoryPurpose = AsciiUpper(r.Get("kategorie"));
  if (r.HasFieldsUnder("endzahler.")) {
    p.ultimateDebtor = ReadSepaParty(value, "endzahler.", r.where, same, errors);
  }
  if (r.HasFieldsUnder("endempfaenger.")) {
    p.ultimateCreditor = ReadSepaParty(value, "endempfaenger.", r.where, same, errors);
  }
  p.creditorReference.reference = r.Get("glaeubigerreferenz");
  p.creditorReference.issuer = r.Get("glaeubigerreferenz_aussteller");
  p.creditorId = CompactIdentifier(r.Get("glaeubiger_id"));
  p.group.paymentInfoId = r.Get("zahlungsinfo_id");
  if (const std::string_view account = r.Get("konto"); !account.empty()) {
    const std::optional<std::int64_t> number = ParseDigits(account);
    if (!number || *number < 1) {
      errors.Add(r.where, "konto", _MsgRowBlockNumber);
    } else {
      p.group.blockSettings = static_cast<std::size_t>(*number);
    }
  }
  ReadAmendment(r, p);
}

// The keys a block of a further account takes; the others are the file's.
bool BlockKey(const std::string& key) {
  for (const char* prefix : {"auftraggeber.", "endzahler.", "endempfaenger."}) {
    if (key.rfind(prefix, 0) == 0) return true;
  }
  return key == "glaeubiger_id" || key == "kategorie" || key == "sammelbuchung" ||
         key == "echtzeit" || key == "zahlungsart_je_buchung" || key == "endzahler" ||
         key == "endempfaenger";
}

// "weitere_konten[2].auftraggeber.iban": the entries' settings, each read as
// the file's own and kept as a further block's.
void ApplyOtherBlocks(const std::map<std::string, std::string>& values, const std::string& where,
                      const KeyLabel& label, SepaEntrySettings& s, Diagnostics& errors) {
  const std::string list = SepaJobSchema().settingsList;
  std::map<std::size_t, std::map<std::string, std::string>> entries;
  for (const auto& [key, text] : values) {
    if (key.rfind(list + "[", 0) != 0) continue;
    const std::size_t close = key.find("].", list.size());
    if (close == std::string::npos) continue;
    const std::optional<std::int64_t> number =
        ParseDigits(std::string_view(key).substr(list.size() + 1, close - list.size() - 1));
    if (number) entries[static_cast<std::size_t>(*number)][key.substr(close + 2)] = text;
  }
  for (const auto& [number, entry] : entries) {
    const std::string place = where + ", " + list + "[" + std::to_string(number) + "]";
    for (const auto& [key, text] : entry) {
      if (!BlockKey(key)) errors.Add(place, key, _MsgRowWholeFileKey);
    }
    SepaEntrySettings block;
    block.library.kind = s.library.kind;
    block.library.version = s.library.version;
    ApplySepaSettings(entry, place, label, block, errors);
    s.library.otherBlocks.push_back(zor::SepaBlockSettingsOf(block.library, 0));
  }
}

// Whether a job or the options give any key of a group ("endzahler.").
bool HasGroup(const std::map<std::string, std::string>& values, const std::string& prefix) {
  const auto it = values.lower_bound(prefix);
  return it != values.end() && it->first.starts_with(prefix);
}

// The parties of the settings, each replaced only where keys of it are given.
void ApplySepaParties(const std::map<std::string, std::string>& values, const std::string& where,
                      const KeyLabel& label, zor::SepaSettings& s, Diagnostics& errors) {
  const SepaValueOf value = [&values](const std::string& key) -> std::string_view {
    const auto it = values.find(key);
    return it == values.end() ? std::string_view() : TrimmedView(it->second);
  };
  if (HasGroup(values, "auftraggeber.anschrift.")) {
    s.account.address = ReadSepaAddress(value, "auftraggeber.anschrift.");
  }
  if (HasGroup(values, "auftraggeber.kennung.")) {
    s.account.id = ReadSepaPartyId(value, "auftraggeber.kennung.", where, label, errors);
  }
  if (HasGroup(values, "einreicher_kennung.")) {
    s.initiatingPartyId = ReadSepaPartyId(value, "einreicher_kennung.", where, label, errors);
  }
  // Only one of the two is given: the other kind's is refused (FindSepaConflict).
  for (const char* prefix : {"endzahler.", "endempfaenger."}) {
    if (HasGroup(values, prefix))
      s.ultimateParty = ReadSepaParty(value, prefix, where, label, errors);
  }
}

// The schema's keys of a party under `prefix`, address lines as lists.
template <class Target>
void AddPartyKeys(const std::vector<std::string>& keys, Target& target) {
  for (const std::string& key : keys) {
    if constexpr (std::is_same_v<Target, std::map<std::string, JobValue>>) {
      target[key] = key.ends_with(kSepaAddressLinesKey) ? JobValue::kTextList : JobValue::kText;
    } else {
      target.insert(key);
    }
  }
}

}  // namespace

std::chrono::year_month_day SepaDate(zor::TDate date) {
  int year = 0;
  int month = 0;
  int day = 0;
  if (!zor::TryDecodeDate(date, year, month, day)) return {};
  return std::chrono::year_month_day{std::chrono::year(year),
                                     std::chrono::month(static_cast<unsigned>(month)),
                                     std::chrono::day(static_cast<unsigned>(day))};
}

const JobSchema& SepaJobSchema() {
  static const JobSchema schema = [] {
    JobSchema s{
        {{"art", JobValue::kText},
         {"lastschriften", JobValue::kFlag},
         {"auftraggeber.name", JobValue::kText},
         {"auftraggeber.iban", JobValue::kText},
         {"auftraggeber.bic", JobValue::kText},
         {"ausfuehrungsdatum", JobValue::kText},
         {"glaeubiger_id", JobValue::kText},
         {"lastart", JobValue::kText},
         {"version", JobValue::kText},
         {"sammelbuchung", JobValue::kFlag},
         {"nachricht_id", JobValue::kText},
         {"einreicher", JobValue::kText},
         {"kategorie", JobValue::kText},
         {"echtzeit", JobValue::kFlag},
         {"zahlungsart_je_buchung", JobValue::kFlag},
         {"dateiname", JobValue::kText},
         {"verzeichnis", JobValue::kText}},
        {"name", "iban", "bic", "betrag", "ende_zu_ende_id", "datum", "mandat_id", "mandat_datum",
         "sequenz", "zweck", "anweisungs_id", "uetr", "kategorie", "glaeubigerreferenz",
         "glaeubigerreferenz_aussteller", "glaeubiger_id", "zahlungsinfo_id", "konto"},
        // What "sepa read" adds: a file written anew gets its own.
        {"datei", "erstellt", "summen", "zahlungsbloecke"},
        {},
        false,
        false,
        {},
        {"endzahler", "endempfaenger"}};
    AddPartyKeys(SepaAddressKeys("auftraggeber.anschrift."), s.settings);
    AddPartyKeys(SepaPartyIdKeys("auftraggeber.kennung."), s.settings);
    AddPartyKeys(SepaPartyIdKeys("einreicher_kennung."), s.settings);
    AddPartyKeys(SepaPartyKeys("endzahler."), s.settings);
    AddPartyKeys(SepaPartyKeys("endempfaenger."), s.settings);
    for (const char* prefix : {"anschrift.", "endzahler.anschrift.", "endempfaenger.anschrift."}) {
      AddPartyKeys(SepaAddressKeys(prefix), s.paymentFields);
      s.paymentValues[std::string(prefix) + kSepaAddressLinesKey] = JobValue::kTextList;
    }
    for (const char* prefix : {"kennung.", "endzahler.kennung.", "endempfaenger.kennung."}) {
      AddPartyKeys(SepaPartyIdKeys(prefix), s.paymentFields);
    }
    s.paymentFields.insert({"endzahler.name", "endempfaenger.name"});
    for (const char* key : {"alte_mandat_id", "alter_glaeubiger_name", "alte_glaeubiger_id",
                            "alte_iban", "geaendert", "neue_bank"}) {
      s.paymentFields.insert(std::string("mandatsaenderung.") + key);
    }
    s.paymentValues["mandatsaenderung.geaendert"] = JobValue::kFlag;
    s.paymentValues["mandatsaenderung.neue_bank"] = JobValue::kFlag;
    s.settingsList = "weitere_konten";
    return s;
  }();
  return schema;
}

const CsvColumns& SepaCsvColumns() {
  static const CsvColumns columns{{{"name", "name"},
                                   {"iban", "iban"},
                                   {"bic", "bic"},
                                   {"betrag", "betrag"},
                                   {"endezuendeid", "ende_zu_ende_id"},
                                   {"datum", "datum"},
                                   {"mandatid", "mandat_id"},
                                   {"mandatdatum", "mandat_datum"},
                                   {"sequenz", "sequenz"},
                                   {"zweck", "zweck"},
                                   {"strasse", "anschrift.strasse"},
                                   {"hausnummer", "anschrift.hausnummer"},
                                   {"plz", "anschrift.plz"},
                                   {"ort", "anschrift.ort"},
                                   {"land", "anschrift.land"},
                                   {"glaeubigerreferenz", "glaeubigerreferenz"},
                                   {"endempfaenger", "endempfaenger.name"},
                                   {"endzahler", "endzahler.name"},
                                   {"kategorie", "kategorie"}},
                                  {"name", "iban", "betrag"}};
  return columns;
}

std::string DefaultSepaFileName(zor::SepaKind kind) {
  return kind == zor::SepaKind::DirectDebit ? "sepa-lastschriften.xml" : "sepa-ueberweisungen.xml";
}

void ApplySepaSettings(const std::map<std::string, std::string>& values, const std::string& where,
                       const KeyLabel& label, SepaEntrySettings& s, Diagnostics& errors) {
  SettingReader read(values, where, label, errors);
  read.Kind("sepa");
  bool debits = s.library.kind == zor::SepaKind::DirectDebit;
  read.Flag("lastschriften", debits);
  s.library.kind = debits ? zor::SepaKind::DirectDebit : zor::SepaKind::CreditTransfer;
  read.Text("auftraggeber.name", s.library.account.name);
  std::string iban;
  read.Text("auftraggeber.iban", iban);
  if (values.count("auftraggeber.iban")) s.library.account.iban = CompactIdentifier(iban);
  std::string bic;
  read.Text("auftraggeber.bic", bic);
  if (values.count("auftraggeber.bic")) s.library.account.bic = CompactIdentifier(bic);
  read.Date("ausfuehrungsdatum", s.ausfuehrung);
  std::string creditorId;
  read.Text("glaeubiger_id", creditorId);
  if (values.count("glaeubiger_id")) s.library.creditorId = CompactIdentifier(creditorId);
  Choice<zor::SepaInstrument>(
      values, "lastart", where, label,
      {{"core", zor::SepaInstrument::Core}, {"b2b", zor::SepaInstrument::B2B}}, "CORE oder B2B",
      s.library.instrument, errors);
  Choice<zor::SepaVersion>(values, "version", where, label,
                           {{"aktuell", zor::SepaVersion::Current},
                            {"alt", zor::SepaVersion::German},
                            {"2009", zor::SepaVersion::Iso2009}},
                           "aktuell, alt oder 2009", s.library.version, errors);
  if (values.count("sammelbuchung")) {
    bool batch = true;
    read.Flag("sammelbuchung", batch);
    s.library.batchBooking = batch;
  }
  read.Text("nachricht_id", s.library.messageId);
  read.Text("einreicher", s.library.initiatingParty);
  if (values.count("kategorie"))
    s.library.categoryPurpose = AsciiUpper(Trimmed(values.at("kategorie")));
  read.Flag("echtzeit", s.library.instant);
  read.Flag("zahlungsart_je_buchung", s.library.paymentTypePerTransaction);
  ApplySepaParties(values, where, label, s.library, errors);
  read.Text("dateiname", s.dateiname);
  read.Text("verzeichnis", s.verzeichnis);
  ApplyOtherBlocks(values, where, label, s, errors);
}

void CheckSepaClient(const SepaEntrySettings& s, const KeyLabel& label, Diagnostics& errors) {
  const zor::SepaAccount& account = s.library.account;
  if (account.iban.empty()) {
    errors.Add(kClientWhere, label("auftraggeber.iban"), _MsgEntryNoIban);
  } else if (std::string problem = zor::IbanProblemText(account.iban); !problem.empty()) {
    errors.Add(kClientWhere, label("auftraggeber.iban"), std::move(problem));
  }
  if (!account.bic.empty()) {
    if (std::string problem = zor::BicProblemText(account.bic); !problem.empty()) {
      errors.Add(kClientWhere, label("auftraggeber.bic"), std::move(problem));
    }
  }
  if (s.ausfuehrung) {
    if (std::string problem = PastDateProblem(*s.ausfuehrung); !problem.empty()) {
      errors.Add(kClientWhere, label("ausfuehrungsdatum"), std::move(problem));
    }
  }
}

bool ReadSepaPayment(const InputRecord& r, zor::SepaKind kind,
                     const std::chrono::year_month_day& defaultDate, zor::SepaPayment& p,
                     Diagnostics& errors) {
  const std::size_t before = errors.Count();
  TakeAsGiven(r, p);
  CheckCounterparty(p.counterparty, r.where, errors);
  ReadPurposeCode(r, p, errors);
  if (const std::optional<std::int64_t> cent = ReadAmount(r, errors)) {
    p.cents = *cent;
    if (p.cents == 0) errors.Add(r.where, "betrag", _MsgRowBelowOneCent);
  }
  p.group.date = RequestedDate(r, defaultDate, errors);
  if (kind == zor::SepaKind::CreditTransfer) {
    RefuseMandate(r, errors);
  } else {
    ReadMandate(r, p, errors);
    ReadSequence(r, p, errors);
  }
  ReadExtras(r, p, errors);
  return errors.Count() == before;
}

void CheckSepaCreditorId(const zor::SepaSettings& settings, zor::SepaPayment& payment,
                         const KeyLabel& label, bool& reported, Diagnostics& errors) {
  const std::size_t block = payment.group.blockSettings;
  const std::string& blockId = block > 0 && block <= settings.otherBlocks.size()
                                   ? settings.otherBlocks[block - 1].creditorId
                                   : settings.creditorId;
  if (settings.kind != zor::SepaKind::DirectDebit || !blockId.empty() ||
      !payment.creditorId.empty()) {
    return;
  }
  if (!reported) errors.Add(kClientWhere, label("glaeubiger_id"), _MsgRowNoCreditorId);
  reported = true;
  payment.creditorId = kStandInCreditorId;
}

}  // namespace zor::entry
