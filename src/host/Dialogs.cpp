#include "zordta/host/Dialogs.h"

#include <cstdio>
#include <mutex>
#include <utility>

#include "zordta/host/Text.h"

namespace zor {
namespace {

std::mutex& HandlerMutex() {
  static std::mutex mutex;
  return mutex;
}

TMessageBoxHandler& Handler() {
  static TMessageBoxHandler handler;
  return handler;
}

}  // namespace

void SetMessageBoxHandler(TMessageBoxHandler handler) {
  std::lock_guard lock(HandlerMutex());
  Handler() = std::move(handler);
}

void ShowMessageBox(const String& text, const String& caption) {
  TMessageBoxHandler handler;
  {
    std::lock_guard lock(HandlerMutex());
    handler = Handler();
  }
  if (handler) {
    handler(text, caption);
    return;
  }
  // Without a host dialog there is nobody to click OK: tell the console and go on.
  std::fprintf(stderr, "%s: %s\n", StringToUtf8(caption).c_str(), StringToUtf8(text).c_str());
}

}  // namespace zor
