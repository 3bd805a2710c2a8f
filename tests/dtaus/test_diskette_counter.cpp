// The diskette counter: one number per header written with Zentralbank, shared
// by every process of the user, never lost and never handed out twice.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <set>

#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Registry.h"

namespace {

std::int32_t StoredNumber() {
  return zor::TRegIniFile(ZT("Software\\Zor Software\\TZorDTA"))
      .ReadInteger(ZT(""), ZT("Nummer"), -1);
}

// Writes `runs` empty files with Zentralbank and sends each diskette number to fd.
void WriteNumberedRuns(int runs, int fd) {
  zor::TZorDTA dta(nullptr);
  dta.SetAuftraggeberName("MUSTER");
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(532013000);
  dta.SetDTAFilename(ZT(""));
  dta.SetZentralbank(true);
  for (int i = 0; i < runs; ++i) {
    dta.Start();
    dta.Finish();
    const std::string number = dta.DTAFileContent().substr(56, 4);
    if (::write(fd, number.data(), 4) != 4) _exit(2);
  }
}

TEST(DisketteCounter, ConcurrentProcessesLoseAndRepeatNoNumber) {
  zortest::TempDir dir;
  zortest::ScopedRegistryRoot registry(dir.path());
  constexpr int kProcesses = 4;
  constexpr int kRuns = 40;

  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(pipeFds[0]);
      try {
        WriteNumberedRuns(kRuns, pipeFds[1]);
      } catch (...) {
        _exit(1);
      }
      _exit(0);
    }
    children.push_back(pid);
  }
  ::close(pipeFds[1]);

  std::string received;
  char buffer[256];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
    received.append(buffer, static_cast<std::size_t>(n));
  ::close(pipeFds[0]);
  for (pid_t pid : children) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  ASSERT_EQ(received.size(), 4u * kProcesses * kRuns);
  std::set<int> numbers;
  for (std::size_t i = 0; i < received.size(); i += 4)
    numbers.insert(std::stoi(received.substr(i, 4)));
  EXPECT_EQ(numbers.size(), static_cast<std::size_t>(kProcesses * kRuns))
      << "a number was repeated";
  EXPECT_EQ(*numbers.begin(), 1);
  EXPECT_EQ(*numbers.rbegin(), kProcesses * kRuns) << "a number was lost";
  EXPECT_EQ(StoredNumber(), kProcesses * kRuns);
}

TEST(DisketteCounter, OnlyNumberedHeadersCount) {
  zortest::TempDir dir;
  zortest::ScopedRegistryRoot registry(dir.path());
  zor::TZorDTA dta(nullptr);
  dta.SetAuftraggeberName("MUSTER");
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(532013000);
  dta.SetDTAFilename(ZT(""));
  dta.Start();
  dta.Finish();
  EXPECT_EQ(dta.DTAFileContent().substr(56, 4), "    ");
  EXPECT_EQ(StoredNumber(), -1) << "no registry value without Zentralbank";

  dta.SetZentralbank(true);
  dta.SetAuftraggeberKontoNr(-1);
  dta.SetValidateData(false);
  EXPECT_THROW(dta.Start(), zor::Exception);
  EXPECT_EQ(StoredNumber(), -1) << "a refused header takes no number";
}

}  // namespace
