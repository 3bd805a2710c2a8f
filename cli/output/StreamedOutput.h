// The files of a DTAUS run whose payment file is written while its payments
// are booked: staged before the first record, so the records go straight into
// the temporary file instead of piling up in memory, and committed together
// with the cover sheets only when every payment was clean.
#pragma once

#include <cstdint>
#include <functional>
#include <ios>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/OutputFiles.h"
#include "output/FileOut.h"
#include "output/RecordedSheet.h"
#include "output/StagedFiles.h"
#include "zordta/ByteSink.h"
#include "zordta/ZorDTA.h"

namespace zcli {

class StreamedOutput {
 public:
  /// Stages the payment file and its sheets as FinishRun would; raises
  /// OutputError when a folder cannot be made or a file not staged.
  StreamedOutput(const OutputFiles& files, const WriteOptions& o);
  /// The same, before the payments are checked: none when the folder does
  /// not exist yet (a run with faults must not leave one behind) or a file
  /// cannot be staged (the run then meets that at its commit, as it would).
  static std::unique_ptr<StreamedOutput> BeforeChecks(const OutputFiles& files,
                                                      const WriteOptions& o);

  /// Where the runs' records go, one run after another.
  zor::ByteSink& Sink() { return fSink; }
  /// Before a run writes its first record: its part begins here.
  void BeginRun() { fStarts.push_back(fSink.written); }
  /// Finishes a run into the file right after its payments, so that the next
  /// run's records follow its E record; its cover sheet is recorded. A
  /// failure is kept for Close.
  void EndRun(zor::TZorBaseDTA& component, const std::function<void()>& finish);

  /// Writes the rest of the payment file and closes it; raises OutputError.
  void Close();
  StagedFiles& Staged() { return fStaged; }
  /// Null when no sheet is drawn (no PDF, no printing).
  const SheetRecorder* Recorder() const { return fRecorder ? &*fRecorder : nullptr; }
  const std::vector<std::uint64_t>& Starts() const { return fStarts; }

 private:
  struct StreamSink : zor::ByteSink {
    // Straight into the buffer: a record at a time, the stream's guard costs
    // as much as the copy. A short write fails the stream as write would.
    void Write(std::string_view bytes) override {
      const auto size = static_cast<std::streamsize>(bytes.size());
      if (!out->good() || out->rdbuf()->sputn(bytes.data(), size) != size) {
        out->setstate(std::ios::badbit);
      }
      written += bytes.size();
    }
    FileOut* out = nullptr;
    std::uint64_t written = 0;
  };

  std::string fTarget;
  StagedFiles fStaged;
  std::unique_ptr<FileOut> fOut;
  StreamSink fSink;
  std::optional<SheetRecorder> fRecorder;
  std::vector<std::uint64_t> fStarts;
  std::string fFinishError;
};

}  // namespace zcli
