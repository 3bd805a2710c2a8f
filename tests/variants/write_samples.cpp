// Writes the same set of DTAUS files with whichever deliverable it is linked
// against, so the three deliverables' outputs can be compared byte for byte.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "zordta/ZorDTA.h"
#include "zordta/host/Text.h"

namespace {

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
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  // Pinned, so that every deliverable writes the same dates.
  zor::SetClock([] { return zor::EncodeDate(2026, 12, 8) + 0.5; });
  const std::string folder = argv[1];
  try {
    // A fresh folder, so that a file from an earlier run can never pass for this run's.
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Write(folder, "DTAUS0.TXT", false, false, "");
    Write(folder, "lastschrift.dta", true, false, "");
    Write(folder, "abbuchung.dta", true, true, "");
    Write(folder, "eigener-schluessel.dta", false, false, "53000");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
