// Reads the settings of a payment file from key/value text, the same way for a
// job file and for command-line options, so both say the same about a bad value.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "io/Diagnostics.h"
#include "io/InputRecord.h"
#include "zordta/host/Exception.h"
#include "zordta/host/Types.h"

namespace zcli {

/// How a key is named in messages: "auftraggeber.blz" in a job, "--blz" on the command line.
using KeyLabel = std::function<std::string(const std::string& key)>;

class SettingReader {
 public:
  SettingReader(const std::map<std::string, std::string>& values, std::string where, KeyLabel label,
                Diagnostics& errors);

  void Text(const std::string& key, std::string& target);
  /// A non-negative whole number up to max.
  void Number(const std::string& key, std::int64_t& target, std::int64_t max);
  void Flag(const std::string& key, bool& target);
  void Date(const std::string& key, std::optional<zor::TDate>& target);
  /// The key "art", when given, must name this kind of file.
  void Kind(const std::string& expected);

 private:
  const std::string* Find(const std::string& key) const;
  void Fail(const std::string& key, const std::string& message);

  const std::map<std::string, std::string>& fValues;
  std::string fWhere;
  KeyLabel fLabel;
  Diagnostics& fErrors;
};

/// „text“ with German quotes.
std::string Quoted(std::string_view text);

/// Runs one of the library's checks; its exception becomes a diagnostic.
template <class Check>
void TryCheck(Diagnostics& errors, const std::string& where, const std::string& field,
              Check&& check) {
  try {
    check();
  } catch (const zor::Exception& e) {
    errors.Add(where, field, e.what());
  }
}

/// Payment data for the library: 8-bit Windows-1252 from checked UTF-8.
zor::AnsiString Ansi(const std::string& utf8);

/// A count with its noun in the right number: "1 Buchung", "2 Buchungen".
std::string Counted(std::size_t count, std::string_view one, std::string_view many);

/// The record's "betrag" in cents; a missing or unreadable amount is reported.
std::optional<std::int64_t> ReadAmount(const InputRecord& record, Diagnostics& errors);

/// True when the date lies between today and today + 15 days, the window both
/// file kinds accept for execution.
bool InExecutionWindow(zor::TDate date);

}  // namespace zcli
