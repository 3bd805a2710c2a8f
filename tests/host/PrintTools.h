// What the printer tests share: running the PDF and CUPS command-line tools,
// reading their output, and telling a build without printing from a fault.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "zordta/host/Printers.h"

namespace printtest {

/// A word of `pdftotext -bbox`, in PDF points from the page's top-left corner
/// (its text still HTML-escaped).
struct Word {
  double xMin, yMin, xMax, yMax;
  std::string text;  // UTF-8
};

inline std::string Quote(const std::string& text) {
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

/// Runs a shell command; answers its standard output, and its exit status in *status.
inline std::string Run(const std::string& command, int* status = nullptr) {
  std::string out;
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) {
    if (status) *status = -1;
    return out;
  }
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  const int raw = ::pclose(pipe);
  if (status) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return out;
}

inline bool HaveTool(const std::string& name) {
  int status = 0;
  Run("command -v " + Quote(name), &status);
  return status == 0;
}

/// The words of one page of a PDF file, as pdftotext places them.
inline std::vector<Word> Words(const std::filesystem::path& pdf, int page = 1) {
  const std::string html = Run("pdftotext -bbox -f " + std::to_string(page) + " -l " +
                               std::to_string(page) + " " + Quote(pdf.string()) + " -");
  static const std::regex word(
      R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
  std::vector<Word> words;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator();
       ++it) {
    const std::smatch& m = *it;
    words.push_back({std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
  }
  return words;
}

/// The whole text of a PDF file (UTF-8).
inline std::string Text(const std::filesystem::path& pdf) {
  return Run("pdftotext -layout " + Quote(pdf.string()) + " -");
}

/// The value after "Pages:" in pdfinfo's answer; -1 when it cannot tell.
inline int PageCount(const std::filesystem::path& pdf) {
  const std::string info = Run("pdfinfo " + Quote(pdf.string()));
  std::smatch m;
  if (!std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))"))) return -1;
  return std::stoi(m[1]);
}

/// True when the library was built without what this printer needs; any
/// other failure to start a document is the test's to report.
inline bool BuiltWithoutPrinting(zor::TPrinter& printer) {
  try {
    printer.BeginDoc();
  } catch (const zor::Exception& e) {
    if (zor::StringToUtf8(e.Message()) ==
        "Diese Ausgabe der Bibliothek kann nicht drucken (ohne cairo/CUPS gebaut).") {
      return true;
    }
    throw;
  }
  printer.Abort();
  return false;
}

/// The test program's file name, to keep the artifacts of the deliverables apart.
inline std::string ProgramName() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string("tests") : exe.filename().string();
}

}  // namespace printtest
