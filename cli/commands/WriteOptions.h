// The options of both write commands: the input, settings given as options
// (keyed as in a job file), and what to write and print.
#pragma once

#include <map>
#include <string>
#include <vector>

// The commands that parse options include CLI11; the rest of the run needs none of it.
namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace zcli {

struct WriteOptions {
  std::string csv;
  std::string job;
  /// Other files the run reads (the bank-code file); never a target, as the two above.
  std::vector<std::string> readFiles;
  std::string delimiter;
  /// Settings from options, keyed as in a job file ("auftraggeber.blz").
  std::map<std::string, std::string> settings;
  /// Key -> option, for messages.
  std::map<std::string, std::string> optionNames;
  bool noText = false;
  bool noPdf = false;
  bool dryRun = false;
  bool overwrite = false;
  /// Refuse any text that would not be written as given (cut, dropped or replaced characters).
  bool streng = false;
  CLI::Option* print = nullptr;  // asked through Printing()
  std::string queue;
  unsigned copies = 1;
};

void AddInputOptions(CLI::App& command, WriteOptions& o);
/// An option whose value becomes the setting `key`.
void AddSettingOption(CLI::App& command, WriteOptions& o, const std::string& names,
                      const std::string& key, const std::string& typeName, const std::string& help);
/// A flag that sets `key` to `value`.
void AddSettingFlag(CLI::App& command, WriteOptions& o, const std::string& names,
                    const std::string& key, const std::string& value, const std::string& help);
void AddOutputOptions(CLI::App& command, WriteOptions& o);

/// True when --print was given, with or without a queue.
bool Printing(const WriteOptions& o);

/// Names a setting in messages: its option when it came from one.
std::string OptionLabel(const WriteOptions& o, const std::string& key);

}  // namespace zcli
