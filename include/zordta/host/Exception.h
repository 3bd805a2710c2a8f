// The exceptions the library raises: Exception for every failed check and
// state guard, and below it the host framework's kinds, so that a caller can
// tell a file that could not be written, or a text that is no number or date,
// from a refused payment without reading the message.
#pragma once

#include <exception>
#include <string>

#include "zordta/host/Types.h"

namespace zor {

/// Raised by every failed check (unless ShowWarnings is set); the base of all below.
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

/// A text that is no number, a date that is no calendar date, a format that
/// does not fit its arguments (StrToInt, EncodeDate, Format, and the import's
/// dates).
class ZORDTA_API EConvertError : public Exception {
 public:
  using Exception::Exception;
};

/// Streams and the files behind them.
class ZORDTA_API EStreamError : public Exception {
 public:
  using Exception::Exception;
};

/// A file that cannot be opened or created.
class ZORDTA_API EFileStreamError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

/// A file that cannot be created or replaced: what Finish raises when the
/// payment file cannot be written.
class ZORDTA_API EFCreateError : public EFileStreamError {
 public:
  using EFileStreamError::EFileStreamError;
};

/// A file that cannot be opened, or that another process holds.
class ZORDTA_API EFOpenError : public EFileStreamError {
 public:
  using EFileStreamError::EFileStreamError;
};

/// Reading or writing an open stream failed.
class ZORDTA_API EFilerError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

class ZORDTA_API EReadError : public EFilerError {
 public:
  using EFilerError::EFilerError;
};

class ZORDTA_API EWriteError : public EFilerError {
 public:
  using EFilerError::EFilerError;
};

}  // namespace zor
