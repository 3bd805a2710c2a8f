// The one exception type the library raises.
#pragma once

#include <exception>
#include <string>

#include "zordta/host/Types.h"

namespace zor {

/// Raised by every failed check (unless ShowWarnings is set) and by failed file operations.
class ZORDTA_API Exception : public std::exception {
 public:
  explicit Exception(String message);

  /// The German message as interface text.
  const String& Message() const noexcept { return fMessage; }
  /// The same message in UTF-8.
  const char* what() const noexcept override { return fUtf8.c_str(); }

 private:
  String fMessage;
  std::string fUtf8;
};

}  // namespace zor
