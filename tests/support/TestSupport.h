// Helpers shared by the tests: literals in the interface width, byte comparison
// with the first difference, a controlled clock, recorded message boxes and
// temporary folders.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "zordta/host/Dialogs.h"
#include "zordta/host/Exception.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"
#include "zordta/host/Types.h"

/// Interface text of this build from a UTF-8 literal.
#define ZT(utf8) ::zor::StringFromUtf8(utf8)
/// 8-bit payment data (Windows-1252) from a UTF-8 literal.
#define ZA(utf8) ::zor::Utf8ToAnsi(utf8)

/// Expects stmt to raise zor::Exception with exactly that message.
#define EXPECT_THROW_MESSAGE(stmt, message)                                         \
  do {                                                                              \
    try {                                                                           \
      stmt;                                                                         \
      ADD_FAILURE() << "expected zor::Exception: " << ::zor::StringToUtf8(message); \
    } catch (const ::zor::Exception& e) {                                           \
      EXPECT_EQ(::zor::StringToUtf8(e.Message()), ::zor::StringToUtf8(message));    \
    }                                                                               \
  } while (0)

namespace zortest {

/// Name of the deliverable this test binary runs against.
const char* PackageName();

/// Compares two byte strings; on a mismatch the failure names the first
/// differing offset, both bytes (hex and glyph), the 128-byte part and some context.
::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual);

/// Reads a whole file; an empty result when it does not exist.
std::string ReadFile(const std::filesystem::path& path);
/// The golden file tests/data/<relative>.
std::string ReadGolden(const std::string& relative);
/// The folder tests/data.
std::filesystem::path DataDir();

/// A fresh folder, removed with everything in it at the end of the scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return fPath; }
  /// The folder as interface text, with a trailing path delimiter.
  zor::String AsPath() const;

 private:
  std::filesystem::path fPath;
};

/// Pins "now" for the scope; restores the system clock at the end.
class ScopedClock {
 public:
  explicit ScopedClock(zor::TDateTime now);
  ~ScopedClock();
  void Set(zor::TDateTime now);

 private:
  std::shared_ptr<zor::TDateTime> fNow;
};

/// Records every message box of the scope instead of showing it.
class MessageBoxRecorder {
 public:
  MessageBoxRecorder();
  ~MessageBoxRecorder();
  struct Box {
    std::string text;     // UTF-8
    std::string caption;  // UTF-8
  };
  const std::vector<Box>& boxes() const { return *fBoxes; }
  void clear() { fBoxes->clear(); }

 private:
  std::shared_ptr<std::vector<Box>> fBoxes;
};

/// Sets the format settings for the scope and restores the previous ones.
class ScopedFormatSettings {
 public:
  explicit ScopedFormatSettings(char decimalSeparator, char dateSeparator = '.',
                                std::string shortDateFormat = "dd/mm/yyyy");
  ~ScopedFormatSettings();

 private:
  zor::TFormatSettings fSaved;
};

/// Points the registry (XDG_CONFIG_HOME) at a folder for the scope.
class ScopedRegistryRoot {
 public:
  explicit ScopedRegistryRoot(const std::filesystem::path& root);
  ~ScopedRegistryRoot();

 private:
  std::string fSaved;
  bool fHadValue = false;
};

}  // namespace zortest
