#include "zordta/entry/SepaConflicts.h"

#include <optional>

#include "zordta/entry/MessageText.h"
#include "zordta/entry/Values.h"

namespace zor::entry {

namespace {

// What a recognised value of a deciding key means; none for a value the
// settings' own checks refuse anyway.
std::optional<std::string> Meaning(const std::string& key, const std::string& value) {
  if (key == "lastschriften") {
    const std::optional<bool> debits = ParseBool(value);
    if (!debits) return std::nullopt;
    return *debits ? "Lastschriften (pain.008)" : "Überweisungen (pain.001)";
  }
  const std::string word = AsciiUpper(Trimmed(value));
  if (key == "lastart") {
    if (word == "CORE") return "Basislastschriften (CORE)";
    if (word == "B2B") return "Firmenlastschriften (B2B)";
  } else if (key == "version") {
    if (word == "AKTUELL") return "die aktuelle Fassung (pain.001.001.09 bzw. pain.008.001.08)";
    if (word == "ALT") return "die ältere Fassung (pain.001.003.03 bzw. pain.008.003.02)";
  }
  return std::nullopt;
}

std::string JobLabel(const std::string& key, const std::string& value) {
  return Quoted(key) + ": " + Trimmed(value) + " im Auftrag";
}

}  // namespace

std::string FindSepaConflict(const std::map<std::string, std::string>& job,
                             const std::map<std::string, std::string>& options,
                             const KeyLabel& optionLabel) {
  for (const char* key : {"lastschriften", "lastart", "version"}) {
    const auto fromJob = job.find(key);
    const auto fromOption = options.find(key);
    if (fromJob == job.end() || fromOption == options.end()) continue;
    const std::optional<std::string> jobMeans = Meaning(key, fromJob->second);
    const std::optional<std::string> optionMeans = Meaning(key, fromOption->second);
    if (jobMeans && optionMeans && *jobMeans != *optionMeans) {
      return "Widersprüchliche Angaben: " + optionLabel(key) + " bedeutet " + *optionMeans + ", " +
             JobLabel(key, fromJob->second) + " bedeutet " + *jobMeans + ".";
    }
  }

  const auto said = [&](const std::string& key) -> std::optional<std::string> {
    if (const auto it = options.find(key); it != options.end()) return optionLabel(key);
    if (const auto it = job.find(key); it != job.end()) return JobLabel(key, it->second);
    return std::nullopt;
  };
  bool debits = false;
  for (const auto* settings : {&job, &options}) {
    if (const auto it = settings->find("lastschriften"); it != settings->end()) {
      debits = ParseBool(it->second).value_or(debits);
    }
  }
  if (debits) return {};
  for (const char* key : {"glaeubiger_id", "lastart"}) {
    if (const std::optional<std::string> label = said(key)) {
      return *label +
             " gibt es nur bei Lastschriften (--lastschriften); die Datei enthielte "
             "Überweisungen.";
    }
  }
  return {};
}

}  // namespace zor::entry
