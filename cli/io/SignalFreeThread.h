// A worker thread of the tool: interrupts must reach the main thread, which
// defers them while it commits files, so a worker takes none.
#pragma once

#include <signal.h>

#include <thread>
#include <utility>

namespace zcli {

template <class... Args>
std::thread StartWithoutSignals(Args&&... args) {
  sigset_t all;
  sigset_t previous;
  sigfillset(&all);
  ::pthread_sigmask(SIG_SETMASK, &all, &previous);
  std::thread thread(std::forward<Args>(args)...);
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return thread;
}

}  // namespace zcli
