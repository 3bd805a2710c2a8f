// A domestic writer with pinned clock, registry and output folder.
#pragma once

#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"

namespace zortest {

inline const zor::TDate kTestToday = zor::EncodeDate(2026, 12, 8);

class WriterTest : public ::testing::Test {
 protected:
  WriterTest() : clock(kTestToday + 0.5), registry(dir.path()) {
    dta.SetAuftraggeberName(ZA("Muster GmbH"));
    dta.SetAuftraggeberBLZ(37040044);
    dta.SetAuftraggeberKontoNr(532013000);
    dta.SetPath(dir.AsPath());
  }

  /// Books a valid credit transfer of 10 euro with the given purpose lines.
  void BookValid(zor::TStrings& lines) {
    dta.Buchung(ZA("Max Mustermann"), 1234567890, 50010517, 10.0, lines);
  }

  std::string WrittenFile() const { return ReadFile(dir.path() / "DTAUS0.TXT"); }

  ScopedClock clock;
  ScopedFormatSettings settings{'.'};
  TempDir dir;
  ScopedRegistryRoot registry;
  zor::TZorDTA dta{nullptr};
};

/// Lines of interface text.
inline void SetLines(zor::TStrings& list, std::initializer_list<const char*> lines) {
  list.Clear();
  for (const char* line : lines) list.Add(ZT(line));
}

}  // namespace zortest
