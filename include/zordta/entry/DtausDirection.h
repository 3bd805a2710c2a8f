// Credits or debits: a DTAUS file holds one or the other, and the settings that
// decide it must not contradict each other, since no one of them may simply win
// when the direction of the money is at stake.
#pragma once

#include <map>
#include <string>

#include "zordta/Config.h"
#include "zordta/entry/SettingReader.h"

namespace zor::entry {

/// "" when the settings that were given (the job's and the options') agree on
/// credits or debits, else a message naming two that contradict each other.
/// Among them: a payment key of debits (04..., 05...) or of credits (51, 53, 54, 56...).
ZORDTA_API std::string FindDirectionConflict(const std::map<std::string, std::string>& job,
                                             const std::map<std::string, std::string>& options,
                                             const KeyLabel& optionLabel);

}  // namespace zor::entry
