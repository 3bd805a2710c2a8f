#include "dtazv/Records.h"

#include <cmath>
#include <cstring>

#include "core/RecordWriter.h"
#include "zordta/host/SysUtils.h"

namespace zor::detail::dtazv {
namespace {

using detail::RecordWriter;

// The date as "yymmdd", as FormatDateTime writes it.
void ShortDate(RecordWriter& r, Field field, TDate date) {
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  const auto value = static_cast<std::uint64_t>((year % 100) * 10'000 + month * 100 + day);
  r.Digits(field, value);
}

// A T record with the fields that are the same in every one: its header, the
// other bank's empty fields, the slash before the IBAN, the zero fields and
// every reserved one; the text fields blank. Copied whole, so a booking writes
// only what is its own.
constexpr TRecordBuffer MakeTTemplate() {
  TRecordBuffer record{};
  for (char& c : record) c = ' ';
  const auto fill = [&record](Field field, char c) {
    for (std::size_t i = 0; i < field.width; ++i) record[field.offset + i] = c;
  };
  for (std::size_t i = 0; i < kTHeader.size(); ++i) record[i] = kTHeader[i];
  fill(kT.otherBLZ, '0');
  fill(kT.otherKonto, '0');
  fill(kT.ibanSlash, '/');
  fill(kT.nachKommaFill, '0');
  fill(kT.zeros1, '0');
  fill(kT.zeros2, '0');
  return record;
}

constexpr TRecordBuffer kTTemplate = MakeTTemplate();

}  // namespace

AnsiString BuildQRecord(const QRecordFields& f) {
  AnsiString record(kQLength, ' ');
  RecordWriter r(record.data());
  r.Text(Joined(kQ.recordLength, kQ.recordType), kQHeader);
  r.Digits(kQ.blz, static_cast<std::uint64_t>(f.auftraggeberBLZ));
  r.Digits(kQ.konto, static_cast<std::uint64_t>(f.auftraggeberKontoNr));
  r.Text(kQ.name1, f.name1);
  r.Text(kQ.name2, f.name2);
  r.Text(kQ.strasse, f.strasse);
  r.Text(kQ.ort, f.ort);
  r.Text(kQ.erstellDatum, FormatDateTime("yymmdd", f.erstellDatum));
  r.Digits(kQ.lfdNummer, static_cast<std::uint64_t>(f.lfdNummer));
  r.Text(kQ.ausfuehrungsdatum, FormatDateTime("yymmdd", f.ausfuehrungsdatum));
  r.Text(kQ.awvMeldung, "N");
  r.Digits(kQ.bundeslandschluessel, static_cast<std::uint64_t>(f.bundeslandschluessel));
  r.Digits(kQ.firmennummer, static_cast<std::uint64_t>(f.firmennummer));
  r.Blanks(kQ.reserved);
  return record;
}

std::string_view BuildTRecord(const TRecordFields& f, TRecordBuffer& record) {
  std::memcpy(record.data(), kTTemplate.data(), kTLength);
  RecordWriter r(record.data());
  r.Digits(kT.blz, static_cast<std::uint64_t>(f.auftraggeberBLZ));
  r.TextOnBlanks(kT.kontoWaehrung, f.kontoWaehrung);
  r.Digits(kT.konto, static_cast<std::uint64_t>(f.auftraggeberKontoNr));
  ShortDate(r, kT.datum, f.datum);
  r.TextOnBlanks(kT.bic, f.bic);
  r.TextOnBlanks(kT.laendercode, f.laendercode);
  r.TextOnBlanks(kT.name1, f.name1);
  r.TextOnBlanks(kT.name2, f.name2);
  r.TextOnBlanks(kT.strasse, f.strasse);
  r.TextOnBlanks(kT.ortLand, f.ortLand);
  r.TextOnBlanks(kT.iban, f.iban);
  r.TextOnBlanks(kT.waehrung, f.waehrung);
  r.Digits(kT.vorKomma, static_cast<std::uint64_t>(f.vorKomma));
  r.Digits(kT.nachKomma, static_cast<std::uint64_t>(f.nachKomma));
  for (std::size_t i = 0; i < f.purposeLines.size(); ++i) {
    r.TextOnBlanks(kT.purpose[i], f.purposeLines[i]);
  }
  r.Digits(kT.zahlungsArtSchluessel, static_cast<std::uint64_t>(f.zahlungsArtSchluessel));
  r.TextOnBlanks(kT.notizIntern, f.notizIntern);
  r.TextOnBlanks(kT.ansprechpartner, f.ansprechpartner);
  r.TextOnBlanks(kT.meldungen, f.anzahlMeldungen != 0 ? "1" : "0");
  r.Digits(kT.anzahlMeldungen, static_cast<std::uint64_t>(f.anzahlMeldungen));
  return {record.data(), kTLength};
}

AnsiString BuildZRecord(const ZRecordFields& f) {
  AnsiString record(kZLength, ' ');
  RecordWriter r(record.data());
  r.Text(Joined(kZ.recordLength, kZ.recordType), kZHeader);
  r.Digits(kZ.summeVorKomma, static_cast<std::uint64_t>(f.summeVorKomma));
  r.Digits(kZ.anzahl, static_cast<std::uint64_t>(f.anzahl));
  r.Blanks(kZ.reserved);
  return record;
}

bool SplitAmount(double betrag, std::int64_t& vorKomma, std::int32_t& nachKomma) {
  if (!std::isfinite(betrag) || betrag < 0 || betrag >= 1e15) return false;
  const double whole = std::trunc(betrag);
  const double scaled = (betrag - whole) * 100;
  // To nearest, an exact half to the even neighbour; spelled out rather than left
  // to the floating-point environment, which a host may have changed.
  double rounded = std::round(scaled);  // an exact half goes up here
  if (rounded - scaled == 0.5 && std::fmod(rounded, 2) != 0) rounded -= 1;
  auto hundredths = static_cast<std::int32_t>(rounded);
  auto units = static_cast<std::int64_t>(whole);
  if (hundredths == 100) {
    hundredths = 0;
    ++units;
  }
  if (units > limits::dtazv::kMaxUnits) return false;
  vorKomma = units;
  nachKomma = hundredths;
  return true;
}

}  // namespace zor::detail::dtazv
