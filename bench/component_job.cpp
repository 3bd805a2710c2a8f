// One component job alone, for the whole-process benchmark to time and to
// measure its peak memory:
//   zordta_component_job write N FILE   books N payments and finishes into FILE
//   zordta_component_job import FILE    imports FILE and counts its payments
//   zordta_component_job book dtaus|dtazv N
//                                        books N payments as the Buchung
//                                        benchmarks do, and writes no file
//                                        (for bench/instructions.sh)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchSupport.h"

namespace {

int Write(std::int64_t count, const std::filesystem::path& file) {
  zor::TZorDTA dta(nullptr);
  zor::bench::StartDTAUSRun(dta);
  dta.SetPath(zor::StringFromUtf8(file.parent_path().string()));
  dta.SetDTAFilename(zor::StringFromUtf8(file.filename().string()));
  for (std::int64_t i = 0; i < count; ++i) {
    dta.Buchung(zor::bench::kName, 1000000 + i, 20050550, 12.34 + static_cast<double>(i % 100),
                zor::bench::kPurpose1, zor::bench::kPurpose2, zor::AnsiString());
  }
  dta.Finish();
  std::printf("%d payments written\n", dta.AnzahlBuchungen());
  return 0;
}

int Import(const std::filesystem::path& file) {
  zor::TZorDTA dta(nullptr);
  std::int64_t payments = 0;
  dta.SetOnDTAImport([&payments](const zor::AnsiString&, std::int64_t, std::int64_t, double,
                                 zor::TStrings&, bool, const zor::AnsiString&) { ++payments; });
  dta.ImportDTA(zor::StringFromUtf8(file.string()));
  std::printf("%lld payments read\n", static_cast<long long>(payments));
  return 0;
}

int Book(const std::string& kind, std::int64_t count) {
  if (kind == "dtaus") {
    zor::TZorDTA dta(nullptr);
    zor::bench::StartDTAUSRun(dta);
    for (std::int64_t i = 0; i < count; ++i) zor::bench::BookDTAUS(dta, 1000000 + i);
    std::printf("%d payments booked\n", dta.AnzahlBuchungen());
    return 0;
  }
  zor::TZorDTAZV dta(nullptr);
  zor::bench::StartDTAZVRun(dta);
  const zor::TDateTime datum = zor::Date() + 2;
  zor::TStringList vwz;
  for (std::int64_t i = 0; i < count; ++i) zor::bench::BookDTAZV(dta, vwz, datum);
  std::printf("%d payments booked\n", dta.AnzahlBuchungen());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  try {
    if (mode == "write" && argc == 4)
      return Write(std::atoll(argv[2]), std::filesystem::absolute(argv[3]));
    if (mode == "import" && argc == 3) return Import(argv[2]);
    if (mode == "book" && argc == 4 &&
        (std::string(argv[2]) == "dtaus" || std::string(argv[2]) == "dtazv"))
      return Book(argv[2], std::atoll(argv[3]));
  } catch (const zor::Exception& e) {
    std::fprintf(stderr, "%s\n", zor::StringToUtf8(e.Message()).c_str());
    return 1;
  }
  std::fprintf(stderr, "usage: %s write N FILE | import FILE | book dtaus|dtazv N\n", argv[0]);
  return 2;
}
