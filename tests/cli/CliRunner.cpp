#include "CliRunner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string_view>

namespace clitest {

namespace fs = std::filesystem;

namespace {

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::string Binary() {
  // ZORDTA_CLI runs the suite against another build, an older one say.
  const char* other = std::getenv("ZORDTA_CLI");
  return other && *other ? other : ZORDTA_CLI_BINARY;
}

Workspace::Workspace() {
  std::string pattern = (fs::temp_directory_path() / "zordta-cli-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  fPath = pattern;
}

Workspace::~Workspace() {
  std::error_code ignored;
  fs::remove_all(fPath, ignored);
}

void Workspace::Write(const std::string& name, const std::string& content) const {
  fs::create_directories((fPath / name).parent_path());
  std::ofstream(fPath / name, std::ios::binary) << content;
}

std::string Workspace::Read(const std::string& name) const {
  return Slurp(fPath / name);
}

bool Workspace::Exists(const std::string& name) const {
  return fs::exists(fPath / name);
}

Result Workspace::Run(const std::vector<std::string>& args, const std::string& input,
                      const std::string& stdoutTo) const {
  const fs::path in = fPath / ".stdin", out = fPath / ".stdout", err = fPath / ".stderr";
  std::ofstream(in, std::ios::binary) << input;
  // The diskette counter lives in the workspace, never in the user's home.
  std::string command = "cd " + ShellQuote(fPath.string()) +
                        " && XDG_CONFIG_HOME=" + ShellQuote((fPath / ".config").string()) + " " +
                        ShellQuote(Binary());
  for (const std::string& arg : args) command += " " + ShellQuote(arg);
  command += " <" + ShellQuote(in.string()) + " >" +
             ShellQuote(stdoutTo.empty() ? out.string() : stdoutTo) + " 2>" +
             ShellQuote(err.string());
  const int status = std::system(command.c_str());
  Result result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (stdoutTo.empty()) result.out = Slurp(out);
  result.err = Slurp(err);
  fs::remove(in);
  fs::remove(out);
  fs::remove(err);
  return result;
}

pid_t Workspace::Start(const std::vector<std::string>& args) const {
  const std::string binary = Binary();
  std::vector<std::string> environment{"XDG_CONFIG_HOME=" + (fPath / ".config").string()};
  for (char** variable = environ; *variable; ++variable) {
    if (std::string_view(*variable).rfind("XDG_CONFIG_HOME=", 0) != 0)
      environment.emplace_back(*variable);
  }
  std::vector<char*> argv{const_cast<char*>(binary.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& variable : environment) envp.push_back(variable.data());
  envp.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  // The child: only calls that are safe between fork and exec.
  if (::chdir(fPath.c_str()) != 0) _exit(126);
  const int null = ::open("/dev/null", O_RDWR);
  ::dup2(null, 0);
  ::dup2(null, 1);
  ::dup2(null, 2);
  ::execve(binary.c_str(), argv.data(), envp.data());
  _exit(127);
}

int Wait(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

fs::path Example(const std::string& relative) {
  return fs::path(ZORDTA_EXAMPLES_DIR) / relative;
}

std::string IsoDateFromToday(int days) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  local.tm_mday += days;
  local.tm_hour = 12;  // clear of any daylight-saving edge
  std::mktime(&local);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

}  // namespace clitest
