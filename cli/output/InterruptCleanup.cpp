#include "output/InterruptCleanup.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace zcli {

namespace {

// A handler may only touch what is async-signal-safe: fixed slots, unlink, raise.
constexpr int kSlots = 8;
char gPaths[kSlots][PATH_MAX];
volatile sig_atomic_t gUsed[kSlots];
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
std::atomic<bool> gInstalled{false};

extern "C" void RemoveAndDie(int signal) {
  for (int i = 0; i < kSlots; ++i) {
    if (gUsed[i]) ::unlink(gPaths[i]);
  }
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  ::sigaction(signal, &fallback, nullptr);
  ::raise(signal);
}

void Install() {
  if (gInstalled.exchange(true)) return;
  struct sigaction action {};
  action.sa_handler = RemoveAndDie;
  sigemptyset(&action.sa_mask);
  for (int s : kSignals) sigaddset(&action.sa_mask, s);
  for (int s : kSignals) {
    struct sigaction previous {};
    // A signal the caller chose to ignore (nohup) stays ignored.
    if (::sigaction(s, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    ::sigaction(s, &action, nullptr);
  }
}

sigset_t Interrupts() {
  sigset_t set;
  sigemptyset(&set);
  for (int s : kSignals) sigaddset(&set, s);
  return set;
}

}  // namespace

bool RemoveOnInterrupt(const std::string& path) {
  if (path.size() >= PATH_MAX) return false;
  Install();
  for (int i = 0; i < kSlots; ++i) {
    if (gUsed[i]) continue;
    std::memcpy(gPaths[i], path.c_str(), path.size() + 1);
    gUsed[i] = 1;
    return true;
  }
  return false;
}

void KeepOnInterrupt(const std::string& path) {
  for (int i = 0; i < kSlots; ++i) {
    if (gUsed[i] && path == gPaths[i]) gUsed[i] = 0;
  }
}

InterruptsDeferred::InterruptsDeferred() {
  const sigset_t block = Interrupts();
  ::sigprocmask(SIG_BLOCK, &block, &fSaved);
}

InterruptsDeferred::~InterruptsDeferred() {
  ::sigprocmask(SIG_SETMASK, &fSaved, nullptr);
}

}  // namespace zcli
