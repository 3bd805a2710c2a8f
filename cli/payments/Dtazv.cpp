#include "payments/Dtazv.h"

#include "io/Values.h"
#include "zordta/host/Classes.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace {

constexpr std::size_t kLineWidth = 35;
constexpr std::int64_t kMaxBLZ = 99'999'999;
constexpr std::int64_t kMaxKonto = 9'999'999'999;
constexpr std::int64_t kMaxTwoDigits = 99;
constexpr std::int64_t kMaxFirmennummer = 99'999'999;

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

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

void ConfigureClient(zor::TZorDTAZV& zv, const DtazvSettings& s) {
  zv.SetAuftraggeberName(Ansi(s.name));
  zv.SetAuftraggeberName2(Ansi(s.name2));
  zv.SetAuftraggeberStrasse(Ansi(s.strasse));
  zv.SetAuftraggeberOrt(Ansi(s.ort));
  zv.SetAuftraggeberBLZ(static_cast<std::int32_t>(s.blz));
  zv.SetAuftraggeberKontoNr(s.konto);
  zv.SetWaehrungscode(s.waehrung);
  zv.SetBundeslandschluessel(static_cast<std::int32_t>(s.bundeslandschluessel));
  zv.SetFirmennummer(static_cast<std::int32_t>(s.firmennummer));
  zv.SetZahlungsArtSchluessel(static_cast<std::uint8_t>(s.zahlungsart));
  zv.SetAusfuehrungsdatum(s.ausfuehrung.value_or(0));
}

}  // namespace

std::string CompactIdentifier(const std::string& text) {
  std::string compact;
  for (char c : text) {
    if (c != ' ' && c != '\t') compact += c;
  }
  return Upper(compact);
}

const JobSchema& DtazvJobSchema() {
  static const JobSchema schema{
      {"art", "auftraggeber.name", "auftraggeber.name2", "auftraggeber.strasse", "auftraggeber.ort",
       "auftraggeber.blz", "auftraggeber.konto", "waehrung", "bundeslandschluessel", "firmennummer",
       "zahlungsart", "laufende_nummer", "ausfuehrungsdatum", "dateiname", "verzeichnis"},
      {"bic", "iban", "name", "name2", "strasse", "ort", "land", "betrag", "waehrung", "datum",
       "notiz", "ansprechpartner"},
      {}};
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
  read.Text("waehrung", s.waehrung);
  s.waehrung = Upper(s.waehrung);
  read.Number("bundeslandschluessel", s.bundeslandschluessel, kMaxTwoDigits);
  read.Number("firmennummer", s.firmennummer, kMaxFirmennummer);
  read.Number("zahlungsart", s.zahlungsart, kMaxTwoDigits);
  read.Number("laufende_nummer", s.laufendeNummer, kMaxTwoDigits);
  read.Date("ausfuehrungsdatum", s.ausfuehrung);
  read.Text("dateiname", s.dateiname);
  read.Text("verzeichnis", s.verzeichnis);
}

std::vector<DtazvPayment> ParseDtazvPayments(const std::vector<InputRecord>& records,
                                             Diagnostics& errors) {
  std::vector<DtazvPayment> payments;
  for (const InputRecord& r : records) {
    DtazvPayment p;
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

    p.land = Upper(r.Get("land"));
    if (p.land.empty()) p.land = p.iban.substr(0, 2);
    if (!r.Get("land").empty() && !Letters(p.land, 2)) {
      p.unreadable.insert("land");
      errors.Add(r.where, "land",
                 Quoted(r.Get("land")) + " ist kein Ländercode (zwei Buchstaben, z.B. FR).");
    }
    p.waehrung = Upper(r.Get("waehrung"));
    if (!p.waehrung.empty() && !Letters(p.waehrung, 3)) {
      p.unreadable.insert("waehrung");
      errors.Add(r.where, "waehrung",
                 Quoted(r.Get("waehrung")) + " ist kein Währungscode (drei Buchstaben, z.B. USD).");
    }
    const std::string betrag = r.Get("betrag");
    const std::optional<std::int64_t> cent = ParseAmountCent(betrag);
    if (!cent) p.unreadable.insert("betrag");
    if (betrag.empty()) {
      errors.Add(r.where, "betrag", "Betrag fehlt.");
    } else if (!cent) {
      errors.Add(
          r.where, "betrag",
          Quoted(betrag) + " ist kein Betrag (z.B. 1234,56 oder 1234.56, ohne Tausenderpunkte).");
    } else {
      p.cent = *cent;
    }
    const std::string datum = r.Get("datum");
    if (!datum.empty()) {
      p.datum = ParseDate(datum);
      if (!p.datum) {
        p.unreadable.insert("datum");
        errors.Add(r.where, "datum",
                   Quoted(datum) + " ist kein Datum (JJJJ-MM-TT oder TT.MM.JJJJ).");
      } else if (!InExecutionWindow(*p.datum)) {
        p.unreadable.insert("datum");
        errors.Add(r.where, "datum",
                   "Das Ausführungsdatum " + FormatIsoDate(*p.datum) +
                       " muss zwischen heute und heute + 15 Tagen liegen.");
      }
    }
    payments.push_back(std::move(p));
  }
  return payments;
}

void CheckDtazv(const DtazvSettings& s, const std::vector<DtazvPayment>& payments,
                Diagnostics& errors, Diagnostics& warnings) {
  zor::TZorDTAZV dry(nullptr);
  const std::string client = "Auftraggeber";
  const std::size_t before = errors.Count();
  TryCheck(errors, client, "", [&] { ConfigureClient(dry, s); });

  TryCheck(errors, client, "name", [&] { dry.ValidateName(Ansi(s.name)); });
  TryCheck(errors, client, "strasse",
           [&] { dry.ValidateStrasse(dry.RemoveInvalidChars(Ansi(s.strasse))); });
  TryCheck(errors, client, "ort", [&] { dry.ValidateOrt(dry.RemoveInvalidChars(Ansi(s.ort))); });
  TryCheck(errors, client, "blz", [&] { dry.ValidateBLZ(s.blz); });
  TryCheck(errors, client, "konto", [&] { dry.ValidateKontoDE(s.konto); });
  if (s.ausfuehrung && !InExecutionWindow(*s.ausfuehrung)) {
    errors.Add(client, "ausfuehrungsdatum",
               "Das Ausführungsdatum " + FormatIsoDate(*s.ausfuehrung) +
                   " muss zwischen heute und heute + 15 Tagen liegen.");
  }
  if (s.dateiname.empty()) errors.Add(client, "dateiname", "Der Dateiname fehlt.");
  WarnAboutText(dry, s.name, kLineWidth, client, "name", warnings);
  WarnAboutText(dry, s.name2, kLineWidth, client, "name2", warnings);
  if (errors.Count() == before) {
    TryCheck(errors, client, "", [&] { dry.Start(static_cast<std::int32_t>(s.laufendeNummer)); });
  }
  // The payments are worth checking even when the client is wrong; a stand-in
  // client (same currency and keys, which the amount limits depend on) opens the run.
  zor::TZorDTAZV standIn(nullptr);
  if (errors.Count() != before) {
    DtazvSettings stand;
    stand.name = "X";
    stand.ort = "X";
    stand.blz = 10'000'000;
    stand.konto = 10;
    if (s.waehrung.size() == 3) stand.waehrung = s.waehrung;
    stand.bundeslandschluessel = s.bundeslandschluessel;
    stand.firmennummer = s.firmennummer;
    ConfigureClient(standIn, stand);
    standIn.Start(0);
  }
  zor::TZorDTAZV& run = errors.Count() != before ? standIn : dry;

  for (const DtazvPayment& p : payments) {
    const std::size_t rowStart = errors.Count();
    TryCheck(errors, p.where, "bic", [&] { run.ValidateBIC(p.bic); });
    TryCheck(errors, p.where, "iban", [&] { run.ValidateIBAN(p.iban); });
    TryCheck(errors, p.where, "name", [&] { run.ValidateName(Ansi(p.name)); });
    TryCheck(errors, p.where, "strasse",
             [&] { run.ValidateStrasse(run.RemoveInvalidChars(Ansi(p.strasse))); });
    TryCheck(errors, p.where, "ort", [&] { run.ValidateOrt(run.RemoveInvalidChars(Ansi(p.ort))); });
    TryCheck(errors, p.where, "notiz",
             [&] { run.ValidateNotiz(run.RemoveInvalidChars(Ansi(p.notiz))); });
    TryCheck(errors, p.where, "ansprechpartner",
             [&] { run.ValidateAnsprechpartner(run.RemoveInvalidChars(Ansi(p.ansprechpartner))); });
    // The component's limits are those of its own currency; a payment in
    // another currency only needs to be at least one unit.
    if (p.unreadable.count("betrag") || p.unreadable.count("waehrung")) {
      // reported already
    } else if (p.waehrung.empty() || p.waehrung == s.waehrung) {
      TryCheck(errors, p.where, "betrag", [&] { run.ValidateBetrag(Amount(p.cent)); });
    } else if (p.cent < 100) {
      errors.Add(p.where, "betrag", "Der Betrag muss mindestens 1 " + p.waehrung + " sein.");
    }
    if (errors.Count() != rowStart || !p.unreadable.empty()) continue;
    TryCheck(errors, p.where, "", [&] { BookDtazv(run, s, p); });

    WarnAboutText(run, p.name, kLineWidth, p.where, "name", warnings);
    WarnAboutText(run, p.name2, kLineWidth, p.where, "name2", warnings);
    for (const std::string& line : p.purpose) {
      WarnAboutText(run, line, p.purpose.size() > 1 ? kLineWidth : 0, p.where, "verwendungszweck",
                    warnings);
    }
  }
}

void ConfigureDtazv(zor::TZorDTAZV& zv, const DtazvSettings& s) {
  ConfigureClient(zv, s);
  zv.SetPath(zor::StringFromUtf8(s.verzeichnis));
  zv.SetDTAFilename(zor::StringFromUtf8(s.dateiname));
}

void BookDtazv(zor::TZorDTAZV& zv, const DtazvSettings& s, const DtazvPayment& p) {
  zor::TStringList lines;
  for (const std::string& line : p.purpose) lines.Add(zor::StringFromUtf8(line));
  // Without a date of its own a payment is due on the file's execution date, or today.
  const zor::TDateTime datum = p.datum ? *p.datum : s.ausfuehrung.value_or(zor::Date());
  zv.Buchung(p.bic, p.iban, Ansi(p.name), Ansi(p.name2), Ansi(p.strasse), Ansi(p.ort), p.land,
             Amount(p.cent), lines, datum, Ansi(p.notiz), Ansi(p.ansprechpartner),
             p.waehrung.empty() ? s.waehrung : p.waehrung);
}

}  // namespace zcli
