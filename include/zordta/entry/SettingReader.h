// Reads the settings of a payment file from key/value text, the same way for a
// job file and for command-line options, so both say the same about a bad value.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "zordta/Config.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/host/Types.h"

namespace zor::entry {

/// How a key is named in messages: "auftraggeber.blz" in a job, "--blz" on the command line.
using KeyLabel = std::function<std::string(const std::string& key)>;

class ZORDTA_API SettingReader {
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

}  // namespace zor::entry
