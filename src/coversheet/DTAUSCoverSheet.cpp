// The cover sheet of a DTAUS file, as text and as a printed page.
#include "coversheet/CoverSheetTexts.h"
#include "coversheet/CoverSheets.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor::detail::coversheet {

namespace {

String U(const char* utf8) {
  return StringFromUtf8(utf8);
}

}  // namespace

String DtausText(const DtausFigures& f) {
  std::vector<String> lines;
  if (!f.fileName.empty()) {
    lines.push_back(U(kDateiname) + f.fileName);
    lines.push_back(U(kDiskettenNr) + f.volumeLabel);
  }
  lines.push_back(U(kDatum) + DateToStr(Date()));
  lines.push_back(Format(U("Anzahl Datensätze C: %d"), {f.anzahlBuchungen}));
  lines.push_back(Format(U("Summe Datensätze C (EUR): %1.2f"), {f.summeBetrag}));
  lines.push_back(Format(U("Summe Kontonummern: %.17d"), {f.summeKontonummer}));
  lines.push_back(Format(U("Summe Bankleitzahlen: %.17d"), {f.summeBLZ}));
  lines.push_back(Format(U("Bankleitzahl Absenderbank: %d"), {f.auftraggeberBLZ}));
  lines.push_back(Format(U("Kontonummer Absender: %d"), {f.auftraggeberKontoNr}));
  lines.push_back(U(kAbsenderText) + AnsiToString(f.auftraggeberName));
  return JoinLines(lines);
}

// Positions in 0.1 mm from the top-left corner of the printable area, y upwards.
void PrintDtaus(const DtausFigures& f, std::uint32_t copies) {
  PrintPage(copies, [&f](TCanvas& canvas) {
    const auto row = [&canvas](std::int32_t y, const char* label, const String& value) {
      canvas.TextOut(kLabelX, y, U(label));
      canvas.TextOut(kValueX, y, value);
    };
    canvas.TextOut(kLabelX, -200, U(kTitle) + DateToStr(Date()));
    String fileLine = U("Datei ");
    if (!f.fileName.empty()) fileLine += f.fileName + U(" ");
    fileLine += U(f.lastschriften ? "für Lastschriften" : "für Gutschriften (Überweisungen)");
    canvas.TextOut(kLabelX, -260, fileLine);
    canvas.MoveTo(250, -400);
    canvas.LineTo(1600, -400);
    if (!f.fileName.empty()) row(-440, "Disketten-Nr:", f.volumeLabel);
    row(-500, "Anzahl Datensätze C:", Format(U("%d"), {f.anzahlBuchungen}));
    row(-560, "Summe Datensätze C:", Format(U("%1.2f"), {f.summeBetrag}));
    row(-640, "Summe Kontonummern:", Format(U("%.17d"), {f.summeKontonummer}));
    row(-700, "Summe Bankleitzahlen:", Format(U("%.17d"), {f.summeBLZ}));
    row(-800, "Bankleitzahl Absenderbank:", Format(U("%d"), {f.auftraggeberBLZ}));
    row(-860, "Kontonummer Absender:", Format(U("%d"), {f.auftraggeberKontoNr}));
    row(-920, "Absender:", AnsiToString(f.auftraggeberName));
    canvas.MoveTo(500, -1200);
    canvas.LineTo(1100, -1200);
    canvas.SetFontHeight(kSmallFontHeight);
    canvas.TextOut(700, -1210, U(kUnterschrift));
  });
}

}  // namespace zor::detail::coversheet
