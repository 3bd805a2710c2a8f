#include "dtazv/Records.h"

#include <cmath>

#include "core/RecordWriter.h"
#include "zordta/host/SysUtils.h"

namespace zor::detail::dtazv {
namespace {

AnsiString Blanks(std::size_t count) {
  return AnsiString(count, ' ');
}
AnsiString Line35(const AnsiString& text) {
  return Format("%-35.35s", {text});
}

using detail::RecordWriter;
constexpr std::size_t kLine = 35;

// The date as "yymmdd", as FormatDateTime writes it.
void ShortDate(RecordWriter& r, TDate date) {
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  r.Digits(static_cast<std::uint64_t>(year % 100), 2);
  r.Digits(static_cast<std::uint64_t>(month), 2);
  r.Digits(static_cast<std::uint64_t>(day), 2);
}

}  // namespace

// Q record, 256 bytes:
//   1 "0256Q"           6 client's bank code %.8d     14 client's account %.10d
//  24 name 1 (35)      59 name 2 (35)                 94 street (35)
// 129 town (35)       164 creation date yymmdd      170 running number %.2d
// 172 execution date yymmdd                          178 "N"
// 179 federal-state key %.2d                         181 company number %.8d
// 189 68 blanks
AnsiString BuildQRecord(const QRecordFields& f) {
  AnsiString r;
  r.reserve(kQLength);
  r += "0256Q";
  r += Format("%.8d", {f.auftraggeberBLZ});
  r += Format("%.10d", {f.auftraggeberKontoNr});
  r += Line35(f.name1);
  r += Line35(f.name2);
  r += Line35(f.strasse);
  r += Line35(f.ort);
  r += FormatDateTime("yymmdd", f.erstellDatum);
  r += Format("%.2d", {f.lfdNummer});
  r += FormatDateTime("yymmdd", f.ausfuehrungsdatum);
  r += "N";
  r += Format("%.2d", {f.bundeslandschluessel});
  r += Format("%.8d", {f.firmennummer});
  r += Blanks(68);
  return r;
}

// T record, 768 bytes:
//   1 "0768T"            6 client's bank code %.8d     14 account currency (3)
//  17 client's account %.10d                           27 execution date yymmdd
//  33 "00000000"        41 3 blanks                    44 "0000000000"
//  54 BIC %-11.11s      65 3 blanks                    68 4 x 35 blanks
// 208 country %-2.2s + blank                          211 name 1, 246 name 2,
// 281 street, 316 town and country (35 each)          351 2 x 35 blanks
// 421 "/" + IBAN %-34.34s                             456 order currency (3)
// 459 whole units %.14d                               473 hundredths %.2d + "0"
// 476 purpose lines 1-4 (35 each)                     616 "00000000"
// 624 25 blanks        649 "00"                       651 payment type %.2d
// 653 internal note %-27.27s                          680 contact %-35.35s
// 715 "1" with reports, else "0"                      716 51 blanks
// 767 number of reports %.2d
std::string_view BuildTRecord(const TRecordFields& f, TRecordBuffer& record) {
  RecordWriter r(record.data());
  r.Text("0768T");
  r.Digits(static_cast<std::uint64_t>(f.auftraggeberBLZ), 8);
  r.Text(f.kontoWaehrung);
  r.Digits(static_cast<std::uint64_t>(f.auftraggeberKontoNr), 10);
  ShortDate(r, f.datum);
  r.Text("00000000");
  r.Blanks(3);
  r.Text("0000000000");
  r.Field(f.bic, 11);
  r.Blanks(3);
  r.Blanks(4 * kLine);
  r.Field(f.laendercode, 2);
  r.Blanks(1);
  r.Field(f.name1, kLine);
  r.Field(f.name2, kLine);
  r.Field(f.strasse, kLine);
  r.Field(f.ortLand, kLine);
  r.Blanks(2 * kLine);
  r.Text("/");
  r.Field(f.iban, 34);
  r.Text(f.waehrung);
  r.Digits(static_cast<std::uint64_t>(f.vorKomma), 14);
  r.Digits(static_cast<std::uint64_t>(f.nachKomma), 2);
  r.Text("0");
  for (const std::string_view line : f.purposeLines) r.Field(line, kLine);
  r.Text("00000000");
  r.Blanks(25);
  r.Text("00");
  r.Digits(static_cast<std::uint64_t>(f.zahlungsArtSchluessel), 2);
  r.Field(f.notizIntern, 27);
  r.Field(f.ansprechpartner, kLine);
  r.Text(f.anzahlMeldungen != 0 ? "1" : "0");
  r.Blanks(51);
  r.Digits(static_cast<std::uint64_t>(f.anzahlMeldungen), 2);
  return r.Written();
}

// Z record, 256 bytes: 1 "0256Z", 6 sum of whole units %.15d, 21 count %.15d,
// 36 221 blanks.
AnsiString BuildZRecord(const ZRecordFields& f) {
  AnsiString r;
  r.reserve(kZLength);
  r += "0256Z";
  r += Format("%.15d", {f.summeVorKomma});
  r += Format("%.15d", {f.anzahl});
  r += Blanks(221);
  return r;
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
  if (units > kMaxVorKomma) return false;
  vorKomma = units;
  nachKomma = hundredths;
  return true;
}

}  // namespace zor::detail::dtazv
