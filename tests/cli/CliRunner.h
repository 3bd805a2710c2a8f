// Runs the built zordta binary as a user would, in a folder of its own.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace clitest {

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

/// A fresh folder, removed at the end of the scope; the tool runs inside it.
class Workspace {
 public:
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  const std::filesystem::path& path() const { return fPath; }
  std::filesystem::path operator/(const std::string& name) const { return fPath / name; }

  void Write(const std::string& name, const std::string& content) const;
  std::string Read(const std::string& name) const;
  bool Exists(const std::string& name) const;

  /// zordta with these arguments; input goes to its standard input. With
  /// `stdoutTo` (/dev/full, say) its standard output goes there, not into `out`.
  Result Run(const std::vector<std::string>& args, const std::string& input = std::string(),
             const std::string& stdoutTo = std::string()) const;
  /// Starts zordta in the background (no input, output discarded); answers its pid.
  pid_t Start(const std::vector<std::string>& args) const;

 private:
  std::filesystem::path fPath;
};

/// Waits for a started process; answers its exit code, or 128 + the signal that ended it.
int Wait(pid_t pid);

/// The zordta binary under test: ZORDTA_CLI when set, else the one built with the tests.
std::string Binary();

/// examples/<relative> of the source tree.
std::filesystem::path Example(const std::string& relative);

/// Today + days as YYYY-MM-DD, in the local time zone (the tool's "today").
std::string IsoDateFromToday(int days);

}  // namespace clitest
