#include "zordta/host/Registry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <optional>
#include <vector>

#include "host/HostMessages.h"
#include "host/Posix.h"
#include "zordta/host/Exception.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor {
namespace {

std::string ConfigFolder() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return xdg;
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.config";
  if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir) {
    return std::string(user->pw_dir) + "/.config";
  }
  return ".config";
}

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Registry names ignore case, so the file's names do too.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::optional<std::string_view> SectionHeader(std::string_view line) {
  line = Trimmed(line);
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  return Trimmed(line.substr(1, line.size() - 2));
}

// The name of an entry line, or nothing for headers, comments and other lines.
std::optional<std::string_view> EntryName(std::string_view line) {
  const std::string_view trimmed = Trimmed(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#' ||
      trimmed.front() == '[') {
    return std::nullopt;
  }
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return Trimmed(trimmed.substr(0, equals));
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  text = Trimmed(text);
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Windows editors start the files they save with one.
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

/// The lines of one key file, kept as they were except for the entries changed.
class IniLines {
 public:
  explicit IniLines(std::string_view content) {
    // The mark belongs to the file, not to its first line's name.
    if (content.starts_with(kUtf8Bom)) {
      fBom = true;
      content.remove_prefix(kUtf8Bom.size());
    }
    while (!content.empty()) {
      const std::size_t newline = content.find('\n');
      fLines.emplace_back(content.substr(0, newline));
      if (newline == std::string_view::npos) break;
      content.remove_prefix(newline + 1);
    }
  }

  std::string Text() const {
    std::string text(fBom ? kUtf8Bom : std::string_view());
    for (const auto& line : fLines) text += line + '\n';
    return text;
  }

  std::optional<std::string_view> Value(std::string_view section, std::string_view ident) const {
    const auto range = Section(section);
    if (!range) return std::nullopt;
    const auto index = Entry(*range, ident);
    if (!index) return std::nullopt;
    const std::string& line = fLines[*index];
    return Trimmed(std::string_view(line).substr(line.find('=') + 1));
  }

  void SetValue(std::string_view section, std::string_view ident, std::string_view value) {
    const auto range = Section(section);
    if (!range) {
      if (!fLines.empty() && !Trimmed(fLines.back()).empty()) fLines.emplace_back();
      fLines.push_back("[" + std::string(section) + "]");
      fLines.push_back(std::string(ident) + "=" + std::string(value));
      return;
    }
    if (const auto index = Entry(*range, ident)) {
      std::string& line = fLines[*index];
      const bool crlf = !line.empty() && line.back() == '\r';
      line = std::string(*EntryName(line)) + "=" + std::string(value) + (crlf ? "\r" : "");
      return;
    }
    // New entries go after the section's last entry, before the blank lines that part it.
    std::size_t at = range->second;
    while (at > range->first && Trimmed(fLines[at - 1]).empty()) --at;
    fLines.insert(fLines.begin() + static_cast<std::ptrdiff_t>(at),
                  std::string(ident) + "=" + std::string(value));
  }

 private:
  using Range = std::pair<std::size_t, std::size_t>;

  // The lines of a section, without its header; the unnamed section precedes every header.
  std::optional<Range> Section(std::string_view name) const {
    std::size_t begin = 0;
    if (!name.empty()) {
      const auto isHeader = [name](const std::string& line) {
        const auto header = SectionHeader(line);
        return header && SameName(*header, name);
      };
      while (begin < fLines.size() && !isHeader(fLines[begin])) ++begin;
      if (begin == fLines.size()) return std::nullopt;
      ++begin;
    }
    std::size_t end = begin;
    while (end < fLines.size() && !SectionHeader(fLines[end])) ++end;
    return Range{begin, end};
  }

  std::optional<std::size_t> Entry(Range range, std::string_view ident) const {
    for (std::size_t i = range.first; i < range.second; ++i) {
      const auto name = EntryName(fLines[i]);
      if (name && SameName(*name, ident)) return i;
    }
    return std::nullopt;
  }

  std::vector<std::string> fLines;
  bool fBom = false;
};

/// Holds the key's lock file locked exclusively for its lifetime.
class KeyLock {
 public:
  explicit KeyLock(const std::string& lockName) {
    fFd = ::open(lockName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fFd < 0) {
      fError = errno;
      return;
    }
    while (::flock(fFd, LOCK_EX) != 0) {
      if (errno == EINTR) continue;
      fError = errno;
      break;
    }
  }
  ~KeyLock() {
    if (fFd >= 0) ::close(fFd);
  }
  KeyLock(const KeyLock&) = delete;
  KeyLock& operator=(const KeyLock&) = delete;

  int Error() const { return fError; }

 private:
  int fFd = -1;
  int fError = 0;
};

}  // namespace

TRegIniFile::TRegIniFile(const String& key) {
  std::string path = ConfigFolder();
  const std::string utf8Key = StringToUtf8(key);
  std::size_t start = 0;
  while (start <= utf8Key.size()) {
    std::size_t end = utf8Key.find('\\', start);
    if (end == std::string::npos) end = utf8Key.size();
    if (end > start) path += "/" + utf8Key.substr(start, end - start);
    start = end + 1;
  }
  fFileName = path + ".ini";
}

TRegIniFile::~TRegIniFile() = default;

std::int32_t TRegIniFile::ReadInteger(const String& section, const String& ident,
                                      std::int32_t defaultValue) const {
  std::string content;
  if (detail::ReadWholeFile(fFileName, content) != 0) return defaultValue;
  const IniLines lines(content);
  const auto text = lines.Value(StringToUtf8(section), StringToUtf8(ident));
  const auto value = text ? ParseInteger(*text) : std::nullopt;
  return value.value_or(defaultValue);
}

void TRegIniFile::WriteInteger(const String& section, const String& ident, std::int32_t value) {
  UpdateInteger(section, ident, value, [value](std::int32_t) { return value; });
}

std::int32_t TRegIniFile::UpdateInteger(const String& section, const String& ident,
                                        std::int32_t defaultValue,
                                        const std::function<std::int32_t(std::int32_t)>& next) {
  std::int32_t stored = 0;
  UpdateValueText(section, ident, [&](std::optional<std::string_view> text) {
    stored = next(ParseInteger(text.value_or("")).value_or(defaultValue));
    return std::optional<std::string>(std::to_string(stored));
  });
  return stored;
}

void TRegIniFile::UpdateValueText(const String& section, const String& ident,
                                  const TValueTextUpdate& change) {
  const auto raise = [this](int error) {
    throw Exception(Format(StringFromUtf8(detail::hostmsg::kRegistryWriteError),
                           {StringFromUtf8(fFileName), StringFromUtf8(detail::ErrorText(error))}));
  };
  if (const int error = detail::CreateFolders(detail::FolderOf(fFileName))) raise(error);
  const KeyLock lock(fFileName + ".lock");
  if (lock.Error()) raise(lock.Error());

  std::string content;
  if (const int error = detail::ReadWholeFile(fFileName, content); error && error != ENOENT) {
    raise(error);
  }
  IniLines lines(content);
  const std::string sectionName = StringToUtf8(section);
  const std::string identName = StringToUtf8(ident);
  const std::optional<std::string> stored = change(lines.Value(sectionName, identName));
  if (!stored) return;
  lines.SetValue(sectionName, identName, *stored);

  // Test replacements of the file operations are meant for data files, not for the registry.
  if (const int error =
          detail::ReplaceFileContent(fFileName, lines.Text(), detail::SystemFileSystemOps())) {
    raise(error);
  }
}

}  // namespace zor
