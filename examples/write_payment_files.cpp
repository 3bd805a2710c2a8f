// Writes one DTAUS file per JSON description in a folder and prints the control
// figures that go on the cover sheet.
//
//   write_payment_files examples/data out
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "zordta/ZorDTA.h"
#include "zordta/host/Text.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// Payment data is 8-bit (Windows-1252); the JSON files are UTF-8.
zor::AnsiString Ansi(const json& value) {
  return zor::Utf8ToAnsi(value.get<std::string>());
}

void WriteFile(const fs::path& description, const fs::path& outputFolder) {
  std::ifstream in(description);
  const json data = json::parse(in);

  zor::TZorDTA dta(nullptr);
  dta.SetPath(zor::StringFromUtf8(outputFolder.string()));
  dta.SetDTAFilename(zor::StringFromUtf8(data.at("dateiname").get<std::string>()));
  const json& client = data.at("auftraggeber");
  dta.SetAuftraggeberName(Ansi(client.at("name")));
  dta.SetAuftraggeberBLZ(client.at("blz").get<std::int32_t>());
  dta.SetAuftraggeberKontoNr(client.at("konto").get<std::int64_t>());
  dta.SetLastschriften(data.at("lastschriften").get<bool>());

  dta.Start();
  for (const json& booking : data.at("buchungen")) {
    zor::TStringList purpose;
    for (const json& line : booking.at("verwendungszweck")) {
      purpose.Add(zor::StringFromUtf8(line.get<std::string>()));
    }
    dta.Buchung(Ansi(booking.at("name")), booking.at("konto").get<std::int64_t>(),
                booking.at("blz").get<std::int64_t>(), booking.at("betrag").get<double>(), purpose);
  }
  dta.Finish();

  std::printf("%s -> %s\n", description.filename().c_str(),
              zor::StringToUtf8(dta.Path() + dta.DTAFilename()).c_str());
  std::printf("  Art:                  %s\n",
              dta.Lastschriften() ? "Lastschriften" : "Gutschriften");
  std::printf("  Anzahl Datensaetze:   %d\n", dta.AnzahlBuchungen());
  std::printf("  Summe Betraege EUR:   %s\n", zor::Format("%1.2f", {dta.SummeBetrag()}).c_str());
  std::printf("  Summe Kontonummern:   %s\n",
              zor::Format("%.17d", {dta.SummeKontonummer()}).c_str());
  std::printf("  Summe Bankleitzahlen: %s\n", zor::Format("%.17d", {dta.SummeBLZ()}).c_str());
  std::printf("  Dateigroesse Bytes:   %zu\n", dta.DTAFileContent().size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DATA-FOLDER OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  try {
    fs::create_directories(argv[2]);
    std::vector<fs::path> descriptions;
    for (const auto& entry : fs::directory_iterator(argv[1])) {
      if (entry.path().extension() == ".json") descriptions.push_back(entry.path());
    }
    std::sort(descriptions.begin(), descriptions.end());
    for (const auto& description : descriptions) WriteFile(description, argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Fehler: %s\n", e.what());
    return 1;
  }
  return 0;
}
