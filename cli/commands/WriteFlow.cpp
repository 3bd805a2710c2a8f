#include "commands/WriteFlow.h"

#include <iostream>
#include <memory>

#include "commands/Commands.h"
#include "commands/InputChecks.h"
#include "commands/OutputFiles.h"
#include "output/FileOut.h"
#include "output/OutputError.h"
#include "output/StagedFiles.h"
#include "output/StandardOutput.h"

namespace zcli {

CheckedInput::CheckedInput() {
  inputErrors.KeepFirstByPlace(kShownErrors);
  errors.KeepFirstByPlace(kShownErrors);
}

std::optional<int> ReportChecked(CheckedInput& checked, const std::string& inputName) {
  if (!checked.inputErrors.Empty() && (checked.records == 0 || !checked.complete)) {
    return ReportErrors(checked.inputErrors, inputName);
  }
  Diagnostics errors = std::move(checked.inputErrors);
  errors.Append(std::move(checked.errors));
  ReportWarnings(checked.warnings, errors, inputName);
  if (!errors.Empty()) return ReportErrors(errors, inputName);
  if (checked.records == 0) {
    std::cerr << "Fehler: Keine Buchungen; nichts geschrieben.\n";
    return kBadData;
  }
  return std::nullopt;
}

int DryRunOrCommit(bool dryRun, const std::vector<std::string>& checkedLines,
                   const std::function<int()>& commit) {
  if (!dryRun) return commit();
  for (const std::string& line : checkedLines) std::cout << line << '\n';
  return kDone;
}

std::optional<int> WriteOrReport(const std::function<void()>& write) {
  try {
    write();
    return std::nullopt;
  } catch (const OutputError& e) {
    std::cerr << "Fehler: " << e.what() << "\nNichts geschrieben.\n";
    return kBadData;
  }
}

void WriteStaged(const std::vector<std::string>& targets, const std::vector<std::string>& inputs,
                 bool overwrite,
                 const std::function<void(const std::vector<std::ostream*>&)>& write,
                 const WriterRefusal& refusal) {
  StagedFiles staged(overwrite, inputs);
  std::vector<std::unique_ptr<FileOut>> outs;
  std::vector<std::ostream*> streams;
  for (const std::string& target : targets) {
    CreateFolderOf(target);
    outs.push_back(std::make_unique<FileOut>(staged.Stage(target)));
    if (!*outs.back()) throw CannotWrite(target, outs.back()->Error());
    streams.push_back(outs.back().get());
  }
  try {
    write(streams);
  } catch (const zor::SepaError& e) {
    if (refusal.before) refusal.before(e);
    // The writer knows only that its stream failed; the file knows why.
    for (std::size_t i = 0; i < targets.size(); ++i) {
      if (outs[i]->Error() != 0) throw CannotWrite(targets[i], outs[i]->Error());
    }
    throw OutputError(refusal.message(e));
  }
  for (std::size_t i = 0; i < targets.size(); ++i) {
    outs[i]->close();
    if (!*outs[i]) throw CannotWrite(targets[i], outs[i]->Error());
  }
  staged.Commit();
}

int ReportWritten(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) std::cout << line << '\n';
  return FlushStandardOutput() ? kDone : kWrittenNotAll;
}

}  // namespace zcli
