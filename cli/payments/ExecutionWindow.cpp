#include "payments/ExecutionWindow.h"

#include "io/Values.h"
#include "zordta/Limits.h"
#include "zordta/host/SysUtils.h"

namespace zcli {

namespace {

constexpr int kExecutionWindowDays = zor::limits::kExecutionWindowDays;

}  // namespace

std::string ExecutionDateProblem(zor::TDate date) {
  const zor::TDate today = zor::Date();
  if (date >= today && date <= today + kExecutionWindowDays) return {};
  return "Das Ausführungsdatum " + FormatIsoDate(date) + " muss zwischen heute und heute + " +
         std::to_string(kExecutionWindowDays) + " Tagen liegen.";
}

}  // namespace zcli
