// The cover sheet of a DTAZV file, as text and as a printed page.
#include "coversheet/CoverSheetTexts.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/Text.h"

namespace zor {

namespace cs = detail::coversheet;

namespace {

String U(const char* utf8) {
  return StringFromUtf8(utf8);
}

constexpr const char* kErsterTermin = "Erster Ausfuehrungstermin: ";
constexpr const char* kKeineMeldung =
    "Keine AWV-Meldung durch Kreditinsitut, Keine AWV-Meldung beigefuegt.";

}  // namespace

String TZorDTAZV::GetBegleitzettel() const {
  const String waehrung = AnsiToString(fWaehrungscode);
  std::vector<String> lines;
  if (!fDTAFilename.empty()) {
    lines.push_back(U(cs::kDateiname) + fDTAFilename);
    lines.push_back(U(cs::kDiskettenNr) + GetVolumeLabel(fPath));
  }
  lines.push_back(U(cs::kDatum) + DateToStr(Date()));
  lines.push_back(U(kErsterTermin) + DateToStr(fErstesDatum));
  lines.push_back(U(kKeineMeldung));
  lines.push_back(Format(U("Anzahl Datensaetze T: %d"), {fAnzahlBuchungen}));
  lines.push_back(Format(U("Summe Datensaetze T: %d"), {fSummeBetragVorKomma}));
  if (!fMultiWaehrung) {
    lines.push_back(U("Auftragswaehrung: ") + waehrung);
    lines.push_back(Format(U("Betragssumme: %d"), {fSummeBetragVorKomma}));
    lines.push_back(Format(U("Zu Lasten des Kontos: %d"), {fAuftraggeberKontoNr}));
    lines.push_back(U("Kontowaehrung: ") + waehrung);
  }
  lines.push_back(U(cs::kAbsenderText) + Format(U("%s, %s"), {AnsiToString(fAuftraggeberName),
                                                              AnsiToString(fAuftraggeberOrt)}));
  return cs::JoinLines(lines);
}

// Positions in 0.1 mm from the top-left corner of the printable area, y upwards.
void TZorDTAZV::PrintBegleitzettel() {
  cs::PrintPage(fAnzahlBegleitzettel, [this](TCanvas& canvas) {
    const String waehrung = AnsiToString(fWaehrungscode);
    const auto row = [&canvas](std::int32_t y, const String& label, const String& value) {
      canvas.TextOut(cs::kLabelX, y, label);
      canvas.TextOut(cs::kValueX, y, value);
    };
    canvas.TextOut(cs::kLabelX, -200, U(cs::kTitle) + DateToStr(Date()));
    String fileLine = U("Datei ");
    if (!fDTAFilename.empty()) fileLine += fDTAFilename + U(" ");
    fileLine += U("fuer beleglosen Datenträgeraustausch DTAZV");
    canvas.TextOut(cs::kLabelX, -260, fileLine);
    canvas.MoveTo(250, -350);
    canvas.LineTo(1600, -350);
    if (!fDTAFilename.empty()) row(-400, U(cs::kDiskettenNr), GetVolumeLabel(fPath));
    row(-450, U("Erster Ausfuehrungstermin:"), DateToStr(fErstesDatum));
    canvas.TextOut(cs::kLabelX, -550, U(kKeineMeldung));
    row(-650, U("Anzahl Datensaetze T: "), Format(U("%d"), {fAnzahlBuchungen}));
    const String sumLabel = fMultiWaehrung ? U("Summe Datensaetze T: ")
                                           : U("Summe Datensaetze T (") + waehrung + U("): ");
    row(-700, sumLabel, Format(U("%d"), {fSummeBetragVorKomma}));
    if (!fMultiWaehrung) {
      row(-750, U("Auftragswaehrung: "), waehrung);
      row(-800, U("Betragssumme: "), Format(U("%d"), {fSummeBetragVorKomma}));
      row(-850, U("Zu Lasten des Kontos: "), Format(U("%d"), {fAuftraggeberKontoNr}));
      row(-900, U("Kontowaehrung: "), waehrung);
    }
    row(-1000, U("Absender:"),
        AnsiToString(fAuftraggeberName) + U(", ") + AnsiToString(fAuftraggeberOrt));
    canvas.MoveTo(400, -1300);
    canvas.LineTo(1000, -1300);
    canvas.SetFontHeight(cs::kSmallFontHeight);
    canvas.TextOut(600, -1310, U(cs::kUnterschrift));
  });
}

}  // namespace zor
