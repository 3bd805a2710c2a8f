#include "commands/InputChecks.h"

#include <iostream>

#include "commands/Commands.h"
#include "commands/WriteOptions.h"
#include "io/EntryNames.h"
#include "zordta/entry/Utf8Check.h"
#include "zordta/host/Text.h"

namespace zcli {

void CheckOptionText(const WriteOptions& o) {
  std::string problems;
  for (const auto& [key, value] : o.settings) {
    const std::string option = OptionLabel(o, key);
    if (zor::FindMalformedUtf8(value) != std::string::npos) {
      problems += "\n  " + option + ": kein gültiges UTF-8.";
      continue;
    }
    for (const ForeignChar& c : FindUnwritableChars(value)) {
      problems += "\n  " + option + ": " + UnwritableCharMessage(c);
    }
  }
  if (!problems.empty()) throw UsageError("Ungültige Angaben:" + problems);
}

int ReportErrors(const Diagnostics& errors, const std::string& source) {
  const std::vector<const Diagnostic*> first = errors.FirstByPlace(kShownErrors);
  for (const Diagnostic* d : first) {
    PrintDiagnostic(std::cerr, source, *d);
    std::cerr << '\n';
  }
  if (const std::size_t rest = errors.Count() - first.size(); rest > 0) {
    std::cerr << "… und " << GroupedCount(rest)
              << (rest == 1 ? " weiterer Fehler.\n" : " weitere Fehler.\n");
  }
  std::cerr << "Nichts geschrieben: " << GroupedCount(errors.Count()) << " Fehler.\n";
  return kBadData;
}

void ReportWarnings(const Diagnostics& warnings, const Diagnostics& errors,
                    const std::string& source) {
  std::size_t shown = 0;
  // Those not kept have no place to look at: counted only when no row has errors.
  std::size_t rest = errors.Empty() ? warnings.NotKept() : 0;
  for (const Diagnostic& d : warnings.Items()) {
    // A row with errors is fixed first; its warnings may change with that.
    if (errors.Mentions(d.where)) continue;
    if (shown == kShownWarnings) {
      ++rest;
      continue;
    }
    std::cerr << "Warnung: ";
    PrintDiagnostic(std::cerr, source, d);
    std::cerr << '\n';
    ++shown;
  }
  if (rest > 0) {
    std::cerr << "… und " << GroupedCount(rest)
              << (rest == 1 ? " weitere Warnung.\n" : " weitere Warnungen.\n");
  }
}

void ReportNotes(const Diagnostics& notes) {
  for (const Diagnostic& d : notes.Items()) {
    std::cerr << "Hinweis: ";
    PrintDiagnostic(std::cerr, "", d);
    std::cerr << '\n';
  }
  if (const std::size_t rest = notes.NotKept(); rest > 0) {
    std::cerr << "… und " << GroupedCount(rest)
              << (rest == 1 ? " weiterer Hinweis.\n" : " weitere Hinweise.\n");
  }
}

void ReportReaderNotes(const std::string& path, const std::vector<zor::DtausNote>& notes) {
  for (const zor::DtausNote& note : notes) {
    std::cerr << "Hinweis: " << path << ": Byte " << note.place.offset << ": " << OneLine(note.text)
              << '\n';
  }
}

}  // namespace zcli
