// What the reading thread works out ahead for a payment row, so that the
// checks on the caller's thread need not: the verdict on its domestic account.
#pragma once

#include <cstdint>

#include "zordta/AccountScreen.h"

namespace zcli {

struct PreparedRow {
  std::int64_t bankCode = 0;
  std::int64_t account = 0;
  bool judged = false;  ///< false: nothing prepared
  zor::AccountScreenVerdict verdict{};
};

}  // namespace zcli
