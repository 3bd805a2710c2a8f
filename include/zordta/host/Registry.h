// The current user's registry, kept in files.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "zordta/host/Types.h"

namespace zor {

/// One registry key of the current user. On POSIX the key "A\B\C" is the file
/// $XDG_CONFIG_HOME/A/B/C.ini (default ~/.config), holding lines "Name=Value" and,
/// for named sections, "[Section]" headers; a UTF-8 byte-order mark at its start is
/// kept and hides no entry. Every change holds an exclusive lock (the file
/// "C.ini.lock" beside it) and replaces the file atomically, so that concurrent
/// processes never lose an update.
class ZORDTA_API TRegIniFile {
 public:
  /// Given the value's text as stored (UTF-8, without the blanks around it), or
  /// nothing when the value is missing; answers the text to store (one line), or
  /// nothing to leave the key as it is.
  using TValueTextUpdate =
      std::function<std::optional<std::string>(std::optional<std::string_view> stored)>;

  explicit TRegIniFile(const String& key);
  ~TRegIniFile();
  TRegIniFile(const TRegIniFile&) = delete;
  TRegIniFile& operator=(const TRegIniFile&) = delete;

  /// The value, or defaultValue when it is missing or not an integer.
  std::int32_t ReadInteger(const String& section, const String& ident,
                           std::int32_t defaultValue) const;
  /// Stores the value; raises Exception when the key cannot be written.
  void WriteInteger(const String& section, const String& ident, std::int32_t value);
  /// Reads the value (defaultValue when missing), stores next(value) and answers
  /// it, all under one lock. Raises Exception when the key cannot be written.
  std::int32_t UpdateInteger(const String& section, const String& ident, std::int32_t defaultValue,
                             const std::function<std::int32_t(std::int32_t)>& next);
  /// Reads the value's text and stores what change answers, all under one lock; the
  /// file is not rewritten when change answers nothing. Raises Exception when the
  /// key cannot be read or written.
  void UpdateValueText(const String& section, const String& ident, const TValueTextUpdate& change);

  /// The file that holds the key.
  const std::string& FileName() const { return fFileName; }

 private:
  std::string fFileName;
};

}  // namespace zor
