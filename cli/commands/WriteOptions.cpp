#include "commands/WriteOptions.h"

#include <CLI/CLI.hpp>

namespace zcli {

void AddInputOptions(CLI::App& command, WriteOptions& o) {
  command
      .add_option("--job", o.job,
                  "Auftrag als JSON: Auftraggeber, Einstellungen und (ohne --csv) die Buchungen")
      ->type_name("DATEI");
  command.add_option("--csv", o.csv, "Buchungen als CSV (UTF-8, Kopfzeile mit Spaltennamen)")
      ->type_name("DATEI");
  command
      .add_option("--delimiter", o.delimiter,
                  "Trennzeichen der CSV: , ; oder tab (sonst aus der Kopfzeile erkannt)")
      ->type_name("ZEICHEN");
}

void AddSettingOption(CLI::App& command, WriteOptions& o, const std::string& names,
                      const std::string& key, const std::string& typeName,
                      const std::string& help) {
  CLI::Option* option = command.add_option_function<std::string>(
      names, [&o, key](const std::string& value) { o.settings[key] = value; }, help);
  option->type_name(typeName);
  o.optionNames[key] = option->get_name();
}

void AddSettingFlag(CLI::App& command, WriteOptions& o, const std::string& names,
                    const std::string& key, const std::string& value, const std::string& help) {
  CLI::Option* option = command.add_flag_callback(
      names, [&o, key, value] { o.settings[key] = value; }, help);
  o.optionNames[key] = option->get_name();
}

void AddOutputOptions(CLI::App& command, WriteOptions& o) {
  command.add_flag("--no-text", o.noText, "Keinen Begleitzettel als Text schreiben");
  command.add_flag("--no-pdf", o.noPdf, "Keinen Begleitzettel als PDF schreiben");
  command.add_flag("--dry-run", o.dryRun, "Nur prüfen, nichts schreiben");
  command.add_flag("--overwrite", o.overwrite, "Eine vorhandene Datei ersetzen");
  command.add_flag("--streng", o.streng,
                   "Keinen Text ändern: Namen und Zeilen, die gekürzt würden oder Zeichen "
                   "verlören, sind Fehler");
  o.print = command
                .add_option("--print", o.queue,
                            "Begleitzettel drucken, auf der Warteschlange QUEUE oder der "
                            "Standard-Warteschlange (--print=QUEUE)")
                ->expected(0, 1)
                ->type_name("QUEUE");
  command.add_option("--copies", o.copies, "Anzahl gedruckter Begleitzettel (1 bis 99)")
      ->check(CLI::Range(1u, 99u).description(""))
      ->type_name("N");
}

bool Printing(const WriteOptions& o) {
  return o.print != nullptr && o.print->count() > 0;
}

std::string OptionLabel(const WriteOptions& o, const std::string& key) {
  const auto it = o.optionNames.find(key);
  return it == o.optionNames.end() ? key : it->second;
}

}  // namespace zcli
