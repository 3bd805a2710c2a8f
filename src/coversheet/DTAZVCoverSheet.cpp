// The cover sheet of a DTAZV file, as text and as a printed page.
#include "coversheet/CoverSheetTexts.h"
#include "coversheet/CoverSheets.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor::detail::coversheet {

namespace {

String U(const char* utf8) {
  return StringFromUtf8(utf8);
}

constexpr const char* kErsterTermin = "Erster Ausfuehrungstermin: ";
constexpr const char* kKeineMeldung =
    "Keine AWV-Meldung durch Kreditinsitut, Keine AWV-Meldung beigefuegt.";

}  // namespace

String DtazvText(const DtazvFigures& f) {
  const String waehrung = AnsiToString(f.waehrungscode);
  std::vector<String> lines;
  if (!f.fileName.empty()) {
    lines.push_back(U(kDateiname) + f.fileName);
    lines.push_back(U(kDiskettenNr) + f.volumeLabel);
  }
  lines.push_back(U(kDatum) + DateToStr(Date()));
  lines.push_back(U(kErsterTermin) + DateToStr(f.erstesDatum));
  lines.push_back(U(kKeineMeldung));
  lines.push_back(Format(U("Anzahl Datensaetze T: %d"), {f.anzahlBuchungen}));
  lines.push_back(Format(U("Summe Datensaetze T: %d"), {f.summeBetragVorKomma}));
  if (!f.multiWaehrung) {
    lines.push_back(U("Auftragswaehrung: ") + waehrung);
    lines.push_back(Format(U("Betragssumme: %d"), {f.summeBetragVorKomma}));
    lines.push_back(Format(U("Zu Lasten des Kontos: %d"), {f.auftraggeberKontoNr}));
    lines.push_back(U("Kontowaehrung: ") + waehrung);
  }
  lines.push_back(U(kAbsenderText) + Format(U("%s, %s"), {AnsiToString(f.auftraggeberName),
                                                          AnsiToString(f.auftraggeberOrt)}));
  return JoinLines(lines);
}

// Positions in 0.1 mm from the top-left corner of the printable area, y upwards.
void PrintDtazv(const DtazvFigures& f, std::uint32_t copies) {
  PrintPage(copies, [&f](TCanvas& canvas) {
    const String waehrung = AnsiToString(f.waehrungscode);
    const auto row = [&canvas](std::int32_t y, const String& label, const String& value) {
      canvas.TextOut(kLabelX, y, label);
      canvas.TextOut(kValueX, y, value);
    };
    canvas.TextOut(kLabelX, -200, U(kTitle) + DateToStr(Date()));
    String fileLine = U("Datei ");
    if (!f.fileName.empty()) fileLine += f.fileName + U(" ");
    fileLine += U("fuer beleglosen Datenträgeraustausch DTAZV");
    canvas.TextOut(kLabelX, -260, fileLine);
    canvas.MoveTo(250, -350);
    canvas.LineTo(1600, -350);
    if (!f.fileName.empty()) row(-400, U(kDiskettenNr), f.volumeLabel);
    row(-450, U("Erster Ausfuehrungstermin:"), DateToStr(f.erstesDatum));
    canvas.TextOut(kLabelX, -550, U(kKeineMeldung));
    row(-650, U("Anzahl Datensaetze T: "), Format(U("%d"), {f.anzahlBuchungen}));
    const String sumLabel = f.multiWaehrung ? U("Summe Datensaetze T: ")
                                            : U("Summe Datensaetze T (") + waehrung + U("): ");
    row(-700, sumLabel, Format(U("%d"), {f.summeBetragVorKomma}));
    if (!f.multiWaehrung) {
      row(-750, U("Auftragswaehrung: "), waehrung);
      row(-800, U("Betragssumme: "), Format(U("%d"), {f.summeBetragVorKomma}));
      row(-850, U("Zu Lasten des Kontos: "), Format(U("%d"), {f.auftraggeberKontoNr}));
      row(-900, U("Kontowaehrung: "), waehrung);
    }
    row(-1000, U("Absender:"),
        AnsiToString(f.auftraggeberName) + U(", ") + AnsiToString(f.auftraggeberOrt));
    canvas.MoveTo(400, -1300);
    canvas.LineTo(1000, -1300);
    canvas.SetFontHeight(kSmallFontHeight);
    canvas.TextOut(600, -1310, U(kUnterschrift));
  });
}

}  // namespace zor::detail::coversheet
