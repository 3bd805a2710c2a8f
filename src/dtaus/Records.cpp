#include "dtaus/Records.h"

#include <cmath>

#include "core/RecordWriter.h"
#include "zordta/host/SysUtils.h"

namespace zor::detail::dtaus {
namespace {

AnsiString Blanks(std::size_t count) {
  return AnsiString(count, ' ');
}

using detail::RecordWriter;

// Purpose line i (0-based) of the record, or nothing.
const std::string_view* LineAt(const CRecordFields& fields, std::size_t i) {
  return i < fields.purposeLines.size() ? &fields.purposeLines[i] : nullptr;
}

// "02" and the line, or 29 blanks for a slot without one.
void ExtensionSlot(RecordWriter& r, const std::string_view* line) {
  if (!line) {
    r.Blanks(2 + kTextFieldWidth);
    return;
  }
  r.Text("02");
  r.Field(*line, kTextFieldWidth);
}

}  // namespace

// Record A, 128 bytes:
//   1  "0128A"         6 kind LK/GK        8 client's bank code %8d
//  16 "00000000"      24 client's name %-27.27s   51 file date ddmmyy
//  57 diskette no.    61 client's account %.10d  71 "0000000000"
//  81 15 blanks       96 execution date ddmmyyyy or 8 blanks
// 104 24 blanks      128 currency "1"
AnsiString BuildARecord(const ARecordFields& f) {
  AnsiString r;
  r.reserve(kPartLength);
  r += "0128A";
  r += f.kind;
  r += Format("%8d", {f.auftraggeberBLZ});
  r += "00000000";
  r += Format("%-27.27s", {f.auftraggeberName});
  r += FormatDateTime("ddmmyy", f.fileDate);
  r += f.diskettenNummer;
  r += Format("%.10d", {f.auftraggeberKontoNr});
  r += "0000000000";
  r += Blanks(15);
  r += f.ausfuehrungsdatum == 0 ? Blanks(8) : FormatDateTime("ddmmyyyy", f.ausfuehrungsdatum);
  r += Blanks(24);
  r += "1";
  return r;
}

// Record C, two to six parts of 128 bytes. First part:
//   1 length %.4d + "C"   6 "00000000"        14 bank code %.8d
//  22 account %.10d      32 13 zeros          45 key (2) + extension (3)
//  50 blank              51 11 zeros          62 client's bank code %.8d
//  70 client's account %.10d                  80 amount in cents, 11 digits
//  91 3 blanks           94 name %-27.27s    121 8 blanks
// Second part: 129 client's name, 156 purpose line 1, 183 "1", 184 2 blanks,
// 186 extension count %.2d, 188 "02" + line 2, 217 "02" + line 3, 246 11 blanks.
// Further parts: four slots "02" + line (or 29 blanks), then 12 blanks.
std::string_view BuildCRecord(const CRecordFields& f, CRecordBuffer& record) {
  const auto lineCount = static_cast<int>(f.purposeLines.size());
  const int extensions = lineCount - 1;
  const int parts = extensions <= 2 ? 2 : 2 + (extensions - 2 + 3) / 4;

  RecordWriter r(record.data());
  r.Digits(static_cast<std::uint64_t>(187 + 29 * extensions), 4);
  r.Text("C");
  r.Text("00000000");
  r.Digits(static_cast<std::uint64_t>(f.blz), 8);
  r.Digits(static_cast<std::uint64_t>(f.konto), 10);
  r.Text("0000000000000");
  r.Field(f.key, 5);
  r.Text(" ");
  r.Text("00000000000");
  r.Digits(static_cast<std::uint64_t>(f.auftraggeberBLZ), 8);
  r.Digits(static_cast<std::uint64_t>(f.auftraggeberKontoNr), 10);
  r.Digits(static_cast<std::uint64_t>(f.betragCent), 11);
  r.Blanks(3);
  r.Field(f.name, kTextFieldWidth);
  r.Blanks(8);

  r.Field(f.auftraggeberName, kTextFieldWidth);
  r.Field(*LineAt(f, 0), kTextFieldWidth);
  r.Text("1");
  r.Blanks(2);
  r.Digits(static_cast<std::uint64_t>(extensions), 2);
  if (extensions == 0) {
    r.Blanks(69);
  } else {
    ExtensionSlot(r, LineAt(f, 1));
    ExtensionSlot(r, LineAt(f, 2));
    r.Blanks(11);
  }

  for (int part = 2; part < parts; ++part) {
    const auto first = static_cast<std::size_t>(3 + (part - 2) * 4);
    for (std::size_t slot = 0; slot < 4; ++slot) ExtensionSlot(r, LineAt(f, first + slot));
    r.Blanks(12);
  }
  return r.Written();
}

// Record E, 128 bytes:
//   1 "0128E"        6 5 blanks          11 count %.7d
//  18 13 zeros      31 sum of accounts %.17d    48 sum of bank codes %.17d
//  65 sum of amounts in cents, 13 digits        78 51 blanks
AnsiString BuildERecord(const ERecordFields& f) {
  AnsiString r;
  r.reserve(kPartLength);
  r += "0128E";
  r += Blanks(5);
  r += Format("%.7d", {f.count});
  r += "0000000000000";
  r += Format("%.17d", {f.summeKontonummer});
  r += Format("%.17d", {f.summeBLZ});
  r += Format("%.13d", {f.summeBetragCent});
  r += Blanks(51);
  return r;
}

AnsiString FileKind(bool lastschriften, const AnsiString& customKey) {
  if ((lastschriften && customKey.empty()) || customKey == "04000" || customKey == "05000") {
    return "LK";
  }
  return "GK";
}

AnsiString PaymentKey(bool lastschriften, bool abbuchungsauftrag, const AnsiString& customKey) {
  if (customKey.size() == 5) return customKey;
  if (!lastschriften) return "51000";
  return abbuchungsauftrag ? "04000" : "05000";
}

bool AmountToCent(double betrag, std::int64_t& cent) {
  if (!std::isfinite(betrag) || betrag < 0 || betrag >= 1e12) return false;
  // The cents as Format's "%.2f" shows them: rounded from the exact binary value,
  // an exact half away from zero. betrag * 100 is rounded once; fma yields the
  // exact error of that rounding, so the half is decided on the exact product.
  const double scaled = betrag * 100;
  const double error = std::fma(betrag, 100, -scaled);
  const double whole = std::floor(scaled);
  // Exact: below 2^52, scaled, whole and 0.5 all lie on the grid of scaled's last place.
  const bool roundUp = scaled - whole - 0.5 >= -error;
  const std::int64_t value = static_cast<std::int64_t>(whole) + (roundUp ? 1 : 0);
  if (value > kMaxAmountCent) return false;
  cent = value;
  return true;
}

}  // namespace zor::detail::dtaus
