// Temporary files that must not outlive an interrupted run: Ctrl-C (SIGINT),
// SIGTERM and SIGHUP remove every registered file before the process ends as
// the signal would have ended it.
#pragma once

#include <signal.h>

#include <string>

namespace zcli {

/// Registers a temporary file for removal on interruption; installs the
/// handlers on first use. Answers false when all slots are taken (the file is
/// then left to the next run's clean-up of stale temporary files).
bool RemoveOnInterrupt(const std::string& path);
/// Forgets a registered file (committed or removed by the run itself).
void KeepOnInterrupt(const std::string& path);

/// Holds the interrupting signals back for its lifetime, so that a group of
/// files is committed whole; a signal that came in the meantime acts at the end.
class InterruptsDeferred {
 public:
  InterruptsDeferred();
  ~InterruptsDeferred();
  InterruptsDeferred(const InterruptsDeferred&) = delete;
  InterruptsDeferred& operator=(const InterruptsDeferred&) = delete;

 private:
  sigset_t fSaved;
};

}  // namespace zcli
