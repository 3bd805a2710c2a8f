#include "commands/InputChecks.h"

#include <iostream>

#include "commands/Commands.h"
#include "commands/WriteSupport.h"
#include "io/Utf8Check.h"

namespace zcli {

void CheckOptionText(const WriteOptions& o) {
  std::string problems;
  for (const auto& [key, value] : o.settings) {
    const std::string option = OptionLabel(o, key);
    if (FindMalformedUtf8(value) != std::string::npos) {
      problems += "\n  " + option + ": kein gültiges UTF-8.";
      continue;
    }
    for (const ForeignChar& c : FindCharsOutsideCp1252(value)) {
      problems += "\n  " + option + ": " + ForeignCharMessage(c);
    }
  }
  if (!problems.empty()) throw UsageError("Ungültige Angaben:" + problems);
}

int ReportErrors(Diagnostics errors, const std::string& source) {
  errors.SortByPlace();
  errors.Print(std::cerr, source);
  std::cerr << "Nichts geschrieben: " << errors.Count() << " Fehler.\n";
  return kBadData;
}

void ReportWarnings(const Diagnostics& warnings, const Diagnostics& errors,
                    const std::string& source) {
  for (const Diagnostic& d : warnings.Items()) {
    // A row with errors is fixed first; its warnings may change with that.
    if (errors.Mentions(d.where)) continue;
    std::cerr << "Warnung: ";
    if (!source.empty()) std::cerr << source << ": ";
    std::cerr << d.where;
    if (!d.field.empty()) std::cerr << ", Feld " << d.field;
    std::cerr << ": " << d.message << '\n';
  }
}

}  // namespace zcli
