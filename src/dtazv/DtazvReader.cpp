// The checked reader. Each record is copied whole into a small buffer before
// its fields are checked, so the places in messages are those of the file.
#include "zordta/DtazvReader.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/MessageFill.h"
#include "dtazv/DtazvReadMessages.h"
#include "dtazv/Layout.h"
#include "dtazv/RecordFields.h"
#include "dtazv/RecordSource.h"
#include "zordta/host/Text.h"

namespace zor {

namespace dtazv = detail::dtazv;

namespace {

using detail::Field;
using detail::Fill;
using dtazv::CodeChars;
using dtazv::RecordFields;
using namespace detail::msgdtazvRead;

// The i-th of the fields of width `width` that tile `block`.
constexpr Field Nth(Field block, std::size_t width, std::size_t i) {
  return {block.offset + i * width, width};
}

std::string TotalsText(const DtazvTotals& stated, const DtazvTotals& counted) {
  std::string text = _MsgZvReadTotalsDiffer;
  const auto add = [&text](const char* name, std::int64_t s, std::int64_t c) {
    if (s == c) return;
    text += " " + Fill(_MsgZvReadTotalDifference, {name, std::to_string(s), std::to_string(c)});
  };
  add(_MsgZvReadCountName, stated.anzahl, counted.anzahl);
  add(_MsgZvReadSumName, stated.summeVorKomma, counted.summeVorKomma);
  return text;
}

}  // namespace

DtazvReadError::DtazvReadError(DtazvFault fault, DtazvPlace place, std::string text)
    : Exception(StringFromUtf8(Fill(_MsgZvReadAtPlace, {dtazv::PlaceText(place), text}))),
      fFault(fault),
      fPlace(place),
      fText(std::move(text)) {}

class detail::DtazvReaderState {
 public:
  using Item = DtazvReader::Item;

  DtazvReaderState(std::istream& in, DtazvReadOptions o)
      : source(in), options(o), thisYear(dtazv::ThisYear()) {}

  Item Next();

  Item ReadHeader();
  Item ReadRecord();
  Item ReadPayment();
  void ReadPaymentBanks(RecordFields& f, DtazvPayment& p);
  void ReadPaymentOrder(RecordFields& f, DtazvPayment& p);
  void ReadPaymentKeys(RecordFields& f, DtazvPayment& p);
  Item ReadReport();
  Item ReadTrailer();
  Item ReadRest();

  bool TakeHead();
  RecordFields TakeRest(std::size_t length);
  void SkipLineBreaks();
  [[noreturn]] void Fail(DtazvFault fault, DtazvPlace place, std::string text) const {
    throw DtazvReadError(fault, place, std::move(text));
  }
  [[noreturn]] void Ended(std::string text) const {
    if (source.Broken()) Fail(DtazvFault::Unreadable, Here(), _MsgZvReadUnreadable);
    Fail(DtazvFault::Truncated, Here(), std::move(text));
  }
  DtazvPlace Here() const { return {recordNumber, source.Offset()}; }
  std::string_view Head() const { return {record.data(), dtazv::kQHeader.size()}; }

  dtazv::RecordSource source;
  DtazvReadOptions options;
  int thisYear;
  enum class Phase { Start, Records, AfterTrailer, Ended } phase = Phase::Start;
  std::array<char, dtazv::kTLength> record{};
  DtazvPlace start;  // of the record at hand
  std::size_t recordNumber = 0;

  DtazvHeader header;
  DtazvPayment payment;
  DtazvReport report;
  DtazvTrailer trailer;
  std::int64_t reportsDue = 0, reportsRead = 0;
  // Held at one past the largest sum the Z record can state, so that no file
  // can make it wrap round to agree.
  std::int64_t countedUnits = 0, countedPayments = 0;
  dtazv::ReadNotes notes;
};

DtazvReader::DtazvReader(std::istream& in, DtazvReadOptions options)
    : fState(std::make_unique<detail::DtazvReaderState>(in, options)) {}

DtazvReader::~DtazvReader() = default;

DtazvReader::Item DtazvReader::Next() {
  return fState->Next();
}
const DtazvHeader& DtazvReader::Header() const {
  return fState->header;
}
const DtazvPayment& DtazvReader::Payment() const {
  return fState->payment;
}
const DtazvReport& DtazvReader::Report() const {
  return fState->report;
}
const DtazvTrailer& DtazvReader::Trailer() const {
  return fState->trailer;
}
const std::vector<DtazvNote>& DtazvReader::Notes() const {
  return fState->notes.All();
}

void ReadDtazvPayments(
    DtazvReader& reader, const std::function<void(const DtazvHeader&)>& header,
    const std::function<void(const DtazvPayment&, std::span<const DtazvReport>)>& payment) {
  std::vector<DtazvReport> reports;  // of one payment: at most 99
  // The reader makes sure that every report a payment announces follows it.
  const auto complete = [&] {
    if (reports.size() != static_cast<std::size_t>(reader.Payment().anzahlMeldungen)) return;
    payment(reader.Payment(), reports);
  };
  for (;;) {
    switch (reader.Next()) {
      case DtazvReader::Item::Header:
        header(reader.Header());
        break;
      case DtazvReader::Item::Payment:
        reports.clear();
        complete();
        break;
      case DtazvReader::Item::Report:
        reports.push_back(reader.Report());
        complete();
        break;
      case DtazvReader::Item::Trailer:
        break;
      case DtazvReader::Item::End:
        return;
    }
  }
}

DtazvReader::Item detail::DtazvReaderState::Next() {
  switch (phase) {
    case Phase::Start:
      return ReadHeader();
    case Phase::Records:
      return ReadRecord();
    case Phase::AfterTrailer:
      return ReadRest();
    case Phase::Ended:
      break;
  }
  return Item::End;
}

// The length and type of the next record; false when the file has ended before it.
bool detail::DtazvReaderState::TakeHead() {
  ++recordNumber;
  start = Here();
  const std::size_t got = source.Take(record.data(), dtazv::kQHeader.size());
  if (got == 0) return false;
  if (got < dtazv::kQHeader.size()) {
    Ended(Fill(_MsgZvReadCutShort, {std::to_string(got)}));
  }
  return true;
}

// The rest of a record whose head is read.
RecordFields detail::DtazvReaderState::TakeRest(std::size_t length) {
  const std::size_t head = dtazv::kQHeader.size();
  const std::size_t got = source.Take(record.data() + head, length - head);
  if (got < length - head) {
    if (source.Broken()) Fail(DtazvFault::Unreadable, Here(), _MsgZvReadUnreadable);
    Fail(DtazvFault::Truncated, start, Fill(_MsgZvReadCutShort, {std::to_string(head + got)}));
  }
  return RecordFields({record.data(), length}, start, options.tolerant, thisYear, notes);
}

// Records follow each other without separators; a line break between them is
// the mark of a file that went through a text editor or a text transfer.
void detail::DtazvReaderState::SkipLineBreaks() {
  int next = source.Peek();
  if (next != '\r' && next != '\n') return;
  const DtazvPlace place{recordNumber + 1, source.Offset()};
  if (!options.tolerant) Fail(DtazvFault::LineBreaks, place, _MsgZvReadLineBreaks);
  while (next == '\r' || next == '\n') {
    source.Skip();
    next = source.Peek();
  }
  notes.Add(dtazv::ReadNotes::Kind::LineBreak, place, _MsgZvReadLineBreakSkipped);
}

DtazvReader::Item detail::DtazvReaderState::ReadHeader() {
  if (!TakeHead()) Ended(_MsgZvReadEmpty);
  if (Head() != dtazv::kQHeader) {
    Fail(DtazvFault::Structure, start, Fill(_MsgZvReadNoHeader, {ShownBytes(Head())}));
  }
  RecordFields f = TakeRest(dtazv::kQLength);
  const dtazv::QLayout& q = dtazv::kQ;
  DtazvHeader& h = header;
  h.place = start;
  h.blz = f.Digits(q.blz, "Bankleitzahl des Auftraggebers");
  h.konto = f.Digits(q.konto, "Kontonummer des Auftraggebers");
  f.Text(q.name1, "Name des Auftraggebers", h.name1);
  f.Text(q.name2, "Zweite Zeile des Namens des Auftraggebers", h.name2);
  f.Text(q.strasse, "Straße des Auftraggebers", h.strasse);
  f.Text(q.ort, "Ort des Auftraggebers", h.ort);
  h.erstellungsdatum = f.Date(q.erstellDatum, "Erstellungsdatum");
  h.lfdNummer = static_cast<std::int32_t>(f.Digits(q.lfdNummer, "Laufende Nummer"));
  h.ausfuehrungsdatum = f.DateOrBlank(q.ausfuehrungsdatum, "Ausführungsdatum");
  f.Literal(q.awvMeldung, "N", "Kennzeichen der AWV-Meldung");
  h.bundeslandschluessel =
      static_cast<std::int32_t>(f.Digits(q.bundeslandschluessel, "Bundeslandschlüssel"));
  h.firmennummer = static_cast<std::int32_t>(f.Digits(q.firmennummer, "Firmennummer"));
  f.Blank(q.reserved, "Reserve");
  phase = Phase::Records;
  return Item::Header;
}

// After the Q record: the reports the last T record announced, another T
// record or the Z record.
DtazvReader::Item detail::DtazvReaderState::ReadRecord() {
  SkipLineBreaks();
  const bool reportDue = reportsRead < reportsDue;
  if (!TakeHead()) {
    if (reportDue) Ended(Fill(_MsgZvReadNoReport, {std::to_string(reportsDue)}));
    Ended(_MsgZvReadNoTrailer);
  }
  const std::string_view head = Head();
  if (reportDue) {
    if (head == dtazv::kVHeader || head == dtazv::kWHeader) return ReadReport();
    Fail(DtazvFault::Structure, start,
         Fill(_MsgZvReadReportExpected,
              {ShownBytes(head), std::to_string(reportsRead + 1), std::to_string(reportsDue)}));
  }
  if (head == dtazv::kTHeader) return ReadPayment();
  if (head == dtazv::kZHeader) return ReadTrailer();
  Fail(DtazvFault::Structure, start, Fill(_MsgZvReadRecordHead, {ShownBytes(head)}));
}

DtazvReader::Item detail::DtazvReaderState::ReadPayment() {
  RecordFields f = TakeRest(dtazv::kTLength);
  DtazvPayment& p = payment;
  p.place = start;
  ReadPaymentBanks(f, p);
  ReadPaymentOrder(f, p);
  ReadPaymentKeys(f, p);
  reportsDue = p.anzahlMeldungen;
  reportsRead = 0;
  ++countedPayments;
  countedUnits =
      std::min(countedUnits + p.BetragVorKomma(), limits::dtazv::kMaxUnitSum + std::int64_t{1});
  return Item::Payment;
}

// The client's account, the date, the banks and the payee.
void detail::DtazvReaderState::ReadPaymentBanks(RecordFields& f, DtazvPayment& p) {
  const dtazv::TLayout& t = dtazv::kT;
  p.auftraggeberBLZ = f.Digits(t.blz, "Bankleitzahl des Auftraggebers");
  f.Currency(t.kontoWaehrung, "Währung des Kontos", false, p.kontoWaehrung);
  p.auftraggeberKonto = f.Digits(t.konto, "Kontonummer des Auftraggebers");
  p.ausfuehrungsdatum = f.DateOrBlank(t.datum, "Ausführungsdatum");
  p.otherBLZ = f.DigitsOrBlank(t.otherBLZ, "Zweite Bankleitzahl");
  f.Currency(t.otherWaehrung, "Zweite Währung", true, p.otherWaehrung);
  p.otherKonto = f.DigitsOrBlank(t.otherKonto, "Zweite Kontonummer");
  f.Code(t.bic, "BIC", CodeChars::Alphanumerics, p.bic);
  f.Code(t.otherLaendercode, "Zweiter Ländercode", CodeChars::Letters, p.otherLaendercode);
  for (std::size_t i = 0; i < p.otherAddress.size(); ++i) {
    f.Text(Nth(t.otherAddress, dtazv::kLineWidth, i), "Zweite Anschrift", p.otherAddress[i]);
  }
  f.Code(t.laendercode, "Ländercode", CodeChars::Letters, p.laendercode);
  f.Blank(t.laendercodeFill, "Stelle nach dem Ländercode");
  f.Text(t.name1, "Name des Empfängers", p.name1);
  f.Text(t.name2, "Zweite Zeile des Namens des Empfängers", p.name2);
  f.Text(t.strasse, "Straße des Empfängers", p.strasse);
  f.Text(t.ortLand, "Ort und Land des Empfängers", p.ortLand);
  f.Blank(t.reserved1, "Reserve");
  f.Literal(t.ibanSlash, "/", "Zeichen vor der IBAN");
  f.Code(t.iban, "IBAN", CodeChars::Alphanumerics, p.iban);
}

// Currency, amount and purpose.
void detail::DtazvReaderState::ReadPaymentOrder(RecordFields& f, DtazvPayment& p) {
  const dtazv::TLayout& t = dtazv::kT;
  f.Currency(t.waehrung, "Währung des Auftrags", false, p.waehrung);
  const std::int64_t units = f.Digits(t.vorKomma, "Betrag (ganze Einheiten)");
  const std::int64_t hundredths = f.Digits(t.nachKomma, "Betrag (Hundertstel)");
  // A thousandth cannot be handed over in hundredths: refused, not rounded.
  if (f.Digits(t.nachKommaFill, "Dritte Nachkommastelle") != 0) {
    f.Fail(DtazvFault::Structure, t.nachKommaFill,
           Fill(_MsgZvReadThirdDecimal,
                {f.Positions(t.nachKommaFill), ShownBytes(f.At(t.nachKommaFill))}));
  }
  p.betrag = units * 100 + hundredths;
  for (std::size_t i = 0; i < p.verwendungszweck.size(); ++i) {
    f.Text(t.purpose[i], "Verwendungszweck", p.verwendungszweck[i]);
  }
}

// Keys, the client's own texts and the reports that follow.
void detail::DtazvReaderState::ReadPaymentKeys(RecordFields& f, DtazvPayment& p) {
  const dtazv::TLayout& t = dtazv::kT;
  for (std::size_t i = 0; i < p.weisungsschluessel.size(); ++i) {
    p.weisungsschluessel[i] = static_cast<std::int32_t>(
        f.DigitsOrBlank(Nth(t.zeros1, limits::dtazv::kKeyDigits, i), "Weisungsschlüssel"));
  }
  f.Text(t.reserved2, "Zusatz zu den Weisungsschlüsseln", p.weisungszusatz);
  p.entgeltregelung = static_cast<std::int32_t>(f.DigitsOrBlank(t.zeros2, "Entgeltregelung"));
  p.zahlungsArtSchluessel =
      static_cast<std::int32_t>(f.Digits(t.zahlungsArtSchluessel, "Zahlungsartschlüssel"));
  f.Text(t.notizIntern, "Interne Notiz", p.notizIntern);
  f.Text(t.ansprechpartner, "Ansprechpartner", p.ansprechpartner);
  f.Blank(t.reserved3, "Reserve");
  p.anzahlMeldungen =
      static_cast<std::int32_t>(f.Digits(t.anzahlMeldungen, "Anzahl der Meldesätze"));
  const std::string_view flag = p.anzahlMeldungen != 0 ? "1" : "0";
  if (f.At(t.meldungen) != flag) {
    f.Fail(DtazvFault::Structure, t.meldungen,
           Fill(_MsgZvReadReportFlag, {f.Positions(t.meldungen), ShownBytes(f.At(t.meldungen)),
                                       std::to_string(p.anzahlMeldungen), ShownBytes(flag)}));
  }
}

DtazvReader::Item detail::DtazvReaderState::ReadReport() {
  RecordFields f = TakeRest(dtazv::kReportLength);
  report.place = start;
  report.satzart = Head()[dtazv::kReport.recordType.offset];
  f.Text(dtazv::kReport.content, "Inhalt des Meldesatzes", report.text);
  ++reportsRead;
  return Item::Report;
}

DtazvReader::Item detail::DtazvReaderState::ReadTrailer() {
  RecordFields f = TakeRest(dtazv::kZLength);
  const dtazv::ZLayout& z = dtazv::kZ;
  trailer.place = start;
  trailer.stated.summeVorKomma = f.Digits(z.summeVorKomma, "Summe der Beträge");
  trailer.stated.anzahl = f.Digits(z.anzahl, "Anzahl der Datensätze T");
  f.Blank(z.reserved, "Reserve");
  trailer.counted = {countedUnits, countedPayments};
  if (trailer.stated != trailer.counted) {
    Fail(DtazvFault::Totals, start, TotalsText(trailer.stated, trailer.counted));
  }
  phase = Phase::AfterTrailer;
  return Item::Trailer;
}

// After the Z record only padding may follow: DOS programs filled files with
// Ctrl-Z, NUL bytes or blanks.
DtazvReader::Item detail::DtazvReaderState::ReadRest() {
  SkipLineBreaks();
  const DtazvPlace restStart{recordNumber + 1, source.Offset()};
  std::uint64_t padding = 0;
  for (int next = source.Peek(); next >= 0; next = source.Peek()) {
    const bool tolerated = next == 0x1A || next == 0 || next == ' ' ||
                           (options.tolerant && (next == '\r' || next == '\n'));
    if (!tolerated) {
      const char byte = static_cast<char>(next);
      Fail(DtazvFault::TrailingBytes, {recordNumber + 1, source.Offset()},
           Fill(_MsgZvReadTrailingBytes, {ShownBytes({&byte, 1})}));
    }
    source.Skip();
    ++padding;
  }
  if (source.Broken()) Fail(DtazvFault::Unreadable, restStart, _MsgZvReadUnreadable);
  if (padding != 0) {
    notes.Add(dtazv::ReadNotes::Kind::Padding, restStart,
              Fill(_MsgZvReadPadding, {std::to_string(padding)}));
  }
  notes.Close({recordNumber + 1, source.Offset()});
  phase = Phase::Ended;
  return Item::End;
}

}  // namespace zor
