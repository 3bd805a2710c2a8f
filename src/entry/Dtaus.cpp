#include "zordta/entry/Dtaus.h"

#include "core/MessageFill.h"
#include "entry/AmountField.h"
#include "entry/LibraryCheck.h"
#include "entry/RowMessages.h"
#include "zordta/Limits.h"
#include "zordta/PaymentValues.h"
#include "zordta/Printable.h"
#include "zordta/entry/MessageText.h"
#include "zordta/entry/Values.h"
#include "zordta/host/Classes.h"
#include "zordta/host/Text.h"

namespace zor::entry {

using zor::detail::Fill;

namespace {

constexpr std::size_t kNameWidth = zor::limits::dtaus::kTextWidth;
constexpr std::size_t kPurposeWidth = zor::limits::dtaus::kTextWidth;
constexpr std::int64_t kMaxBLZ = zor::limits::kMaxBLZ;
constexpr std::int64_t kMaxKonto = zor::limits::kMaxKonto;
// Record E: the count of C records in 7 digits, the sum of the cents in 13.
constexpr std::int32_t kMaxCount = zor::limits::dtaus::kMaxCount;
constexpr std::int64_t kMaxSumCent = zor::limits::dtaus::kMaxCentSum;

double Euro(std::int64_t cent) {
  return static_cast<double>(cent) / 100.0;
}

std::string EuroText(std::int64_t cent) {
  return GermanAmount(cent) + " EUR";
}

// Only the client side: folder, file and diskette counter belong to the real run.
// Record A takes its kind from the settings at Start, each record C its key from
// those at its booking; the key is set there, so that a key the library does not
// know as a debit (05012, say) cannot make a file of debits "GK".
void ConfigureClient(zor::TZorDTA& dta, const DtausSettings& s) {
  dta.SetAuftraggeberName(zor::Utf8ToAnsi(s.name));
  dta.SetAuftraggeberBLZ(static_cast<std::int32_t>(s.blz));
  dta.SetAuftraggeberKontoNr(s.konto);
  dta.SetLastschriften(IsDebitFile(s));
  dta.SetAbbuchungsauftrag(s.abbuchung);
  dta.SetZahlungsschluessel(zor::AnsiString());
  dta.SetAusfuehrungsdatum(s.ausfuehrung.value_or(0));
  if (s.dateidatum) dta.setDiskettenErstellDatum(*s.dateidatum);
}

std::unique_ptr<zor::TZorDTA> NewComponent(const DtausSettings& s) {
  auto dta = std::make_unique<zor::TZorDTA>(nullptr);
  ConfigureClient(*dta, s);
  // A blank purpose line of a job keeps its place, as a file read back has it.
  dta->SetLeerzeilenBehalten(true);
  // The file name decides how umlauts are coded, so the text checks need it.
  dta->SetDTAFilename(zor::StringFromUtf8(s.dateiname));
  return dta;
}

std::optional<std::int64_t> ReadNumber(std::string_view text, const std::string& where,
                                       const char* field, const char* what, Diagnostics& errors) {
  if (text.empty()) {
    errors.Add(where, field, Fill(_MsgRowMissing, {what}));
    return std::nullopt;
  }
  const std::optional<std::int64_t> number = ParseDigits(text);
  if (!number) {
    errors.Add(where, field, Fill(_MsgRowNotDigits, {zor::PrintableText(text), what}));
  }
  return number;
}

// The trimmed texts of a payment's fields, wherever they were read.
struct DtausFields {
  std::string_view name, konto, blz, betrag, schluessel;
};

// The fields into `p`, whose place and purpose lines are set already.
void ReadFields(const DtausFields& f, DtausPayment& p, Diagnostics& errors) {
  p.name = f.name;
  p.schluessel = f.schluessel;
  p.unreadable.clear();
  p.konto = 0;
  p.blz = 0;
  p.cent = 0;
  if (const auto konto = ReadNumber(f.konto, p.where, "konto", _MsgRowAccountNumber, errors)) {
    p.konto = *konto;
  } else {
    p.unreadable.insert("konto");
  }
  if (const auto blz = ReadNumber(f.blz, p.where, "blz", _MsgRowBankCode, errors)) {
    p.blz = *blz;
  } else {
    p.unreadable.insert("blz");
  }
  const std::optional<std::int64_t> cent = ReadAmount(f.betrag, p.where, errors);
  if (cent) {
    p.cent = *cent;
  } else {
    p.unreadable.insert("betrag");
  }
}

}  // namespace

const JobSchema& DtausJobSchema() {
  static const JobSchema schema{{{"art", JobValue::kText},
                                 {"auftraggeber.name", JobValue::kText},
                                 {"auftraggeber.blz", JobValue::kNumber},
                                 {"auftraggeber.konto", JobValue::kNumber},
                                 {"lastschriften", JobValue::kFlag},
                                 {"abbuchung", JobValue::kFlag},
                                 {"zahlungsschluessel", JobValue::kText},
                                 {"ausfuehrungsdatum", JobValue::kText},
                                 {"dateidatum", JobValue::kText},
                                 {"zentralbank", JobValue::kFlag},
                                 {"dateiname", JobValue::kText},
                                 {"verzeichnis", JobValue::kText},
                                 {"waehrung", JobValue::kText}},
                                {"name", "konto", "blz", "betrag", "zahlungsschluessel"},
                                // The diskette number and the sender's reference say where a file
                                // came from; a file written anew gets its own.
                                {"summen", "datei", "diskettennummer", "referenz"},
                                {{"namenszusatz", _MsgRowNoNameSupplement},
                                 {"auftraggeberzusatz", _MsgRowNoClientSupplement},
                                 {"auftraggeber", _MsgRowNoClientPerPayment},
                                 {"kundennummer", _MsgRowNoCustomerNumber}},
                                true,
                                true};
  return schema;
}

const CsvColumns& DtausCsvColumns() {
  static const CsvColumns columns{{{"name", "name"},
                                   {"empfaenger", "name"},
                                   {"konto", "konto"},
                                   {"kontonummer", "konto"},
                                   {"blz", "blz"},
                                   {"bankleitzahl", "blz"},
                                   {"betrag", "betrag"},
                                   {"zahlungsschluessel", "zahlungsschluessel"}},
                                  {"name", "konto", "blz", "betrag"}};
  return columns;
}

void ApplyDtausSettings(const std::map<std::string, std::string>& values, const std::string& where,
                        const KeyLabel& label, DtausSettings& s, Diagnostics& errors) {
  SettingReader read(values, where, label, errors);
  read.Kind("dtaus");
  read.Text("auftraggeber.name", s.name);
  read.Number("auftraggeber.blz", s.blz, kMaxBLZ);
  read.Number("auftraggeber.konto", s.konto, kMaxKonto);
  read.Flag("lastschriften", s.lastschriften);
  read.Flag("abbuchung", s.abbuchung);
  bool gutschriften = false;
  read.Flag("gutschriften", gutschriften);
  if (gutschriften) {
    s.lastschriften = false;
    s.abbuchung = false;
  }
  read.Text("zahlungsschluessel", s.schluessel);
  read.Date("ausfuehrungsdatum", s.ausfuehrung);
  read.Date("dateidatum", s.dateidatum);
  read.Flag("zentralbank", s.zentralbank);
  read.Text("dateiname", s.dateiname);
  read.Text("verzeichnis", s.verzeichnis);
  if (values.count("zahlungsschluessel") && !s.schluessel.empty()) {
    if (std::string problem = zor::PaymentKeyTextProblem(s.schluessel); !problem.empty()) {
      errors.Add(where, label("zahlungsschluessel"), std::move(problem));
    }
  }
  std::string waehrung;
  read.Text("waehrung", waehrung);
  if (waehrung == "DEM") {
    errors.Add(where, label("waehrung"), _MsgRowDmFile);
  } else if (!waehrung.empty() && waehrung != "EUR") {
    errors.Add(where, label("waehrung"),
               Fill(_MsgRowNotDtausCurrency, {zor::PrintableText(waehrung)}));
  }
}

bool IsDebitFile(const DtausSettings& s) {
  const zor::DtausKey* key = zor::PaymentKeyOf(s.schluessel);
  return s.lastschriften || s.abbuchung || (key != nullptr && zor::IsDebit(key->kind));
}

void ReadDtausPayment(const InputRecord& r, DtausPayment& p, Diagnostics& errors) {
  p.where = r.where;
  p.purpose.assign(r.purpose.begin(), r.purpose.end());
  ReadFields(
      {r.Get("name"), r.Get("konto"), r.Get("blz"), r.Get("betrag"), r.Get("zahlungsschluessel")},
      p, errors);
}

DtausRun::DtausRun(const DtausSettings& s, bool forFile, Diagnostics& errors, Diagnostics& warnings)
    : PaymentRun(NewComponent(s), s.streng, errors, warnings),
      fCheckAccount(s.checkAccount),
      fAccountFindings(s.streng ? errors : warnings),
      fFileKey(s.schluessel),
      fDebitFile(IsDebitFile(s)) {
  zor::TZorDTA& dta = *fComponent;
  const std::size_t before = errors.Count();
  const std::string client = kClientWhere;
  zor::AnsiString name;
  const TextInFile nameInFile = fText.Prepare(s.name, kNameWidth, client, "name", name);
  dta.SetAuftraggeberName(name);
  if (!fText.LeftBlank(nameInFile, s.name, client, "name")) {
    TryCheck(errors, client, "name", [&] { dta.ValidateName(name); });
  }
  const std::size_t beforeAccount = errors.Count();
  TryCheck(errors, client, "blz", [&] { dta.ValidateBLZ(s.blz); });
  TryCheck(errors, client, "konto", [&] { dta.ValidateKontoDE(s.konto); });
  if (fCheckAccount && errors.Count() == beforeAccount) {
    fCheckAccount(s.blz, s.konto, client, fAccountFindings);
  }
  OpenRun(
      before, s.ausfuehrung, s.dateiname,
      [&] {
        if (forFile) {
          dta.SetPath(zor::StringFromUtf8(s.verzeichnis));
          dta.SetZentralbank(s.zentralbank);
        }
        dta.SetRecordSink(forFile ? s.sink : &fDiscard);
        TryCheck(errors, client, "", [&] { dta.Start(); });
      },
      [&] { OpenStandIn(s); });
}

// The payments are worth checking even when the client is wrong. The file name
// stays: the text checks were learnt for it.
void DtausRun::OpenStandIn(const DtausSettings& s) {
  DtausSettings stand = s;
  stand.name = "X";
  stand.blz = 10'000'000;
  stand.konto = 10;
  stand.ausfuehrung.reset();
  fComponent = NewComponent(stand);
  fComponent->SetRecordSink(&fDiscard);
  fComponent->Start();
}

void DtausRun::Add(const InputRecord& record) {
  ReadDtausPayment(record, fPayment, fErrors);
  Book();
}

// As ReadDtausPayment would read the record CsvRecordReader::Read makes of the
// row, without making it: this runs for every row of a large table.
void DtausRun::Add(const CsvRecordRow& r) {
  Columns& c = fColumns;
  if (c.reader != &r.reader) {
    c = {&r.reader,
         r.reader.ColumnOf("name"),
         r.reader.ColumnOf("konto"),
         r.reader.ColumnOf("blz"),
         r.reader.ColumnOf("betrag"),
         r.reader.ColumnOf("zahlungsschluessel")};
  }
  DtausPayment& p = fPayment;
  p.where = r.where;
  p.purpose.clear();
  r.reader.ForEachPurposeLine(r.row, [&p](std::string_view line) { p.purpose.push_back(line); });
  const auto cell = [&r](std::size_t column) { return CsvRecordReader::CellAt(r.row, column); };
  ReadFields({cell(c.name), cell(c.konto), cell(c.blz), cell(c.betrag), cell(c.schluessel)}, p,
             fErrors);
  Book();
}

void DtausRun::Book() {
  DtausPayment& p = fPayment;
  zor::TZorDTA& dta = *fComponent;

  const std::size_t rowStart = fErrors.Count();
  const auto readable = [&p](const char* field) {
    return p.unreadable.empty() || !p.unreadable.count(field);
  };
  const TextInFile name = fText.Prepare(p.name, kNameWidth, p.where, "name", fName);
  if (!fText.LeftBlank(name, p.name, p.where, "name")) {
    TryCheck(fErrors, p.where, "name", [&] { dta.ValidateName(fName); });
  }
  if (readable("konto")) TryCheck(fErrors, p.where, "konto", [&] { dta.ValidateKontoDE(p.konto); });
  if (readable("blz")) TryCheck(fErrors, p.where, "blz", [&] { dta.ValidateBLZ(p.blz); });
  if (readable("betrag")) {
    TryCheck(fErrors, p.where, "betrag", [&] { dta.ValidateBetrag(Euro(p.cent)); });
  }
  if (!p.schluessel.empty()) {
    if (std::string problem = zor::PaymentKeyProblem(p.schluessel, fDebitFile); !problem.empty()) {
      fErrors.Add(p.where, "zahlungsschluessel", std::move(problem));
    }
  }
  PreparePurposeText(p.purpose, p.where, kPurposeWidth);
  const bool asTexts = BooksAsTexts();
  if (!asTexts) {
    PurposeList();
    TryCheck(fErrors, p.where, "verwendungszweck", [&] { dta.ValidateVwzCount(fLines); });
  }
  if (!RowClean(rowStart, p)) return;
  // Only a row otherwise clean: one with faults is fixed first, and so a file
  // refused row by row costs no account checks.
  if (fCheckAccount) fCheckAccount(p.blz, p.konto, p.where, fAccountFindings);
  if (!RowClean(rowStart, p) || !FitsTrailer(p)) return;
  // Empty: the library's key for the file's kind (51000, 04000 or 05000).
  dta.SetZahlungsschluessel(p.schluessel.empty() ? fFileKey : zor::AnsiString(p.schluessel));
  // Whatever else the library refuses shows in the booking.
  TryCheck(fErrors, p.where, "", [&] {
    if (!asTexts) {
      dta.Buchung(fName, p.konto, p.blz, Euro(p.cent), fLines);
      return;
    }
    // A function-local blank: the library allows no static constructors.
    static const zor::AnsiString noLine;
    const auto line = [this](std::size_t i) -> const zor::AnsiString& {
      return i < fLineCount ? fAnsiLines[i] : noLine;
    };
    dta.Buchung(fName, p.konto, p.blz, Euro(p.cent), line(0), line(1), line(2));
  });
}

// The booking of up to three texts needs no list of interface text, which
// costs more than the rest of the booking. It leaves out an empty second or
// third text, where the list keeps a blank line: those take the list. Three
// lines are never too many, so the count needs no check.
bool DtausRun::BooksAsTexts() const {
  if (fLineCount > 3) return false;
  for (std::size_t i = 1; i < fLineCount; ++i) {
    if (fAnsiLines[i].empty()) return false;
  }
  return true;
}

// The library refuses a booking beyond record E's fields with the message about
// a single amount; the message names the limit.
bool DtausRun::FitsTrailer(const DtausPayment& p) {
  if (fTrailerFull) return false;
  const zor::TZorDTA& dta = *fComponent;
  if (dta.AnzahlBuchungen() >= kMaxCount) {
    fErrors.Add(p.where, "", Fill(_MsgRowDtausCountFull, {std::to_string(kMaxCount)}));
  } else if (dta.SummeBetragCent() > kMaxSumCent - p.cent) {
    fErrors.Add(p.where, "betrag",
                Fill(_MsgRowDtausSumFull,
                     {EuroText(dta.SummeBetragCent() + p.cent), EuroText(kMaxSumCent)}));
  } else {
    return true;
  }
  fTrailerFull = true;
  return false;
}

}  // namespace zor::entry
