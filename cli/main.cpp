// zordta: payment files DTAUS and DTAZV from the command line.
// Exit codes: 0 done, 1 bad data or a file that cannot be read or written
// (nothing written then), 2 bad usage, 3 written but not printed or reported.
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "commands/Commands.h"
#include "io/EntryNames.h"
#include "output/OutputError.h"
#include "output/StandardOutput.h"
#include "zordta/ZorDTA.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/host/Exception.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace {

// The library's own version: the tool has none apart from it.
std::string LibraryVersion() {
  zor::TZorDTA dta(nullptr);
  const std::string version = zor::StringToUtf8(dta.Version());  // "TZorDTA V4.1.2"
  const std::size_t v = version.rfind(" V");
  return v == std::string::npos ? version : version.substr(v + 2);
}

void GermanLabels(CLI::App& app) {
  auto formatter = app.get_formatter();
  formatter->label("Usage", "Aufruf");
  formatter->label("OPTIONS", "OPTIONEN");
  formatter->label("SUBCOMMAND", "BEFEHL");
  formatter->label("SUBCOMMANDS", "BEFEHLE");
  formatter->label("Positionals", "Argumente");
  formatter->label("REQUIRED", "Pflicht");
  formatter->label("TEXT", "TEXT");
  formatter->label("UINT", "ZAHL");
  formatter->label("Needs", "Braucht");
  formatter->label("Excludes", "Schließt aus");
  app.option_defaults()->group("Optionen");
}

// CLI11 explains in English; the tool speaks German and keeps CLI11's detail.
std::string GermanFailure(const CLI::App* app, const CLI::Error& e) {
  const std::string what = e.what();
  std::string text;
  if (dynamic_cast<const CLI::ExtrasError*>(&e)) {
    const std::size_t colon = what.find(": ");
    text = "Unbekannte Angabe: " + (colon == std::string::npos ? what : what.substr(colon + 2));
  } else if (dynamic_cast<const CLI::RequiredError*>(&e)) {
    const std::string suffix = " is required";
    if (what.rfind("A subcommand", 0) == 0) {
      text = "Es fehlt ein Befehl.";
    } else if (what.size() > suffix.size() &&
               what.compare(what.size() - suffix.size(), suffix.size(), suffix) == 0) {
      text = "Es fehlt " + what.substr(0, what.size() - suffix.size()) + ".";
    } else {
      text = "Es fehlt eine Pflichtangabe (" + what + ").";
    }
  } else if (dynamic_cast<const CLI::ValidationError*>(&e) ||
             dynamic_cast<const CLI::ConversionError*>(&e)) {
    text = "Ungültiger Wert (" + what + ").";
  } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&e)) {
    text = "Falsche Anzahl von Werten (" + what + ").";
  } else {
    text = "Aufruf fehlerhaft (" + what + ").";
  }
  // Help for the command that was being given.
  std::string command = app->get_name();
  for (const CLI::App* sub = app; !sub->get_subcommands().empty();) {
    sub = sub->get_subcommands().front();
    command += " " + sub->get_name();
  }
  return "Fehler: " + text + "\nHilfe: " + command + " --help\n";
}

}  // namespace

int main(int argc, char** argv) {
  const zcli::StandardOutputBuffer standardOutput;
  // The sheets go to a German bank: German dates and decimal commas, whatever the locale.
  zor::TFormatSettings& formats = zor::FormatSettings();
  formats.DecimalSeparator = ',';
  formats.DateSeparator = '.';
  formats.ShortDateFormat = "dd/mm/yyyy";

  CLI::App app{
      "Zahlungsdateien DTAUS (Inland) und DTAZV (Ausland) schreiben, DTAUS lesen und prüfen,\n"
      "Begleitzettel erstellen und drucken, IBAN und BIC prüfen, IBAN aus Bankleitzahl und\n"
      "Konto bilden, Kontonummern prüfen.\n"
      "Exit-Codes: 0 erledigt, 1 fehlerhafte Daten, 2 fehlerhafter Aufruf.",
      "zordta"};
  GermanLabels(app);
  app.set_help_flag("-h,--help", "Diese Hilfe anzeigen");
  app.set_version_flag("--version", "zordta " + LibraryVersion(), "Version anzeigen");
  app.require_subcommand(1);
  app.failure_message(GermanFailure);

  zcli::Action action;
  zcli::AddDtausCommands(app, action);
  zcli::AddDtazvCommands(app, action);
  zcli::AddSepaCommands(app, action);
  zcli::AddCoverSheetCommand(app, action);
  zcli::AddCheckCommands(app, action);
  zcli::AddBankCommands(app, action);
  for (CLI::App* sub : app.get_subcommands({})) {
    sub->group("Befehle");
    sub->set_help_flag("-h,--help", "Diese Hilfe anzeigen");
    for (CLI::App* leaf : sub->get_subcommands({})) {
      leaf->group("Befehle");
      leaf->set_help_flag("-h,--help", "Diese Hilfe anzeigen");
    }
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? zcli::kDone : zcli::kBadUsage;
  }

  try {
    const int code = action ? action() : zcli::kBadUsage;
    // A report that did not reach its reader is no success.
    if (!zcli::FlushStandardOutput() && code == zcli::kDone) return zcli::kBadData;
    return code;
  } catch (const zcli::UsageError& e) {
    std::cerr << "Fehler: " << e.what() << "\nHilfe: zordta --help\n";
    return zcli::kBadUsage;
  } catch (const zcli::OutputError& e) {
    std::cerr << "Fehler: " << e.what() << '\n';
    return zcli::kBadData;
  } catch (const zor::Exception& e) {
    std::cerr << "Fehler: " << zcli::OneLine(e.what()) << '\n';
    return zcli::kBadData;
  } catch (const std::exception& e) {
    std::cerr << "Fehler: " << e.what() << '\n';
    return zcli::kBadData;
  }
}
