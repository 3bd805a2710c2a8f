// The cover sheet of a DTAUS file, as text and as a printed page.
#include "coversheet/CoverSheetTexts.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Text.h"

namespace zor {

namespace cs = detail::coversheet;

namespace {

String U(const char* utf8) {
  return StringFromUtf8(utf8);
}

}  // namespace

String TZorDTA::GetBegleitzettel() const {
  std::vector<String> lines;
  if (!fDTAFilename.empty()) {
    lines.push_back(U(cs::kDateiname) + fDTAFilename);
    lines.push_back(U(cs::kDiskettenNr) + GetVolumeLabel(fPath));
  }
  lines.push_back(U(cs::kDatum) + DateToStr(Date()));
  lines.push_back(Format(U("Anzahl Datensätze C: %d"), {fAnzahlBuchungen}));
  lines.push_back(Format(U("Summe Datensätze C (EUR): %1.2f"), {SummeBetrag()}));
  lines.push_back(Format(U("Summe Kontonummern: %.17d"), {fSummeKontonummer}));
  lines.push_back(Format(U("Summe Bankleitzahlen: %.17d"), {fSummeBLZ}));
  lines.push_back(Format(U("Bankleitzahl Absenderbank: %d"), {fAuftraggeberBLZ}));
  lines.push_back(Format(U("Kontonummer Absender: %d"), {fAuftraggeberKontoNr}));
  lines.push_back(U(cs::kAbsenderText) + AnsiToString(fAuftraggeberName));
  return cs::JoinLines(lines);
}

// Positions in 0.1 mm from the top-left corner of the printable area, y upwards.
void TZorDTA::PrintBegleitzettel() {
  cs::PrintPage(fAnzahlBegleitzettel, [this](TCanvas& canvas) {
    const auto row = [&canvas](std::int32_t y, const char* label, const String& value) {
      canvas.TextOut(cs::kLabelX, y, U(label));
      canvas.TextOut(cs::kValueX, y, value);
    };
    canvas.TextOut(cs::kLabelX, -200, U(cs::kTitle) + DateToStr(Date()));
    String fileLine = U("Datei ");
    if (!fDTAFilename.empty()) fileLine += fDTAFilename + U(" ");
    fileLine += U(fLastschriften ? "für Lastschriften" : "für Gutschriften (Überweisungen)");
    canvas.TextOut(cs::kLabelX, -260, fileLine);
    canvas.MoveTo(250, -400);
    canvas.LineTo(1600, -400);
    if (!fDTAFilename.empty()) row(-440, "Disketten-Nr:", GetVolumeLabel(fPath));
    row(-500, "Anzahl Datensätze C:", Format(U("%d"), {fAnzahlBuchungen}));
    row(-560, "Summe Datensätze C:", Format(U("%1.2f"), {SummeBetrag()}));
    row(-640, "Summe Kontonummern:", Format(U("%.17d"), {fSummeKontonummer}));
    row(-700, "Summe Bankleitzahlen:", Format(U("%.17d"), {fSummeBLZ}));
    row(-800, "Bankleitzahl Absenderbank:", Format(U("%d"), {fAuftraggeberBLZ}));
    row(-860, "Kontonummer Absender:", Format(U("%d"), {fAuftraggeberKontoNr}));
    row(-920, "Absender:", AnsiToString(fAuftraggeberName));
    canvas.MoveTo(500, -1200);
    canvas.LineTo(1100, -1200);
    canvas.SetFontHeight(cs::kSmallFontHeight);
    canvas.TextOut(700, -1210, U(cs::kUnterschrift));
  });
}

}  // namespace zor
