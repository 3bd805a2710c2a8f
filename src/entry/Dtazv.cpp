#include "zordta/entry/Dtazv.h"

#include "core/MessageFill.h"
#include "entry/AmountField.h"
#include "entry/LibraryCheck.h"
#include "entry/RowMessages.h"
#include "zordta/Limits.h"
#include "zordta/PaymentValues.h"
#include "zordta/Printable.h"
#include "zordta/entry/Values.h"
#include "zordta/host/Classes.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor::entry {

using zor::detail::Fill;

namespace {

constexpr std::size_t kLineWidth = zor::limits::dtazv::kLineWidth;
constexpr std::int64_t kMaxBLZ = zor::limits::kMaxBLZ;
constexpr std::int64_t kMaxKonto = zor::limits::kMaxKonto;
constexpr std::int64_t kMaxTwoDigits = zor::limits::dtazv::kMaxKey;
constexpr std::int64_t kMaxFirmennummer = zor::limits::dtazv::kMaxFirmennummer;
// Record Z: the sum of the whole units in 15 digits.
constexpr std::int64_t kMaxUnitSum = zor::limits::dtazv::kMaxUnitSum;

double Amount(std::int64_t cent) {
  return static_cast<double>(cent) / 100.0;
}

bool Letters(const std::string& text, std::size_t count) {
  if (text.size() != count) return false;
  for (char c : text) {
    if (c < 'A' || c > 'Z') return false;
  }
  return true;
}

// The client's texts as prepared for the file.
void ConfigureClient(zor::TZorDTAZV& zv, const DtazvSettings& s, const DtazvTexts& texts) {
  zv.SetAuftraggeberName(texts.name);
  zv.SetAuftraggeberName2(texts.name2);
  zv.SetAuftraggeberStrasse(texts.strasse);
  zv.SetAuftraggeberOrt(texts.ort);
  zv.SetAuftraggeberBLZ(static_cast<std::int32_t>(s.blz));
  zv.SetAuftraggeberKontoNr(s.konto);
  zv.SetWaehrungscode(s.waehrung);
  zv.SetBundeslandschluessel(static_cast<std::int32_t>(s.bundeslandschluessel));
  zv.SetFirmennummer(static_cast<std::int32_t>(s.firmennummer));
  zv.SetZahlungsArtSchluessel(static_cast<std::uint8_t>(s.zahlungsart));
  zv.SetAusfuehrungsdatum(s.ausfuehrung.value_or(0));
}

}  // namespace

std::string CompactIdentifier(std::string_view text) {
  std::string compact;
  CompactIdentifierInto(text, compact);
  return compact;
}

void CompactIdentifierInto(std::string_view text, std::string& out) {
  // Written in place and cut to length: appending a character at a time cost
  // more than the rest of reading an IBAN.
  out.resize(text.size());
  std::size_t length = 0;
  for (const char c : text) {
    if (c == ' ' || c == '\t') continue;
    out[length++] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  out.resize(length);
}

const JobSchema& DtazvJobSchema() {
  static const JobSchema schema{{{"art", JobValue::kText},
                                 {"auftraggeber.name", JobValue::kText},
                                 {"auftraggeber.name2", JobValue::kText},
                                 {"auftraggeber.strasse", JobValue::kText},
                                 {"auftraggeber.ort", JobValue::kText},
                                 {"auftraggeber.blz", JobValue::kNumber},
                                 {"auftraggeber.konto", JobValue::kNumber},
                                 {"waehrung", JobValue::kText},
                                 {"bundeslandschluessel", JobValue::kNumber},
                                 {"firmennummer", JobValue::kNumber},
                                 {"zahlungsart", JobValue::kNumber},
                                 {"laufende_nummer", JobValue::kNumber},
                                 {"ausfuehrungsdatum", JobValue::kText},
                                 {"dateiname", JobValue::kText},
                                 {"verzeichnis", JobValue::kText}},
                                {"bic", "iban", "name", "name2", "strasse", "ort", "land", "betrag",
                                 "waehrung", "datum", "notiz", "ansprechpartner"},
                                // What "dtazv read" adds: a file written anew gets its own.
                                {"datei", "erstellt", "summen"},
                                {{"auftraggeber", _MsgRowZvNoOwnAccount},
                                 {"zahlungsart", _MsgRowZvNoOwnPaymentType},
                                 {"weisungsschluessel", _MsgRowZvNoInstructions},
                                 {"weisungszusatz", _MsgRowZvNoInstructionText},
                                 {"entgeltregelung", _MsgRowZvNoCharges},
                                 {"entgeltkonto", _MsgRowZvNoChargesAccount},
                                 {"bank", _MsgRowZvNoBankAddress},
                                 {"meldungen", _MsgRowZvNoReports}},
                                false,
                                false};
  return schema;
}

const CsvColumns& DtazvCsvColumns() {
  static const CsvColumns columns{{{"bic", "bic"},
                                   {"iban", "iban"},
                                   {"name", "name"},
                                   {"name1", "name"},
                                   {"name2", "name2"},
                                   {"strasse", "strasse"},
                                   {"ort", "ort"},
                                   {"land", "land"},
                                   {"laendercode", "land"},
                                   {"betrag", "betrag"},
                                   {"waehrung", "waehrung"},
                                   {"datum", "datum"},
                                   {"notiz", "notiz"},
                                   {"ansprechpartner", "ansprechpartner"}},
                                  {"bic", "iban", "name", "ort", "betrag"}};
  return columns;
}

void ApplyDtazvSettings(const std::map<std::string, std::string>& values, const std::string& where,
                        const KeyLabel& label, DtazvSettings& s, Diagnostics& errors) {
  SettingReader read(values, where, label, errors);
  read.Kind("dtazv");
  read.Text("auftraggeber.name", s.name);
  read.Text("auftraggeber.name2", s.name2);
  read.Text("auftraggeber.strasse", s.strasse);
  read.Text("auftraggeber.ort", s.ort);
  read.Number("auftraggeber.blz", s.blz, kMaxBLZ);
  read.Number("auftraggeber.konto", s.konto, kMaxKonto);
  // A refused currency keeps the one before, as a refused number does.
  if (values.count("waehrung")) {
    std::string waehrung;
    read.Text("waehrung", waehrung);
    if (std::string problem = zor::CurrencyProblem(waehrung); !problem.empty()) {
      errors.Add(where, label("waehrung"), std::move(problem));
    } else {
      s.waehrung = AsciiUpper(waehrung);
    }
  }
  read.Number("bundeslandschluessel", s.bundeslandschluessel, kMaxTwoDigits);
  read.Number("firmennummer", s.firmennummer, kMaxFirmennummer);
  read.Number("zahlungsart", s.zahlungsart, kMaxTwoDigits);
  read.Number("laufende_nummer", s.laufendeNummer, kMaxTwoDigits);
  read.Date("ausfuehrungsdatum", s.ausfuehrung);
  read.Text("dateiname", s.dateiname);
  read.Text("verzeichnis", s.verzeichnis);
}

void ReadDtazvPayment(const InputRecord& r, DtazvPayment& p, Diagnostics& errors) {
  p.where = r.where;
  p.bic = CompactIdentifier(r.Get("bic"));
  p.iban = CompactIdentifier(r.Get("iban"));
  p.name = r.Get("name");
  p.name2 = r.Get("name2");
  p.strasse = r.Get("strasse");
  p.ort = r.Get("ort");
  p.notiz = r.Get("notiz");
  p.ansprechpartner = r.Get("ansprechpartner");
  p.purpose = r.purpose;
  p.unreadable.clear();
  p.cent = 0;
  p.datum.reset();

  const std::string_view land = r.Get("land");
  p.land = AsciiUpper(land);
  if (p.land.empty()) p.land = p.iban.substr(0, 2);
  if (!land.empty() && !Letters(p.land, 2)) {
    p.unreadable.insert("land");
    errors.Add(r.where, "land", Fill(_MsgRowNotACountry, {zor::PrintableText(land)}));
  }
  const std::string_view waehrung = r.Get("waehrung");
  p.waehrung = AsciiUpper(waehrung);
  if (std::string problem = waehrung.empty() ? std::string() : zor::CurrencyProblem(waehrung);
      !problem.empty()) {
    p.unreadable.insert("waehrung");
    errors.Add(r.where, "waehrung", std::move(problem));
  }
  const std::optional<std::int64_t> cent = ReadAmount(r, errors);
  if (cent) {
    p.cent = *cent;
  } else {
    p.unreadable.insert("betrag");
  }
  const std::string_view datum = r.Get("datum");
  if (!datum.empty()) {
    p.datum = ParseDate(datum);
    if (!p.datum) {
      p.unreadable.insert("datum");
      errors.Add(r.where, "datum", Fill(_MsgRowNotADate, {zor::PrintableText(datum)}));
    } else if (std::string problem = zor::ExecutionDateProblem(*p.datum); !problem.empty()) {
      p.unreadable.insert("datum");
      errors.Add(r.where, "datum", std::move(problem));
    }
  }
}

DtazvRun::DtazvRun(const DtazvSettings& s, bool forFile, Diagnostics& errors, Diagnostics& warnings)
    : PaymentRun(std::make_unique<zor::TZorDTAZV>(nullptr), s.streng, errors, warnings),
      fSettings(s) {
  zor::TZorDTAZV& zv = *fComponent;
  const std::string client = kClientWhere;
  const std::size_t before = errors.Count();
  DtazvTexts texts;
  const TextInFile name = fText.Prepare(s.name, kLineWidth, client, "name", texts.name);
  fText.Prepare(s.name2, kLineWidth, client, "name2", texts.name2);
  fText.Prepare(s.strasse, 0, client, "strasse", texts.strasse);
  const TextInFile ort = fText.Prepare(s.ort, 0, client, "ort", texts.ort);
  TryCheck(errors, client, "", [&] { ConfigureClient(zv, s, texts); });

  if (!fText.LeftBlank(name, s.name, client, "name")) {
    TryCheck(errors, client, "name", [&] { zv.ValidateName(texts.name); });
  }
  // The library measures these after its own cleaning.
  TryCheck(errors, client, "strasse",
           [&] { zv.ValidateStrasse(zv.RemoveInvalidChars(texts.strasse)); });
  if (!fText.LeftBlank(ort, s.ort, client, "ort")) {
    TryCheck(errors, client, "ort", [&] { zv.ValidateOrt(zv.RemoveInvalidChars(texts.ort)); });
  }
  TryCheck(errors, client, "blz", [&] { zv.ValidateBLZ(s.blz); });
  TryCheck(errors, client, "konto", [&] { zv.ValidateKontoDE(s.konto); });
  OpenRun(
      before, s.ausfuehrung, s.dateiname,
      [&] {
        if (forFile) {
          zv.SetPath(zor::StringFromUtf8(s.verzeichnis));
          zv.SetDTAFilename(zor::StringFromUtf8(s.dateiname));
        }
        zv.SetRecordSink(forFile ? s.sink : &fDiscard);
        TryCheck(errors, client, "",
                 [&] { zv.Start(static_cast<std::int32_t>(s.laufendeNummer)); });
      },
      [&] { OpenStandIn(s); });
}

// The payments are worth checking even when the client is wrong. The stand-in
// keeps currency and keys, which the amount limits depend on.
void DtazvRun::OpenStandIn(const DtazvSettings& s) {
  DtazvSettings stand;
  stand.name = "X";
  stand.ort = "X";
  stand.blz = 10'000'000;
  stand.konto = 10;
  if (s.waehrung.size() == 3) stand.waehrung = s.waehrung;
  stand.bundeslandschluessel = s.bundeslandschluessel;
  stand.firmennummer = s.firmennummer;
  DtazvTexts texts;
  texts.name = "X";
  texts.ort = "X";
  fComponent = std::make_unique<zor::TZorDTAZV>(nullptr);
  ConfigureClient(*fComponent, stand, texts);
  fComponent->SetRecordSink(&fDiscard);
  fComponent->Start(0);
}

void DtazvRun::Add(const InputRecord& record) {
  DtazvPayment& p = fPayment;
  DtazvTexts& t = fTexts;
  zor::TZorDTAZV& zv = *fComponent;
  ReadDtazvPayment(record, p, fErrors);

  const std::size_t rowStart = fErrors.Count();
  if (std::string problem = zor::BicProblemText(p.bic); !problem.empty()) {
    fErrors.Add(p.where, "bic", std::move(problem));
  }
  if (std::string problem = zor::IbanProblemText(p.iban); !problem.empty()) {
    fErrors.Add(p.where, "iban", std::move(problem));
  }
  const TextInFile name = fText.Prepare(p.name, kLineWidth, p.where, "name", t.name);
  if (!fText.LeftBlank(name, p.name, p.where, "name")) {
    TryCheck(fErrors, p.where, "name", [&] { zv.ValidateName(t.name); });
  }
  fText.Prepare(p.name2, kLineWidth, p.where, "name2", t.name2);
  // The library measures these after its own cleaning.
  fText.Prepare(p.strasse, 0, p.where, "strasse", t.strasse);
  TryCheck(fErrors, p.where, "strasse",
           [&] { zv.ValidateStrasse(zv.RemoveInvalidChars(t.strasse)); });
  const TextInFile ort = fText.Prepare(p.ort, 0, p.where, "ort", t.ort);
  if (!fText.LeftBlank(ort, p.ort, p.where, "ort")) {
    TryCheck(fErrors, p.where, "ort", [&] { zv.ValidateOrt(zv.RemoveInvalidChars(t.ort)); });
  }
  fText.Prepare(p.notiz, 0, p.where, "notiz", t.notiz);
  TryCheck(fErrors, p.where, "notiz", [&] { zv.ValidateNotiz(zv.RemoveInvalidChars(t.notiz)); });
  fText.Prepare(p.ansprechpartner, 0, p.where, "ansprechpartner", t.ansprechpartner);
  TryCheck(fErrors, p.where, "ansprechpartner",
           [&] { zv.ValidateAnsprechpartner(zv.RemoveInvalidChars(t.ansprechpartner)); });
  PreparePurpose(p.purpose, p.where, kLineWidth);
  // The component's limits are those of its own currency; a payment in
  // another currency only needs to be at least one unit.
  const std::string& currency = fSettings.waehrung;
  if (p.unreadable.count("betrag") || p.unreadable.count("waehrung")) {
    // reported already
  } else if (p.waehrung.empty() || p.waehrung == currency) {
    TryCheck(fErrors, p.where, "betrag", [&] { zv.ValidateBetrag(Amount(p.cent)); });
  } else if (p.cent < 100) {
    fErrors.Add(p.where, "betrag", Fill(_MsgRowBelowOneUnit, {p.waehrung}));
  }
  if (!RowClean(rowStart, p) || !FitsTrailer(p)) return;
  TryCheck(fErrors, p.where, "", [&] { Book(p); });
}

// The library refuses a payment beyond record Z's sum with the message about a
// single amount; the message names the limit.
bool DtazvRun::FitsTrailer(const DtazvPayment& p) {
  if (fTrailerFull) return false;
  const std::int64_t sum = fComponent->SummeBetragVorKomma();
  const std::int64_t units = p.cent / 100;
  if (sum <= kMaxUnitSum - units) return true;
  fErrors.Add(
      p.where, "betrag",
      Fill(_MsgRowDtazvSumFull, {std::to_string(sum + units), std::to_string(kMaxUnitSum)}));
  fTrailerFull = true;
  return false;
}

void DtazvRun::Book(const DtazvPayment& p) {
  // Without a date of its own a payment is due on the file's execution date, or today.
  const zor::TDateTime datum = p.datum ? *p.datum : fSettings.ausfuehrung.value_or(zor::Date());
  const std::string& currency = p.waehrung.empty() ? fSettings.waehrung : p.waehrung;
  const DtazvTexts& t = fTexts;
  fComponent->Buchung(p.bic, p.iban, t.name, t.name2, t.strasse, t.ort, p.land, Amount(p.cent),
                      fLines, datum, t.notiz, t.ansprechpartner, currency);
}

}  // namespace zor::entry
