#include "BenchSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace zor::bench {

namespace {

void SetClientData(TZorBaseDTA& dta) {
  dta.SetAuftraggeberName("Zor Lohnbuero GmbH");
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(532013000);
  // No file name: Finish closes the run without touching the disk.
  dta.SetDTAFilename(TFileName());
}

struct ScratchRemover {
  std::string folder;
  ~ScratchRemover() {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
};

}  // namespace

void StartDTAUSRun(TZorDTA& dta) {
  SetClientData(dta);
  dta.Start();
}

void StartDTAZVRun(TZorDTAZV& dta) {
  SetClientData(dta);
  dta.SetAuftraggeberStrasse("Hauptstrasse 1");
  dta.SetAuftraggeberOrt("50667 Koeln");
  dta.SetWaehrungscode("EUR");
  dta.Start(1);
}

void BookDTAUS(TZorDTA& dta, std::int64_t konto) {
  dta.Buchung(kName, konto, 20050550, 1234.56, kPurpose1, kPurpose2, AnsiString());
}

void BookDTAZV(TZorDTAZV& dta, TStringList& vwz, TDateTime datum) {
  vwz.Clear();
  vwz.Add(AnsiToString(kPurpose1));
  vwz.Add(AnsiToString(kPurpose2));
  dta.Buchung("COBADEFFXXX", "DE89370400440532013000", kName, "Abteilung Lohn", "Hauptstrasse 5",
              "50667 Koeln", "DE", 1234.56, vwz, datum, "intern 4711", "Frau Schmidt", "EUR");
}

AnsiString MakeDTAUSFile(std::int32_t records) {
  TZorDTA dta(nullptr);
  StartDTAUSRun(dta);
  for (std::int32_t i = 0; i < records; ++i) {
    dta.Buchung(kName, 1000000 + i, 20050550, 1234.56 + i % 100, kPurpose1, kPurpose2,
                AnsiString());
  }
  dta.Finish();
  return dta.DTAFileContent();
}

std::string ScratchFolder() {
  static ScratchRemover remover;
  if (remover.folder.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "zordta-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    remover.folder = pattern;
  }
  return remover.folder;
}

}  // namespace zor::bench
