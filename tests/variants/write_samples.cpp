// Writes the same set of DTAUS and DTAZV files and cover-sheet texts with whichever
// deliverable it is linked against, so the three deliverables' outputs can be
// compared byte for byte. Cover sheets are written as UTF-8, so the 8-bit
// deliverable's text compares with the wide ones'.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/Text.h"
#include "zordta/host/Volumes.h"

namespace {

void WriteUtf8(const std::string& folder, const char* fileName, const zor::String& text) {
  std::ofstream out(std::filesystem::path(folder) / fileName, std::ios::binary);
  out << zor::StringToUtf8(text);
  if (!out.flush()) throw std::runtime_error(std::string("cannot write ") + fileName);
}

void Write(const std::string& folder, const char* fileName, bool lastschriften,
           bool abbuchungsauftrag, const char* customKey) {
  zor::TZorDTA dta(nullptr);
  dta.SetPath(zor::StringFromUtf8(folder));
  dta.SetDTAFilename(zor::StringFromUtf8(fileName));
  dta.SetAuftraggeberName(zor::Utf8ToAnsi("Bäckerei Größe & Söhne"));
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(532013000);
  dta.SetLastschriften(lastschriften);
  dta.SetAbbuchungsauftrag(abbuchungsauftrag);
  dta.SetZahlungsschluessel(customKey);
  dta.SetAusfuehrungsdatum(zor::EncodeDate(2026, 12, 18));
  dta.Start();
  zor::TStringList lines;
  lines.Add(zor::StringFromUtf8("Straße 5a, Müller (Köln)"));
  lines.Add(zor::StringFromUtf8("  "));
  lines.Add(zor::StringFromUtf8("ÄÖÜ äöü ß € [x] ~y~"));
  dta.Buchung(zor::Utf8ToAnsi("Jürgen Weiß"), 1234567890, 50010517, 12.125, lines);
  zor::TStringList single;
  single.Add(zor::StringFromUtf8("Eine einzige sehr lange Zeile mit Überlänge für den Zweck"));
  dta.Buchung(zor::Utf8ToAnsi("Ärztekammer"), 987654, 10020030, 999.995, single);
  zor::TStringList many;
  for (int i = 1; i <= 14; ++i) many.Add(zor::StringFromUtf8("Zeile " + std::to_string(i)));
  dta.Buchung(zor::Utf8ToAnsi("Öko Gärtnerei"), 44556677, 70020270, 1.0, many);
  dta.Finish();
  if (!lastschriften && !*customKey) {
    WriteUtf8(folder, "begleitzettel-dtaus.txt", dta.Begleitzettel());
  }
}

void WriteZV(const std::string& folder) {
  zor::TZorDTAZV zv(nullptr);
  zv.SetPath(zor::StringFromUtf8(folder));
  zv.SetDTAFilename(zor::StringFromUtf8("DTAZV"));
  zv.SetAuftraggeberName(zor::Utf8ToAnsi("Bäckerei Größe & Söhne"));
  zv.SetAuftraggeberName2(zor::Utf8ToAnsi("Außenhandel"));
  zv.SetAuftraggeberStrasse(zor::Utf8ToAnsi("Königstraße 5"));
  zv.SetAuftraggeberOrt(zor::Utf8ToAnsi("München"));
  zv.SetAuftraggeberBLZ(37040044);
  zv.SetAuftraggeberKontoNr(532013000);
  zv.SetBundeslandschluessel(9);
  zv.SetFirmennummer(1234567);
  zv.Start(3);
  zor::TStringList lines;
  lines.Add(zor::StringFromUtf8("Rechnung Nr. 17 für Größe"));
  lines.Add(zor::StringFromUtf8("Zoll: ÄÖÜ äöü ß"));
  zv.Buchung(zor::Utf8ToAnsi("DEUTDEFF"), zor::Utf8ToAnsi("DE89370400440532013000"),
             zor::Utf8ToAnsi("Jürgen Weiß"), zor::Utf8ToAnsi("Büro Zürich"),
             zor::Utf8ToAnsi("Bahnhofstraße 1"), zor::Utf8ToAnsi("Zürich, Schweiz"),
             zor::Utf8ToAnsi("CH"), 12345.67, lines, zor::EncodeDate(2026, 12, 21),
             zor::Utf8ToAnsi("Notiz: Größe"), zor::Utf8ToAnsi("Frau Müller"));
  zor::TStringList single;
  single.Add(zor::StringFromUtf8("Lieferung Köln-Übersee"));
  zv.Buchung(zor::Utf8ToAnsi("BNPAFRPP"), zor::Utf8ToAnsi("FR1420041010050500013M02606"),
             zor::Utf8ToAnsi("Société Générale Œuvre"), zor::Utf8ToAnsi("Rue de l'Été 3"),
             zor::Utf8ToAnsi("Paris"), 999.995, single, zor::EncodeDate(2026, 12, 14));
  zv.Finish();
  WriteUtf8(folder, "begleitzettel-dtazv.txt", zv.Begleitzettel());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  // Pinned, so that every deliverable writes the same dates.
  zor::SetClock([] { return zor::EncodeDate(2026, 12, 8) + 0.5; });
  zor::SetVolumeLabelSource([](const zor::String&) { return zor::StringFromUtf8("ZAHL01"); });
  zor::FormatSettings().DateSeparator = '.';
  zor::FormatSettings().ShortDateFormat = "dd/mm/yyyy";
  const std::string folder = argv[1];
  try {
    // A fresh folder, so that a file from an earlier run can never pass for this run's.
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Write(folder, "DTAUS0.TXT", false, false, "");
    Write(folder, "lastschrift.dta", true, false, "");
    Write(folder, "abbuchung.dta", true, true, "");
    Write(folder, "eigener-schluessel.dta", false, false, "53000");
    WriteZV(folder);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
