// What a SEPA file is - transfers or debits, CORE or B2B, which schema
// version - is never decided by one setting silently overriding another: a job
// and options that contradict each other are refused naming both, and a debit
// setting on transfers is refused rather than dropped.
#pragma once

#include <map>
#include <string>

#include "zordta/Config.h"
#include "zordta/entry/SettingReader.h"

namespace zor::entry {

/// "" when the job's and the options' settings agree on the kind, the scheme
/// and the version, and debit settings come only with debits; else the message.
ZORDTA_API std::string FindSepaConflict(const std::map<std::string, std::string>& job,
                                        const std::map<std::string, std::string>& options,
                                        const KeyLabel& optionLabel);

}  // namespace zor::entry
