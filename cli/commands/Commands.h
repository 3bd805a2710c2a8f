// The commands of zordta. Each registers its subcommand and, when it is chosen,
// leaves the work to run in `action`; the work answers the exit code.
#pragma once

#include <functional>
#include <stdexcept>

// Only the commands themselves need CLI11, which is costly to compile.
namespace CLI {
class App;
}  // namespace CLI

namespace zcli {

/// 1: nothing was written. 3: the files were written, but what was to follow
/// (printing, the report on standard output) failed.
enum ExitCode { kDone = 0, kBadData = 1, kBadUsage = 2, kWrittenNotAll = 3 };

/// A call that cannot be carried out as given (exit code 2).
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using Action = std::function<int()>;

void AddDtausCommands(CLI::App& app, Action& action);
void AddDtazvCommands(CLI::App& app, Action& action);
void AddSepaCommands(CLI::App& app, Action& action);
/// "sepa read", below the "sepa" command.
void AddSepaReadCommand(CLI::App& sepa, Action& action);
/// "dtazv read", below the "dtazv" command.
void AddDtazvReadCommand(CLI::App& dtazv, Action& action);
/// "sepa convert", below the "sepa" command.
void AddSepaConvertCommand(CLI::App& sepa, Action& action);
void AddCoverSheetCommand(CLI::App& app, Action& action);
void AddCheckCommands(CLI::App& app, Action& action);
/// After AddCheckCommands: "iban aus" joins "iban check".
void AddBankCommands(CLI::App& app, Action& action);

}  // namespace zcli
