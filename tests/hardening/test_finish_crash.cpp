// A writer killed at any moment of Finish leaves at the target either the old file
// or the whole new one, never a cut or a mix. The parent builds one large run and
// forks a child per attempt; the child only calls Finish and is killed with SIGKILL
// after a random delay spread over the time a Finish takes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "hardening/ReadWhole.h"
#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Text.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kBookings = 16000;  // about 4 MB: two 128-byte parts each
constexpr int kAttempts = 200;
constexpr int kCalibrationRuns = 5;
// Kill delays run up to this multiple of a whole Finish, so that some kills come too late.
constexpr double kDelaySpread = 1.3;
constexpr char kTarget[] = "DTAUS0.TXT";

/// A client with a pinned file date, so that every run writes the same bytes.
void Prepare(zor::TZorDTA& dta, const zor::String& fileName) {
  dta.SetDTAFilename(fileName);
  dta.SetAuftraggeberName(zor::Utf8ToAnsi("Stadtwerke Südhöhe"));
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(532013000);
  dta.setDiskettenErstellDatum(zor::EncodeDate(2026, 12, 8));
  dta.Start();
}

void Book(zor::TZorDTA& dta, int count, std::uint32_t seed) {
  std::mt19937 random(seed);
  for (int i = 0; i < count; ++i) {
    zor::TStringList lines;
    lines.Add(zor::StringFromUtf8("Abschlag Nr. " + std::to_string(i)));
    lines.Add(zor::StringFromUtf8("Zähler " + std::to_string(random() % 1000000)));
    dta.Buchung(zor::Utf8ToAnsi("Kundin Jürgens " + std::to_string(i)),
                static_cast<std::int64_t>(10 + random() % 99999999),
                static_cast<std::int64_t>(10000000 + random() % 89999999),
                static_cast<double>(100 + random() % 100000) / 100.0, lines);
  }
}

/// The bytes of a run that is not disturbed; the file name picks the umlaut codes.
std::string Content(const zortest::TempDir& folder, int count, std::uint32_t seed) {
  zor::TZorDTA dta(nullptr);
  dta.SetPath(folder.AsPath());
  Prepare(dta, zor::StringFromUtf8(kTarget));
  Book(dta, count, seed);
  dta.Finish();
  return dta.DTAFileContent();
}

class FinishCrashTest : public ::testing::Test {
 protected:
  FinishCrashTest()
      : target(dir.path() / kTarget),
        oldBytes(Content(referenceDir, 3, 1)),
        newBytes(Content(referenceDir, kBookings, 2)) {
    writer.SetPath(dir.AsPath());
    Prepare(writer, zor::StringFromUtf8(kTarget));
    Book(writer, kBookings, 2);
  }

  void PutOldFile() {
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << oldBytes;
    ASSERT_TRUE(out.flush());
  }

  /// Runs Finish in a child and kills it `delay` after the child reports that
  /// Finish begins (never, when delay is negative). Answers how long Finish took
  /// in the child, or a negative time when the child was killed first.
  std::chrono::duration<double> FinishInChild(std::chrono::duration<double> delay) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
      ADD_FAILURE() << "pipe";
      return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
      // _exit: the child never returns into the test, nor runs its exit handlers.
      ::close(pipeFds[0]);
      int status = 0;
      status |= ::write(pipeFds[1], "S", 1) == 1 ? 0 : 2;
      try {
        writer.Finish();
      } catch (...) {
        status |= 4;
      }
      status |= ::write(pipeFds[1], "F", 1) == 1 ? 0 : 2;
      ::_exit(status);
    }
    ::close(pipeFds[1]);
    EXPECT_GT(child, 0) << "fork";
    if (child < 0) {
      ::close(pipeFds[0]);
      return {};
    }

    char byte = 0;
    EXPECT_EQ(::read(pipeFds[0], &byte, 1), 1) << "the child died before Finish";
    const auto started = Clock::now();
    if (delay.count() >= 0) {
      std::this_thread::sleep_for(delay);
      ::kill(child, SIGKILL);
    }
    const bool finished = ::read(pipeFds[0], &byte, 1) == 1;
    const auto took = Clock::now() - started;
    ::close(pipeFds[0]);

    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    if (WIFEXITED(status)) {
      EXPECT_EQ(WEXITSTATUS(status), 0) << "the child's Finish failed";
    } else {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
    }
    return finished ? std::chrono::duration<double>(took) : std::chrono::duration<double>(-1);
  }

  /// Removes what a killed writer left beside the target; answers how many.
  int RemoveLeftovers() {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
      const std::string name = entry.path().filename().string();
      if (name == kTarget) continue;
      EXPECT_TRUE(name.starts_with(std::string(kTarget) + ".") && name.ends_with(".tmp")) << name;
      fs::remove(entry.path());
      ++count;
    }
    return count;
  }

  zortest::TempDir dir;
  zortest::TempDir referenceDir;
  fs::path target;
  std::string oldBytes;
  std::string newBytes;
  zor::TZorDTA writer{nullptr};
};

TEST_F(FinishCrashTest, TargetHoldsTheOldOrTheWholeNewFile) {
  ASSERT_NE(oldBytes, newBytes);

  std::vector<double> durations;
  for (int i = 0; i < kCalibrationRuns; ++i) {
    PutOldFile();
    const double took = FinishInChild(std::chrono::duration<double>(-1)).count();
    ASSERT_GE(took, 0);
    durations.push_back(took);
    ASSERT_TRUE(zortest::SameBytes(newBytes, zortest::ReadWhole(target))) << "uncrashed run";
    ASSERT_EQ(RemoveLeftovers(), 0) << "an uncrashed run leaves nothing beside the target";
  }
  std::sort(durations.begin(), durations.end());
  const double finishSeconds = durations[durations.size() / 2];

  std::mt19937 random(std::random_device{}());
  std::uniform_real_distribution<double> spread(0, kDelaySpread * finishSeconds);
  int attempts = 0, oldSeen = 0, newSeen = 0, leftovers = 0;
  for (int i = 0; i < kAttempts && !HasFailure(); ++i, ++attempts) {
    PutOldFile();
    // Every tenth kill comes at once or long after the end, whatever the load on the machine.
    const double delay = i % 20 == 0 ? 0 : i % 20 == 10 ? 3 * finishSeconds : spread(random);
    FinishInChild(std::chrono::duration<double>(delay));
    const std::string found = zortest::ReadWhole(target);
    if (found == oldBytes) {
      ++oldSeen;
    } else if (found == newBytes) {
      ++newSeen;
    } else {
      ADD_FAILURE() << "attempt " << i << ", killed after " << delay * 1000
                    << " ms: neither the old nor the new file\n"
                    << zortest::SameBytes(newBytes, found).message();
    }
    leftovers += RemoveLeftovers();
  }

  std::printf("Finish takes %.1f ms; %d attempts: %d old, %d new, %d temporary files left\n",
              finishSeconds * 1000, attempts, oldSeen, newSeen, leftovers);
  EXPECT_GT(oldSeen, 0) << "no kill came early enough";
  EXPECT_GT(newSeen, 0) << "no kill came late enough";
}

}  // namespace
