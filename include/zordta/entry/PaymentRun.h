// What a run of either kind of payment file shares: the component it books
// into, the text prepared for the file, how the run opens (with a stand-in
// client when the real one is faulty, so the payments are still checked), and
// when a checked payment is booked.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "zordta/Config.h"
#include "zordta/PaymentValues.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/RowText.h"
#include "zordta/host/Classes.h"
#include "zordta/host/Text.h"
#include "zordta/host/Types.h"

namespace zor::entry {

/// The name the client's faults are reported under.
inline constexpr const char* kClientWhere = "Auftraggeber";

template <class Library>
class ZORDTA_API PaymentRun {
 public:
  Library& Component() { return *fComponent; }
  void Finish() { fComponent->Finish(); }
  zor::String Begleitzettel() { return fComponent->Begleitzettel(); }

 protected:
  /// The text checks are learnt from `component`; a stand-in opened later
  /// writes its text the same way.
  PaymentRun(std::unique_ptr<Library> component, bool streng, Diagnostics& errors,
             Diagnostics& warnings)
      : fErrors(errors),
        fComponent(std::move(component)),
        fText(*fComponent, streng, errors, warnings) {}

  /// Ends the client's checks, which began when the errors counted `before`:
  /// the execution date and the file name, then `open` (which starts the
  /// run) when none found a fault, else `openStandIn`.
  template <class Open, class OpenStandIn>
  void OpenRun(std::size_t before, const std::optional<zor::TDate>& ausfuehrung,
               const std::string& dateiname, Open&& open, OpenStandIn&& openStandIn) {
    if (ausfuehrung) {
      if (std::string problem = zor::ExecutionDateProblem(*ausfuehrung); !problem.empty()) {
        fErrors.Add(kClientWhere, "ausfuehrungsdatum", std::move(problem));
      }
    }
    if (dateiname.empty()) fErrors.Add(kClientWhere, "dateiname", "Der Dateiname fehlt.");
    if (fErrors.Count() == before) open();
    if (fErrors.Count() != before) openStandIn();
  }

  /// The purpose lines for the file, in the first fLineCount of fAnsiLines;
  /// `width` applies when there are several (a single long line is split by
  /// the library, not cut).
  template <class Lines>
  void PreparePurposeText(const Lines& purpose, const std::string& where, std::size_t width) {
    const std::size_t lineWidth = purpose.size() > 1 ? width : 0;
    fLineCount = 0;
    for (const auto& line : purpose) {
      // Into the lines the last payment left, so that a long run allocates little.
      if (fLineCount == fAnsiLines.size()) fAnsiLines.emplace_back();
      fText.Prepare(line, lineWidth, where, "verwendungszweck", fAnsiLines[fLineCount++]);
    }
  }

  /// The prepared purpose lines as the component's list, in fLines.
  void PurposeList() {
    int count = 0;
    for (std::size_t i = 0; i < fLineCount; ++i) {
      Widen(fAnsiLines[i], fWideLine);
      // Into the lines the last payment left (the library may have changed
      // them), so that a long run allocates little.
      if (count < fLines.Count()) {
        fLines.SetStrings(count, fWideLine);
      } else {
        fLines.Add(fWideLine);
      }
      ++count;
    }
    while (fLines.Count() > count) fLines.Delete(fLines.Count() - 1);
  }

  /// PreparePurposeText, then PurposeList.
  template <class Lines>
  void PreparePurpose(const Lines& purpose, const std::string& where, std::size_t width) {
    PreparePurposeText(purpose, where, width);
    PurposeList();
  }

  /// True when the payment's row, whose checks began at `rowStart` errors,
  /// found no fault and every field could be read.
  template <class Payment>
  bool RowClean(std::size_t rowStart, const Payment& payment) const {
    return fErrors.Count() == rowStart && payment.unreadable.empty();
  }

  Diagnostics& fErrors;
  std::unique_ptr<Library> fComponent;
  RowText fText;
  /// Set once a payment would take the trailer record beyond its fields: no
  /// further payment is booked, the file cannot be written anyway.
  bool fTrailerFull = false;
  // Kept from record to record, so a long run allocates little.
  std::vector<zor::AnsiString> fAnsiLines;
  std::size_t fLineCount = 0;
  zor::String fWideLine;
  zor::TStringList fLines;

 private:
  // zor::AnsiToString into storage kept from line to line: ASCII is the same
  // in every width, the rest is the library's.
  static void Widen(const zor::AnsiString& ansi, zor::String& wide) {
    wide.resize(ansi.size());
    for (std::size_t i = 0; i < ansi.size(); ++i) {
      if (static_cast<unsigned char>(ansi[i]) >= 0x80) {
        wide = zor::AnsiToString(ansi);
        return;
      }
      wide[i] = static_cast<zor::String::value_type>(ansi[i]);
    }
  }
};

}  // namespace zor::entry
