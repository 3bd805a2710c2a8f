// zordta iban check | bic check
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "commands/Commands.h"
#include "io/EntryNames.h"
#include "zordta/PaymentValues.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/entry/Dtazv.h"
#include "zordta/entry/MessageText.h"
#include "zordta/entry/Utf8Check.h"
#include "zordta/entry/Values.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace {

enum class Identifier { IBAN, BIC };

struct CheckOptions {
  Identifier kind = Identifier::IBAN;
  std::vector<std::string> values;
};

// "" when valid, else the reason.
std::string Problem(zor::TZorDTAZV& checker, Identifier kind, const std::string& text) {
  if (zor::FindMalformedUtf8(text) != std::string::npos) return "kein gültiges UTF-8.";
  const std::vector<ForeignChar> foreign = FindCharsOutsideCp1252(text);
  if (!foreign.empty()) return ForeignCharMessage(foreign.front());
  const std::string compact = CompactIdentifier(text);
  const std::string problem =
      kind == Identifier::IBAN ? zor::IbanProblemText(compact) : zor::BicProblemText(compact);
  if (!problem.empty()) return problem;
  // The library's own check stays as a last word; it passes what passed above.
  try {
    if (kind == Identifier::IBAN) {
      checker.ValidateIBAN(zor::Utf8ToAnsi(compact));
    } else {
      checker.ValidateBIC(zor::Utf8ToAnsi(compact));
    }
  } catch (const zor::Exception& e) {
    return e.what();
  }
  return std::string();
}

int Run(const CheckOptions& o) {
  std::vector<std::string> values = o.values;
  if (values.empty()) {
    for (std::string line; std::getline(std::cin, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!Trimmed(line).empty()) values.push_back(Trimmed(line));
    }
  }
  const char* what = o.kind == Identifier::IBAN ? "IBAN" : "BIC";
  if (values.empty()) throw UsageError(std::string("Keine ") + what + " angegeben.");

  zor::TZorDTAZV checker(nullptr);
  bool allValid = true;
  for (const std::string& value : values) {
    const std::string problem = Problem(checker, o.kind, value);
    if (problem.empty()) {
      std::cout << value << ": gültig\n";
    } else {
      std::cout << value << ": ungültig: " << problem << '\n';
      allValid = false;
    }
  }
  return allValid ? kDone : kBadData;
}

void AddCheck(CLI::App& app, Action& action, const char* name, Identifier kind,
              const char* description, const char* valueHelp) {
  CLI::App* group = app.add_subcommand(name, description);
  group->require_subcommand(1);
  auto o = std::make_shared<CheckOptions>();
  o->kind = kind;
  CLI::App* check = group->add_subcommand(
      "check",
      std::string(description) + ": eine Zeile je Wert, Exit-Code 1 wenn einer ungültig ist");
  check->add_option("WERT", o->values, valueHelp);
  check->callback([o, &action] { action = [o] { return Run(*o); }; });
}

}  // namespace

void AddCheckCommands(CLI::App& app, Action& action) {
  AddCheck(app, action, "iban", Identifier::IBAN, "IBAN prüfen",
           "IBANs (Leerzeichen erlaubt); ohne Angabe eine je Zeile von der Standardeingabe");
  AddCheck(app, action, "bic", Identifier::BIC, "BIC prüfen",
           "BICs; ohne Angabe eine je Zeile von der Standardeingabe");
}

}  // namespace zcli
