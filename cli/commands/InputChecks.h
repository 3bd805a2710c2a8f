// Checks on what a write command was given, and how their findings are printed.
#pragma once

#include <string>

#include "io/Diagnostics.h"

namespace zcli {

struct WriteOptions;

/// Raises UsageError for option values that are no UTF-8 or hold characters
/// Windows-1252 lacks.
void CheckOptionText(const WriteOptions& o);

/// Prints every error and answers kBadData.
int ReportErrors(Diagnostics errors, const std::string& source);
/// Prints the warnings about places without errors.
void ReportWarnings(const Diagnostics& warnings, const Diagnostics& errors,
                    const std::string& source);

}  // namespace zcli
