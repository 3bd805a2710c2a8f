// One record of the bank-code file: fixed columns, Latin-1 text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "zordta/BankCodes.h"

namespace zor::detail::bankdata {

inline constexpr std::size_t kRecordLength = 168;
inline constexpr std::size_t kRecordLengthWithRule = 174;

struct BankCodeLine {
  BankCodeRecord record;
  bool mainRecord = false;  ///< Merkmal 1; branches (2) share the bank code
};

/// The record of one line, its line end removed; raises BankCodeError (File)
/// naming `lineNumber` and the first field that breaks the format.
BankCodeLine ParseBankCodeLine(std::string_view line, std::size_t lineNumber);

/// The file's error for a line: "Bankleitzahlendatei, Zeile N: text".
BankCodeError LineError(std::size_t lineNumber, const std::string& text);

}  // namespace zor::detail::bankdata
