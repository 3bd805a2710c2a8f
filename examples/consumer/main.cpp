// Writes a small DTAUS file with whichever deliverable it is linked against:
//   consumer OUTPUT-FOLDER
// and checks what landed on disk.
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "zordta/PackageInfo.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Text.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  const ZorDTAPackageInfo* info = ZorDTA_PackageInfo();
#ifdef EXPECTED_PACKAGE
  if (std::strcmp(info->PackageName, EXPECTED_PACKAGE) != 0) {
    std::fprintf(stderr, "linked %s, expected %s\n", info->PackageName, EXPECTED_PACKAGE);
    return 1;
  }
#endif
  if (info->WideStrings != ZORDTA_WIDE_STRINGS) {
    std::fprintf(stderr, "interface width of the headers and of %s differ\n", info->PackageName);
    return 1;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    zor::TZorDTA dta(nullptr);
    dta.SetPath(zor::StringFromUtf8(argv[1]));
    dta.SetAuftraggeberName(zor::Utf8ToAnsi("Muster GmbH"));
    dta.SetAuftraggeberBLZ(37040044);
    dta.SetAuftraggeberKontoNr(532013000);
    dta.Start();
    dta.Buchung(zor::Utf8ToAnsi("Max Mustermann"), 1234567890, 50010517, 12.34,
                zor::Utf8ToAnsi("Rechnung 4711"), "", "");
    dta.Finish();

    // A record, C record with one purpose line (two 128-byte parts), E record.
    const auto file = std::filesystem::path(argv[1]) / "DTAUS0.TXT";
    const auto size = std::filesystem::file_size(file);
    if (size != 512 || dta.DTAFileContent().size() != size) {
      std::fprintf(stderr, "%s has %ju bytes, expected 512\n", file.c_str(),
                   static_cast<std::uintmax_t>(size));
      return 1;
    }
    std::printf("%s %s (%s): wrote %s\n", info->PackageName, info->ProductVersionText,
                info->Description, file.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
