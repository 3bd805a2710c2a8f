#include "zordta/entry/SepaConflicts.h"

#include <optional>
#include "core/MessageFill.h"
#include "entry/RowMessages.h"
#include "zordta/Printable.h"

#include "zordta/entry/Values.h"

namespace zor::entry {

using zor::detail::Fill;

namespace {

// What a recognised value of a deciding key means; none for a value the
// settings' own checks refuse anyway.
std::optional<std::string> Meaning(const std::string& key, const std::string& value) {
  if (key == "lastschriften") {
    const std::optional<bool> debits = ParseBool(value);
    if (!debits) return std::nullopt;
    return *debits ? _MsgRowSepaDebits : _MsgRowSepaTransfers;
  }
  if (key == "echtzeit") {
    const std::optional<bool> instant = ParseBool(value);
    if (!instant) return std::nullopt;
    return *instant ? _MsgRowSepaInstant : _MsgRowSepaNotInstant;
  }
  if (key == "sammelbuchung") {
    const std::optional<bool> batch = ParseBool(value);
    if (!batch) return std::nullopt;
    return *batch ? _MsgRowSepaBatch : _MsgRowSepaSingle;
  }
  const std::string word = AsciiUpper(Trimmed(value));
  if (key == "lastart") {
    if (word == "CORE") return _MsgRowSepaCore;
    if (word == "B2B") return _MsgRowSepaB2b;
  } else if (key == "version") {
    if (word == "AKTUELL") return _MsgRowSepaCurrent;
    if (word == "ALT") return _MsgRowSepaGerman;
    if (word == "2009") return _MsgRowSepaIso2009;
  }
  return std::nullopt;
}

std::string JobLabel(const std::string& key, const std::string& value) {
  return Fill(_MsgRowInJob, {zor::PrintableText(key), Trimmed(value)});
}

}  // namespace

std::string FindSepaConflict(const std::map<std::string, std::string>& job,
                             const std::map<std::string, std::string>& options,
                             const KeyLabel& optionLabel) {
  for (const char* key : {"lastschriften", "lastart", "version", "sammelbuchung", "echtzeit"}) {
    const auto fromJob = job.find(key);
    const auto fromOption = options.find(key);
    if (fromJob == job.end() || fromOption == options.end()) continue;
    const std::optional<std::string> jobMeans = Meaning(key, fromJob->second);
    const std::optional<std::string> optionMeans = Meaning(key, fromOption->second);
    if (jobMeans && optionMeans && *jobMeans != *optionMeans) {
      return Fill(_MsgRowContradiction,
                  {optionLabel(key), *optionMeans, JobLabel(key, fromJob->second), *jobMeans});
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
  // The ultimate party of a block is the payer of transfers, the payee of debits.
  const std::string other = debits ? "endzahler." : "endempfaenger.";
  for (const auto* settings : {&options, &job}) {
    const auto it = settings->lower_bound(other);
    if (it == settings->end() || !it->first.starts_with(other)) continue;
    const std::string label =
        settings == &job ? JobLabel(it->first, it->second) : optionLabel(it->first);
    return Fill(debits ? _MsgRowTransfersOnlyInDebits : _MsgRowDebitsOnlyInTransfers, {label});
  }
  if (debits) return {};
  for (const char* key : {"glaeubiger_id", "lastart"}) {
    if (const std::optional<std::string> label = said(key)) {
      return Fill(_MsgRowDebitsOnlyInTransfers, {*label});
    }
  }
  return {};
}

}  // namespace zor::entry
