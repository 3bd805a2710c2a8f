// Shared inputs of the benchmarks: realistic payments and a prepared DTAUS file.
#pragma once

#include <cstdint>
#include <string>

#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/Text.h"

namespace zor::bench {

/// A 20-character name with an umlaut, as payroll data has it.
inline const AnsiString kName = "M\xFCller-Schmidt, Anna";
inline const AnsiString kPurpose1 = "Lohn November 2026";
inline const AnsiString kPurpose2 = "Personalnummer 004711";

/// A credit-transfer run, started, that writes no file when finished.
void StartDTAUSRun(TZorDTA& dta);
/// A foreign-payment run in EUR, started, that writes no file when finished.
void StartDTAZVRun(TZorDTAZV& dta);

/// One booking as the Buchung benchmarks make it: a credit transfer with the
/// name and both purpose lines above.
void BookDTAUS(TZorDTA& dta, std::int64_t konto);
/// One DTAZV booking through the full overload, due on `datum`. The purpose list
/// is the caller's and is changed in place, so it is filled anew each time.
void BookDTAZV(TZorDTAZV& dta, TStringList& vwz, TDateTime datum);

/// The bytes of a credit-transfer file with `records` C records of two purpose lines.
AnsiString MakeDTAUSFile(std::int32_t records);

/// A folder of its own under the system's temporary folder, removed at exit.
std::string ScratchFolder();

}  // namespace zor::bench
