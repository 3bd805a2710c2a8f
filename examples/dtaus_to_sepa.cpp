// A DTAUS file of credits as SEPA credit transfers (pain.001), one document a
// logical file, the IBANs made from the central bank's bank-code file:
//
//   dtaus_to_sepa DTAUS-FILE BANK-CODE-FILE OUT-FOLDER [EXECUTION-DATE]
//
// The documents are written only when the whole file converts; each fault and
// warning is printed with its record and byte offset.
#include <zordta/DtausToSepa.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <list>
#include <string>

namespace {

std::chrono::year_month_day ParseDate(const std::string& text) {
  int year = 0;
  unsigned month = 0;
  unsigned day = 0;
  if (std::sscanf(text.c_str(), "%d-%u-%u", &year, &month, &day) != 3) return {};
  return std::chrono::year_month_day{std::chrono::year(year), std::chrono::month(month),
                                     std::chrono::day(day)};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: dtaus_to_sepa DTAUS-FILE BANK-CODE-FILE OUT-FOLDER [YYYY-MM-DD]\n";
    return 2;
  }
  const std::filesystem::path folder = argv[3];
  try {
    std::ifstream bankLines(argv[2], std::ios::binary);
    const zor::BankCodeFile banks = zor::BankCodeFile::Read(bankLines);
    // A bank-code file without IBAN rules: every bank under the standard rule.
    zor::DtausIbans ibans(banks, nullptr, {.assumeStandardRule = true});

    zor::DtausToSepaSettings settings;
    if (argc > 4) settings.executionDate = ParseDate(argv[4]);
    std::ifstream dtaus(argv[1], std::ios::binary);
    if (!dtaus) throw std::runtime_error(std::string("cannot open ") + argv[1]);
    std::filesystem::create_directories(folder);
    std::list<std::ofstream> outs;  // a list: the streams handed out must not move
    const zor::DtausToSepaOutcome outcome = zor::ConvertDtausToSepa(
        dtaus, settings, ibans, nullptr, [&](std::size_t k) -> std::ostream& {
          return outs.emplace_back(folder / ("sepa-" + std::to_string(k + 1) + ".xml"),
                                   std::ios::binary);
        });
    for (const zor::DtausToSepaIssue& issue : outcome.issues) {
      std::cerr << (issue.IsFault() ? "Fehler: " : "Warnung: ") << "Datensatz "
                << issue.place.record << ": " << issue.text << '\n';
    }
    if (!outcome.written) return 1;
    for (std::size_t k = 0; k < outcome.documents.size(); ++k) {
      std::cout << "sepa-" << k + 1 << ".xml: " << outcome.documents[k].payments << " payments, "
                << outcome.documents[k].cents << " cents\n";
    }
    for (std::ofstream& out : outs) {
      out.close();
      if (!out) throw std::runtime_error("cannot write into " + folder.string());
    }
  } catch (const zor::DtausReadError& e) {
    std::cerr << "Fehler: " << e.what() << '\n';
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "Fehler: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
