#include "payments/ExecutionWindow.h"

#include "zordta/host/SysUtils.h"

namespace zcli {

namespace {

constexpr int kExecutionWindowDays = 15;

}  // namespace

bool InExecutionWindow(zor::TDate date) {
  const zor::TDate today = zor::Date();
  return date >= today && date <= today + kExecutionWindowDays;
}

}  // namespace zcli
