#include "zordta/entry/SepaInput.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include "core/MessageFill.h"
#include "entry/EntryMessages.h"
#include "entry/RowMessages.h"
#include "zordta/Printable.h"

#include "entry/AmountField.h"
#include "zordta/PaymentValues.h"
#include "zordta/entry/Dtazv.h"
#include "zordta/entry/PaymentRun.h"
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

// The fields taken over as they are; what they must be is checked apart.
zor::SepaPayment TakenAsGiven(const InputRecord& r) {
  zor::SepaPayment p;
  p.counterparty.name = r.Get("name");
  p.counterparty.iban = CompactIdentifier(r.Get("iban"));
  p.counterparty.bic = CompactIdentifier(r.Get("bic"));
  p.endToEndId = r.Get("ende_zu_ende_id");
  // Lines of a purpose make one text in a SEPA file.
  for (const std::string& line : r.purpose) {
    const std::string text = Trimmed(line);
    if (text.empty()) continue;
    if (!p.remittance.empty()) p.remittance += ' ';
    p.remittance += text;
  }
  return p;
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
  static const JobSchema schema{{{"art", JobValue::kText},
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
                                 {"dateiname", JobValue::kText},
                                 {"verzeichnis", JobValue::kText}},
                                {"name", "iban", "bic", "betrag", "ende_zu_ende_id", "datum",
                                 "mandat_id", "mandat_datum", "sequenz", "zweck"},
                                // What "sepa read" adds: a file written anew gets its own.
                                {"datei", "erstellt", "einreicher", "summen", "zahlungsbloecke"},
                                {},
                                false,
                                false};
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
                                   {"zweck", "zweck"}},
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
  Choice<zor::SepaVersion>(
      values, "version", where, label,
      {{"aktuell", zor::SepaVersion::Current}, {"alt", zor::SepaVersion::German}},
      "aktuell oder alt", s.library.version, errors);
  if (values.count("sammelbuchung")) {
    bool batch = true;
    read.Flag("sammelbuchung", batch);
    s.library.batchBooking = batch;
  }
  read.Text("nachricht_id", s.library.messageId);
  read.Text("dateiname", s.dateiname);
  read.Text("verzeichnis", s.verzeichnis);
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
  if (s.library.kind == zor::SepaKind::DirectDebit && s.library.creditorId.empty()) {
    errors.Add(kClientWhere, label("glaeubiger_id"), _MsgRowNoCreditorId);
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
  p = TakenAsGiven(r);
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
  return errors.Count() == before;
}

std::string SepaFieldLabel(const std::string& element, bool settings) {
  const auto ends = [&element](std::string_view tail) { return element.ends_with(tail); };
  if (settings) {
    if (ends("MsgId")) return "nachricht_id";
    if (ends("Nm")) return "auftraggeber.name";
    if (ends("IBAN")) return "auftraggeber.iban";
    if (ends("FinInstnId")) return "auftraggeber.bic";
    if (ends("CdtrSchmeId")) return "glaeubiger_id";
    return element;
  }
  if (ends("Nm")) return "name";
  if (ends("IBAN")) return "iban";
  if (ends("FinInstnId")) return "bic";
  if (ends("ReqdDt")) return "datum";
  if (ends("InstdAmt") || ends("CtrlSum")) return "betrag";
  if (ends("EndToEndId")) return "ende_zu_ende_id";
  if (ends("Ustrd")) return "verwendungszweck";
  if (ends("MndtId")) return "mandat_id";
  if (ends("DtOfSgntr")) return "mandat_datum";
  if (ends("Purp/Cd")) return "zweck";
  return element;
}

void AddSepaRefusal(const zor::SepaError& e, const std::string& where, bool settings,
                    Diagnostics& errors, const KeyLabel& label) {
  const auto add = [&](const zor::SepaError& refusal) {
    const std::string field = SepaFieldLabel(refusal.Place().field, settings);
    errors.Add(where, label ? label(field) : field, refusal.Text());
  };
  add(e);
  for (const zor::SepaError& further : e.Further()) add(further);
}

}  // namespace zor::entry
