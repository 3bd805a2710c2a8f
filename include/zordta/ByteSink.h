// Where a writer's bytes go, in file order: a buffer, a file, a socket.
#pragma once

#include <string_view>

#include "zordta/Config.h"

namespace zor {

class ZORDTA_API ByteSink {
 public:
  virtual ~ByteSink() = default;
  /// Takes the bytes. Raises when it cannot; the writer then counts them as
  /// not written.
  virtual void Write(std::string_view bytes) = 0;
};

/// Takes the bytes and keeps none: for a run that is booked only for its
/// figures and checks.
class ZORDTA_API DiscardingSink : public ByteSink {
 public:
  void Write(std::string_view) override {}
};

}  // namespace zor
