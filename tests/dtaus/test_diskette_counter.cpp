// The diskette counter: one number per header written with Zentralbank, shared
// by every process of the user, never lost and never handed out twice.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

class CounterTest : public ::testing::Test {
 protected:
  std::filesystem::path CounterFile() const {
    return zor::TRegIniFile(ZT("Software\\Zor Software\\TZorDTA")).FileName();
  }
  void PutCounter(const std::string& content) const {
    std::filesystem::create_directories(CounterFile().parent_path());
    std::ofstream(CounterFile(), std::ios::binary) << content;
  }
  std::string CounterText() const { return zortest::ReadFile(CounterFile()); }
  void SetUpRun(zor::TZorDTA& dta) const {
    dta.SetAuftraggeberName("MUSTER");
    dta.SetAuftraggeberBLZ(37040044);
    dta.SetAuftraggeberKontoNr(532013000);
    dta.SetPath(fFiles.AsPath());
    dta.SetZentralbank(true);
  }
  bool FileWritten() const { return std::filesystem::exists(fFiles.path() / "DTAUS0.TXT"); }

  zortest::TempDir fDir;
  zortest::TempDir fFiles;
  zortest::ScopedRegistryRoot fRoot{fDir.path()};
};

TEST_F(CounterTest, StoredValueThatIsNoNumberStopsTheRunAndStaysAsItIs) {
  const std::string kBom = "\xEF\xBB\xBF";
  struct Case {
    std::string stored, shown;
  };
  const Case cases[] = {{"-4", "-4"},
                        {"10000", "10000"},
                        {"2147483648", "2147483648"},
                        {"", ""},
                        {"vier", "vier"},
                        {"0x2A", "0x2A"},
                        {"4.2", "4.2"},
                        {"+42", "+42"},
                        {kBom + "42", "\\xEF\\xBB\\xBF42"},
                        {"4\t2", "4\\x092"},
                        {"4\xFF", "4\\xFF"},
                        {"Zähler", "Zähler"}};
  bool validate = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    const std::string content = "; Diskettenzähler\r\nNummer=" + c.stored + "\r\n";
    PutCounter(content);
    zor::TZorDTA dta(nullptr);
    SetUpRun(dta);
    dta.SetValidateData(validate = !validate);  // refused either way
    EXPECT_THROW_MESSAGE(dta.Start(), ZT("Der Diskettenzähler \"Nummer\" in \"" +
                                         CounterFile().string() + "\" hat den ungültigen Wert „" +
                                         c.shown + "“; erlaubt ist eine Zahl von 0 bis 9999."));
    EXPECT_THROW(dta.Buchung("A", 1234567890, 50010517, 1, "", "", ""), zor::Exception);
    dta.Finish();
    EXPECT_FALSE(FileWritten());
    EXPECT_EQ(CounterText(), content);
  }

  // With message boxes the refusal is shown once and the run still gets no header.
  PutCounter("Nummer=-1\n");
  zortest::MessageBoxRecorder boxes;
  zor::TZorDTA dta(nullptr);
  SetUpRun(dta);
  dta.SetShowWarnings(true);
  dta.Start();
  EXPECT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(dta.DTAFileContent(), "");
}

TEST_F(CounterTest, ByteOrderMarkAtTheStartKeepsTheCount) {
  PutCounter("\xEF\xBB\xBFNummer=41\r\n[Bank]\r\nNummer=7\r\n");
  zor::TZorDTA dta(nullptr);
  SetUpRun(dta);
  dta.Start();
  EXPECT_EQ(dta.DTAFileContent().substr(56, 4), "0042");
  EXPECT_EQ(CounterText(), "\xEF\xBB\xBFNummer=42\r\n[Bank]\r\nNummer=7\r\n");
}

TEST_F(CounterTest, GivingBackStepsBackOnlyWhileNoOtherRunTookOne) {
  struct Case {
    std::string stored, taken, givenBack;
  };
  for (const Case& c :
       {Case{"Nummer=41\n", "0042", "Nummer=41\n"}, Case{"Nummer=9999\n", "0000", "Nummer=9999\n"},
        Case{"", "0001", "Nummer=0\n"}}) {
    SCOPED_TRACE(c.stored);
    std::filesystem::remove(CounterFile());
    if (!c.stored.empty()) PutCounter(c.stored);
    zor::TZorDTA dta(nullptr);
    SetUpRun(dta);
    dta.Start();
    EXPECT_EQ(dta.DTAFileContent().substr(56, 4), c.taken);
    EXPECT_TRUE(dta.GiveBackDiskettenNummer());
    EXPECT_EQ(CounterText(), c.givenBack);
    EXPECT_FALSE(dta.GiveBackDiskettenNummer()) << "a number goes back once";
    EXPECT_EQ(CounterText(), c.givenBack);
  }

  PutCounter("Nummer=41\n");
  zor::TZorDTA first(nullptr), second(nullptr);
  SetUpRun(first);
  SetUpRun(second);
  first.Start();
  second.Start();
  EXPECT_FALSE(first.GiveBackDiskettenNummer()) << "43 is taken on top of 42";
  EXPECT_EQ(CounterText(), "Nummer=43\n");
  EXPECT_TRUE(second.GiveBackDiskettenNummer());
  EXPECT_EQ(CounterText(), "Nummer=42\n");
}

TEST_F(CounterTest, AbandonedRunGivesItsNumberBackAndFinishedRunKeepsIt) {
  PutCounter("Nummer=41\n");
  {
    zor::TZorDTA dta(nullptr);
    SetUpRun(dta);
    dta.Start();
    dta.Buchung("A", 1234567890, 50010517, 1, "", "", "");
  }
  EXPECT_EQ(CounterText(), "Nummer=41\n");
  {
    zor::TZorDTA dta(nullptr);
    SetUpRun(dta);
    dta.SetPath(ZT((fFiles.path() / "fehlt").string()));
    dta.Start();
    EXPECT_THROW(dta.Finish(), zor::Exception);
  }
  EXPECT_EQ(CounterText(), "Nummer=41\n") << "a failed Finish leaves the run open";
  {
    zor::TZorDTA dta(nullptr);
    SetUpRun(dta);
    dta.Start();
    dta.Finish();
    ASSERT_TRUE(FileWritten());
    // A later run that fails its checks has taken nothing to give back.
    dta.SetAuftraggeberBLZ(1);
    EXPECT_THROW(dta.Start(), zor::Exception);
  }
  EXPECT_EQ(CounterText(), "Nummer=42\n");
}

}  // namespace
