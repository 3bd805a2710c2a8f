// What the library's conversion from DTAUS to SEPA reports, worded for the
// command line: placed at its record ("Datensatz 7 (Byte 1024)") and pointing
// to the option that mends it.
#pragma once

#include <string>

#include "io/EntryNames.h"
#include "zordta/DtausToSepa.h"
#include "zordta/entry/Diagnostics.h"

namespace zcli {

/// Adds the issue to `errors` or `warnings`; `mandatesName` is the mandate
/// table's file, empty when none was given.
void AddConversionIssue(const zor::DtausToSepaIssue& issue, const std::string& mandatesName,
                        Diagnostics& errors, Diagnostics& warnings);

}  // namespace zcli
