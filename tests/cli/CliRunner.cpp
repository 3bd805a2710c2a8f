#include "CliRunner.h"

#include <sys/wait.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <stdexcept>

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

Result Workspace::Run(const std::vector<std::string>& args, const std::string& input) const {
  const fs::path in = fPath / ".stdin", out = fPath / ".stdout", err = fPath / ".stderr";
  std::ofstream(in, std::ios::binary) << input;
  // The diskette counter lives in the workspace, never in the user's home.
  std::string command = "cd " + ShellQuote(fPath.string()) +
                        " && XDG_CONFIG_HOME=" + ShellQuote((fPath / ".config").string()) + " " +
                        ShellQuote(Binary());
  for (const std::string& arg : args) command += " " + ShellQuote(arg);
  command += " <" + ShellQuote(in.string()) + " >" + ShellQuote(out.string()) + " 2>" +
             ShellQuote(err.string());
  const int status = std::system(command.c_str());
  Result result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = Slurp(out);
  result.err = Slurp(err);
  fs::remove(in);
  fs::remove(out);
  fs::remove(err);
  return result;
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
