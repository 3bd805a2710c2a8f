// The CUPS printer against a real scheduler: scripts/start-cups.sh starts one
// with a cups-pdf queue and names it in ZORDTA_CUPS_QUEUE (the PDF folder in
// ZORDTA_CUPS_PDF_DIR, the scheduler in CUPS_SERVER).
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <thread>

#include "host/PrintTools.h"
#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Printers.h"

namespace {

namespace fs = std::filesystem;
using std::chrono::steady_clock;

constexpr auto kPatience = std::chrono::seconds(30);

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Sets an environment variable for the scope; only for threads of the test's own.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : fName(name) {
    if (const char* old = std::getenv(name)) fOld = old;
    ::setenv(name, value, 1);
  }
  ~ScopedEnv() {
    if (fOld) {
      ::setenv(fName, fOld->c_str(), 1);
    } else {
      ::unsetenv(fName);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* fName;
  std::optional<std::string> fOld;
};

TEST(TCupsPrinter, WithoutASchedulerThereIsNoPrinter) {
  {
    zor::TCupsPrinter probe(ZT("ZorDTA-PDF"));
    try {
      probe.BeginDoc();
      probe.Abort();
    } catch (const zor::Exception& e) {
      if (zor::StringToUtf8(e.Message()).find("ohne cairo/CUPS") != std::string::npos) {
        GTEST_SKIP() << "built without CUPS";
      }
    }
  }
  // The CUPS client keeps its server per thread, so a fresh thread sees the
  // changed variable and the rest of the process keeps the real scheduler.
  std::thread([] {
    zortest::TempDir nowhere;
    const ScopedEnv server("CUPS_SERVER", (nowhere.path() / "cups.sock").c_str());
    zor::TCupsPrinter byDefault;
    EXPECT_THROW_MESSAGE(byDefault.BeginDoc(), ZT("Es ist kein Drucker installiert."));
    EXPECT_FALSE(byDefault.Printing());
    zor::TCupsPrinter named(ZT("Büro"));
    EXPECT_THROW_MESSAGE(named.BeginDoc(), ZT("Der Drucker \"Büro\" ist nicht vorhanden."));
  }).join();
}

class TCupsPrinterQueue : public ::testing::Test {
 protected:
  void SetUp() override {
    queue = Env("ZORDTA_CUPS_QUEUE");
    pdfDir = Env("ZORDTA_CUPS_PDF_DIR");
    if (queue.empty()) GTEST_SKIP() << "ZORDTA_CUPS_QUEUE is not set (scripts/start-cups.sh)";
    zor::TCupsPrinter probe(ZT(queue));
    // A scheduler is there to test against, so a build that cannot use it is a fault.
    ASSERT_FALSE(printtest::BuiltWithoutPrinting(probe)) << "ZORDTA_CUPS_QUEUE is set";
  }

  // The queue's URI for ipptool; a socket path goes into the host part, encoded.
  std::string QueueUri() const {
    std::string server = Env("CUPS_SERVER");
    if (server.empty()) server = "localhost";
    if (server[0] == '/') {
      std::string encoded;
      for (char c : server) encoded += c == '/' ? std::string("%2F") : std::string(1, c);
      server = encoded;
    }
    return "ipp://" + server + "/printers/" + queue;
  }

  struct Job {
    int id = 0;
    std::string name;
    int copies = 0;
    std::string state;
  };

  // The queue's jobs, finished ones included, as the scheduler keeps them.
  std::vector<Job> Jobs() const {
    zortest::TempDir scratch;
    const fs::path test = scratch.path() / "jobs.test";
    std::ofstream(test) << R"({
  OPERATION Get-Jobs
  GROUP operation-attributes-tag
  ATTR charset attributes-charset utf-8
  ATTR naturalLanguage attributes-natural-language en
  ATTR uri printer-uri $uri
  ATTR name requesting-user-name $user
  ATTR keyword which-jobs all
  ATTR keyword requested-attributes job-id,job-name,copies,job-state
  STATUS successful-ok
  DISPLAY job-id
  DISPLAY job-name
  DISPLAY copies
  DISPLAY job-state
}
)";
    const std::string csv = printtest::Run("ipptool -c " + printtest::Quote(QueueUri()) + " " +
                                           printtest::Quote(test.string()));
    std::vector<Job> jobs;
    static const std::regex row(R"(^(\d+),([^,\n]*),(\d*),([a-z-]+)$)", std::regex::multiline);
    for (auto it = std::sregex_iterator(csv.begin(), csv.end(), row); it != std::sregex_iterator();
         ++it) {
      const std::smatch& m = *it;
      jobs.push_back({std::stoi(m[1]), m[2], m[3].length() ? std::stoi(m[3]) : 0, m[4]});
    }
    return jobs;
  }

  std::string queue;
  std::string pdfDir;
};

TEST_F(TCupsPrinterQueue, OneJobWithTheCopyCountAndItsPdfHoldsTheTexts) {
  if (!printtest::HaveTool("ipptool")) GTEST_SKIP() << "ipptool (cups-ipp-utils) is missing";
  // The deliverables' test programs print at the same time; the title tells our job.
  const std::string title =
      "ZorDTA-Test-" + printtest::ProgramName() + "-" + std::to_string(::getpid());
  const std::string marker = "Auftrag " + std::to_string(::getpid()) + " Prüfsumme €";

  zor::TCupsPrinter printer(ZT(queue));
  printer.SetCopies(3);
  printer.SetTitle(ZT(title));
  printer.BeginDoc();
  zor::TCanvas& canvas = printer.Canvas();
  canvas.SetMapMode(zor::MM_LOMETRIC);
  canvas.SetFontName(ZT("Times New Roman"));
  canvas.SetFontHeight(48);
  canvas.SetPenWidth(2);
  canvas.TextOut(200, -200, ZT("ZorDTA Begleitzettel"));
  canvas.TextOut(200, -400, ZT(marker));
  canvas.MoveTo(200, -500);
  canvas.LineTo(1800, -500);
  printer.EndDoc();
  EXPECT_FALSE(printer.Printing());
  const int jobId = printer.LastJobId();
  ASSERT_GT(jobId, 0);

  std::vector<Job> ours;
  const auto deadline = steady_clock::now() + kPatience;
  for (;;) {
    ours.clear();
    for (const Job& job : Jobs()) {
      if (job.name == title) ours.push_back(job);
    }
    const bool done =
        ours.size() == 1 &&
        (ours[0].state == "completed" || ours[0].state == "aborted" || ours[0].state == "canceled");
    if (done || steady_clock::now() > deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  ASSERT_EQ(ours.size(), 1u) << "jobs named " << title;
  EXPECT_EQ(ours[0].id, jobId);
  EXPECT_EQ(ours[0].copies, 3);
  ASSERT_EQ(ours[0].state, "completed");

  if (pdfDir.empty() || !printtest::HaveTool("pdftotext")) {
    GTEST_SKIP() << "ZORDTA_CUPS_PDF_DIR or pdftotext is missing: the PDF is not checked";
  }
  // cups-pdf names its file after the title; the text on the page says which is ours.
  fs::path found;
  const auto fileDeadline = steady_clock::now() + kPatience;
  while (found.empty() && steady_clock::now() < fileDeadline) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(pdfDir, error)) {
      if (entry.path().extension() == ".pdf" &&
          printtest::Text(entry.path()).find(marker) != std::string::npos) {
        found = entry.path();
      }
    }
    if (found.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  ASSERT_FALSE(found.empty()) << "no PDF in " << pdfDir << " holds \"" << marker << "\"";
  const std::string text = printtest::Text(found);
  EXPECT_NE(text.find("ZorDTA Begleitzettel"), std::string::npos) << text;
}

TEST_F(TCupsPrinterQueue, FinishPrintsTheCoverSheetAsOneJobWithItsCopies) {
  if (!printtest::HaveTool("ipptool")) GTEST_SKIP() << "ipptool (cups-ipp-utils) is missing";
  const std::string title =
      "ZorDTA-Finish-" + printtest::ProgramName() + "-" + std::to_string(::getpid());
  auto printer = std::make_shared<zor::TCupsPrinter>(ZT(queue));
  printer->SetTitle(ZT(title));  // the printer's own setting; the component sets none
  zor::SetPrinter(printer);
  zortest::TempDir dir;
  zor::TZorDTA dta(nullptr);
  dta.SetAuftraggeberName(ZA("Muster GmbH"));
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(532013000);
  dta.SetPath(dir.AsPath());
  dta.SetAnzahlBegleitzettel(3);
  dta.Start();
  dta.Finish();
  zor::SetPrinter(nullptr);

  std::vector<Job> ours;
  const auto deadline = steady_clock::now() + kPatience;
  do {
    ours.clear();
    for (const Job& job : Jobs()) {
      if (job.name == title) ours.push_back(job);
    }
    if (ours.size() == 1 && ours[0].state == "completed") break;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  } while (steady_clock::now() < deadline);
  ASSERT_EQ(ours.size(), 1u) << "one job, not one per copy";
  EXPECT_EQ(ours[0].id, printer->LastJobId());
  EXPECT_EQ(ours[0].copies, 3);

  if (pdfDir.empty() || !printtest::HaveTool("pdftotext")) GTEST_SKIP() << "PDF not checked";
  bool found = false;
  const auto fileDeadline = steady_clock::now() + kPatience;
  while (!found && steady_clock::now() < fileDeadline) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(pdfDir, error)) {
      const std::string text =
          entry.path().extension() == ".pdf" ? printtest::Text(entry.path()) : "";
      found = found || (text.find("Diskettenbegleitzettel") != std::string::npos &&
                        text.find("532013000") != std::string::npos);
    }
    if (!found) std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  EXPECT_TRUE(found) << "cups-pdf wrote no PDF holding the cover sheet";
}

TEST_F(TCupsPrinterQueue, AQueueThatIsNotThereRaises) {
  zor::TCupsPrinter printer(ZT("ZorDTA-gibt-es-nicht"));
  EXPECT_THROW_MESSAGE(printer.BeginDoc(),
                       ZT("Der Drucker \"ZorDTA-gibt-es-nicht\" ist nicht vorhanden."));
  EXPECT_FALSE(printer.Printing());
  EXPECT_EQ(printer.LastJobId(), 0);
}

}  // namespace
