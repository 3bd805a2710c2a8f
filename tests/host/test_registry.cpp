#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "support/TestSupport.h"
#include "zordta/host/Registry.h"

namespace {

namespace fs = std::filesystem;

const char* const kKey = "Software\\Zor Software\\TZorDTA";

std::int32_t Increment(std::int32_t value) {
  return value + 1;
}

std::vector<std::int32_t> OneTo(int count) {
  std::vector<std::int32_t> values(static_cast<std::size_t>(count));
  std::iota(values.begin(), values.end(), 1);
  return values;
}

class RegistryTest : public ::testing::Test {
 protected:
  fs::path KeyFile() const { return fDir.path() / "Software" / "Zor Software" / "TZorDTA.ini"; }
  void PutKeyFile(const std::string& content) {
    fs::create_directories(KeyFile().parent_path());
    std::ofstream(KeyFile(), std::ios::binary) << content;
  }
  // Only the key and its lock file: no temporary file may stay behind.
  void ExpectNoLeftovers() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(KeyFile().parent_path())) {
      names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"TZorDTA.ini", "TZorDTA.ini.lock"}));
  }

  zortest::TempDir fDir;
  zortest::ScopedRegistryRoot fRoot{fDir.path()};
};

TEST_F(RegistryTest, KeyNamesTheFile) {
  EXPECT_EQ(zor::TRegIniFile(ZT(kKey)).FileName(), KeyFile().string());
  EXPECT_EQ(zor::TRegIniFile(ZT("\\Software\\Zor Software\\TZorDTA\\")).FileName(),
            KeyFile().string());
  zortest::ScopedRegistryRoot unset("");
  if (const char* home = std::getenv("HOME"); home && *home) {
    EXPECT_EQ(zor::TRegIniFile(ZT("Software\\Zähler")).FileName(),
              std::string(home) + "/.config/Software/Zähler.ini");
  }
}

TEST_F(RegistryTest, WritesNewKeyAndReadsItBack) {
  zor::TRegIniFile key(ZT(kKey));
  EXPECT_EQ(key.ReadInteger(ZT(""), ZT("Nummer"), 17), 17);
  key.WriteInteger(ZT(""), ZT("Nummer"), 42);
  EXPECT_EQ(zortest::ReadFile(KeyFile()), "Nummer=42\n");
  key.WriteInteger(ZT("Bank"), ZT("Nummer"), -7);
  EXPECT_EQ(zortest::ReadFile(KeyFile()), "Nummer=42\n\n[Bank]\nNummer=-7\n");

  zor::TRegIniFile other(ZT(kKey));
  EXPECT_EQ(other.ReadInteger(ZT(""), ZT("Nummer"), 0), 42);
  EXPECT_EQ(other.ReadInteger(ZT("Bank"), ZT("Nummer"), 0), -7);
  ExpectNoLeftovers();
}

TEST_F(RegistryTest, ChangesKeepEverythingElse) {
  PutKeyFile(
      "; Einstellungen\nNummer=5\nPfad=/var/dtaus\n\n[Bank]\nBLZ = 37040044\nNummer=x\n"
      "\n[Sonstiges]\nWert=1\nGross=2147483648\nPlus=+5\n");
  zor::TRegIniFile key(ZT(kKey));
  EXPECT_EQ(key.ReadInteger(ZT(""), ZT("Nummer"), 0), 5);
  EXPECT_EQ(key.ReadInteger(ZT("bank"), ZT("blz"), 0), 37040044);
  EXPECT_EQ(key.ReadInteger(ZT("Bank"), ZT("Nummer"), -1), -1);
  EXPECT_EQ(key.ReadInteger(ZT("Sonstiges"), ZT("Nummer"), 9), 9);
  EXPECT_EQ(key.ReadInteger(ZT(""), ZT("Wert"), 3), 3);
  EXPECT_EQ(key.ReadInteger(ZT(""), ZT("Pfad"), 4), 4);
  EXPECT_EQ(key.ReadInteger(ZT("Sonstiges"), ZT("Gross"), 0), 0);
  EXPECT_EQ(key.ReadInteger(ZT("Sonstiges"), ZT("Plus"), 0), 5);

  key.WriteInteger(ZT(""), ZT("Nummer"), 6);
  key.WriteInteger(ZT(""), ZT("Zaehler"), 1);
  EXPECT_EQ(key.UpdateInteger(ZT("BANK"), ZT("Nummer"), 10, Increment), 11);
  key.WriteInteger(ZT("Neu"), ZT("A"), -3);
  EXPECT_EQ(zortest::ReadFile(KeyFile()),
            "; Einstellungen\nNummer=6\nPfad=/var/dtaus\nZaehler=1\n\n[Bank]\nBLZ = 37040044\n"
            "Nummer=11\n\n[Sonstiges]\nWert=1\nGross=2147483648\nPlus=+5\n\n[Neu]\nA=-3\n");

  // Unnamed values belong before the first header.
  PutKeyFile("[Bank]\nNummer=1\n");
  key.WriteInteger(ZT(""), ZT("Nummer"), 2);
  EXPECT_EQ(zortest::ReadFile(KeyFile()), "Nummer=2\n[Bank]\nNummer=1\n");
}

TEST_F(RegistryTest, ValueTextUpdateSeesTheStoredTextAndCanLeaveTheFile) {
  const std::string content = "\xEF\xBB\xBFNummer = 0x2A \r\n[Bank]\r\nNummer=1\r\n";
  PutKeyFile(content);
  zor::TRegIniFile key(ZT(kKey));
  EXPECT_EQ(key.ReadInteger(ZT("Bank"), ZT("Nummer"), 0), 1);
  std::vector<std::string> seen;
  const auto look = [&seen](std::optional<std::string_view> stored) {
    seen.push_back(stored ? std::string(*stored) : "(fehlt)");
    return std::optional<std::string>();
  };
  key.UpdateValueText(ZT(""), ZT("Nummer"), look);
  key.UpdateValueText(ZT(""), ZT("Zaehler"), look);
  EXPECT_EQ(seen, (std::vector<std::string>{"0x2A", "(fehlt)"}));
  EXPECT_EQ(zortest::ReadFile(KeyFile()), content);

  // The mark at the start hides no entry and stays where it is.
  PutKeyFile("\xEF\xBB\xBFNummer=41\n");
  EXPECT_EQ(key.ReadInteger(ZT(""), ZT("Nummer"), 0), 41);
  EXPECT_EQ(key.UpdateInteger(ZT(""), ZT("Nummer"), 0, Increment), 42);
  EXPECT_EQ(zortest::ReadFile(KeyFile()), "\xEF\xBB\xBFNummer=42\n");
}

TEST_F(RegistryTest, FailuresRaiseAndReleaseTheLock) {
  // A file where a folder should be stops even root.
  std::ofstream(fDir.path() / "blocked") << "no folder";
  {
    zortest::ScopedRegistryRoot root(fDir.path() / "blocked");
    zor::TRegIniFile key(ZT(kKey));
    EXPECT_THROW_MESSAGE(key.WriteInteger(ZT(""), ZT("Nummer"), 1),
                         ZT("Der Registrierungsschlüssel \"" + key.FileName() +
                            "\" kann nicht geschrieben werden. " + std::strerror(ENOTDIR)));
    EXPECT_EQ(key.ReadInteger(ZT(""), ZT("Nummer"), 8), 8);
  }
  zor::TRegIniFile key(ZT(kKey));
  key.WriteInteger(ZT(""), ZT("Nummer"), 3);
  const auto broken = [](std::int32_t) -> std::int32_t { throw std::runtime_error("x"); };
  EXPECT_THROW(key.UpdateInteger(ZT(""), ZT("Nummer"), 0, broken), std::runtime_error);
  // Would block for ever if the lock were still held.
  EXPECT_EQ(key.UpdateInteger(ZT(""), ZT("Nummer"), 0, Increment), 4);
}

TEST_F(RegistryTest, ConcurrentThreadsNeverShareAValue) {
  constexpr int kThreads = 4, kUpdates = 100;
  std::vector<std::vector<std::int32_t>> got(kThreads);
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (auto& mine : got) {
    threads.emplace_back([&] {
      try {
        zor::TRegIniFile key(ZT(kKey));
        for (int i = 0; i < kUpdates; ++i) {
          mine.push_back(key.UpdateInteger(ZT("Bank"), ZT("Nummer"), 0, Increment));
        }
      } catch (...) {
        ++failures;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures, 0);
  std::vector<std::int32_t> all;
  for (const auto& mine : got) all.insert(all.end(), mine.begin(), mine.end());
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, OneTo(kThreads * kUpdates));
  EXPECT_EQ(zor::TRegIniFile(ZT(kKey)).ReadInteger(ZT("Bank"), ZT("Nummer"), 0), 400);
}

TEST_F(RegistryTest, ConcurrentProcessesNeverShareAValue) {
  constexpr int kProcesses = 4, kUpdates = 200;
  std::vector<std::pair<pid_t, int>> children;
  for (int p = 0; p < kProcesses; ++p) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int status = 0;
      try {
        zor::TRegIniFile key(ZT(kKey));
        for (int i = 0; i < kUpdates; ++i) {
          const std::int32_t value = key.UpdateInteger(ZT(""), ZT("Nummer"), 0, Increment);
          if (::write(fds[1], &value, sizeof value) != sizeof value) status = 2;
        }
      } catch (...) {
        status = 1;
      }
      ::_exit(status);
    }
    ::close(fds[1]);
    children.emplace_back(pid, fds[0]);
  }

  std::vector<std::int32_t> all;
  for (const auto& [pid, fd] : children) {
    std::vector<std::int32_t> mine;
    for (std::int32_t value; ::read(fd, &value, sizeof value) == sizeof value;) {
      mine.push_back(value);
    }
    ::close(fd);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(mine.size(), static_cast<std::size_t>(kUpdates));
    EXPECT_TRUE(std::is_sorted(mine.begin(), mine.end()));
    all.insert(all.end(), mine.begin(), mine.end());
  }
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, OneTo(kProcesses * kUpdates));
  EXPECT_EQ(zor::TRegIniFile(ZT(kKey)).ReadInteger(ZT(""), ZT("Nummer"), 0), 800);
  ExpectNoLeftovers();
}

}  // namespace
