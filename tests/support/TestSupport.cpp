#include "support/TestSupport.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

namespace zortest {

const char* PackageName() {
#if ZORDTA_WIDE_STRINGS
  return "wide";
#else
  return "ansi";
#endif
}

namespace {

std::string DescribeByte(const std::string& bytes, std::size_t offset) {
  if (offset >= bytes.size()) return "(end)";
  const auto b = static_cast<unsigned char>(bytes[offset]);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%02X '%c'", b, (b >= 0x20 && b < 0x7F) ? b : '.');
  return buffer;
}

std::string Printable(const std::string& bytes, std::size_t from, std::size_t to) {
  std::string out;
  for (std::size_t i = from; i < to && i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b >= 0x20 && b < 0x7F) {
      out += static_cast<char>(b);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    }
  }
  return out;
}

}  // namespace

::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  std::size_t offset = 0;
  while (offset < expected.size() && offset < actual.size() && expected[offset] == actual[offset]) {
    ++offset;
  }
  const std::size_t from = offset >= 16 ? offset - 16 : 0;
  return ::testing::AssertionFailure()
         << "first difference at offset " << offset << " (128-byte part " << offset / 128
         << ", position " << offset % 128 + 1 << "): expected " << DescribeByte(expected, offset)
         << ", actual " << DescribeByte(actual, offset) << "\n  sizes: expected " << expected.size()
         << ", actual " << actual.size() << "\n  expected: ..."
         << Printable(expected, from, offset + 16) << "...\n  actual:   ..."
         << Printable(actual, from, offset + 16) << "...";
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path DataDir() {
  return ZORDTA_TEST_DATA_DIR;
}

std::string ReadGolden(const std::string& relative) {
  const auto path = DataDir() / relative;
  if (!std::filesystem::exists(path)) {
    ADD_FAILURE() << "golden file missing: " << path;
    return {};
  }
  return ReadFile(path);
}

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  fPath = std::filesystem::temp_directory_path() /
          ("zordta-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(fPath);
  std::filesystem::create_directories(fPath);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(fPath, ignored);
}

zor::String TempDir::AsPath() const {
  return zor::StringFromUtf8(fPath.string() + "/");
}

ScopedClock::ScopedClock(zor::TDateTime now) : fNow(std::make_shared<zor::TDateTime>(now)) {
  auto shared = fNow;
  zor::SetClock([shared] { return *shared; });
}

ScopedClock::~ScopedClock() {
  zor::SetClock(nullptr);
}

void ScopedClock::Set(zor::TDateTime now) {
  *fNow = now;
}

MessageBoxRecorder::MessageBoxRecorder() : fBoxes(std::make_shared<std::vector<Box>>()) {
  auto boxes = fBoxes;
  zor::SetMessageBoxHandler([boxes](const zor::String& text, const zor::String& caption) {
    boxes->push_back({zor::StringToUtf8(text), zor::StringToUtf8(caption)});
  });
}

MessageBoxRecorder::~MessageBoxRecorder() {
  zor::SetMessageBoxHandler(nullptr);
}

ScopedFormatSettings::ScopedFormatSettings(char decimalSeparator, char dateSeparator,
                                           std::string shortDateFormat)
    : fSaved(zor::FormatSettings()) {
  zor::FormatSettings().DecimalSeparator = decimalSeparator;
  zor::FormatSettings().DateSeparator = dateSeparator;
  zor::FormatSettings().ShortDateFormat = std::move(shortDateFormat);
}

ScopedFormatSettings::~ScopedFormatSettings() {
  zor::FormatSettings() = fSaved;
}

ScopedRegistryRoot::ScopedRegistryRoot(const std::filesystem::path& root) {
  if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
    fSaved = old;
    fHadValue = true;
  }
  ::setenv("XDG_CONFIG_HOME", root.c_str(), 1);
}

ScopedRegistryRoot::~ScopedRegistryRoot() {
  if (fHadValue) {
    ::setenv("XDG_CONFIG_HOME", fSaved.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace zortest
