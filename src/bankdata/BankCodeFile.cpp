#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <istream>

#include "bankdata/BankCodeLine.h"
#include "bankdata/BankCodeMessages.h"
#include "core/MessageFill.h"
#include "zordta/BankCodes.h"
#include "zordta/detail/DigitRun.h"
#include "zordta/host/Text.h"

namespace zor {

using namespace detail::msgbank;
using detail::Fill;

BankCodeError::BankCodeError(BankCodeFault fault, std::string text, BankCodeErrorDetails details)
    : Exception(StringFromUtf8(text)), fFault(fault), fDetails(std::move(details)) {}

BankCodeFile BankCodeFile::Load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw BankCodeError(BankCodeFault::File, Fill(_MsgBankFileUnreadable, {path.string()}));
  }
  try {
    return Read(in);
  } catch (const BankCodeError& e) {
    // A read that failed midway is the file's fault, not a line's: name the file.
    if (e.Details().line != 0 || !in.bad()) throw;
    throw BankCodeError(BankCodeFault::File, Fill(_MsgBankFileUnreadable, {path.string()}));
  }
}

BankCodeFile BankCodeFile::Read(std::istream& in) {
  BankCodeFile file;
  std::size_t recordLength = 0;
  std::size_t number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    detail::bankdata::BankCodeLine parsed = detail::bankdata::ParseBankCodeLine(line, number);
    // Both versions have their own length; a mix is a damaged file.
    if (recordLength == 0) recordLength = line.size();
    if (line.size() != recordLength) {
      throw detail::bankdata::LineError(
          number, Fill(_MsgBankLineLengthMixed,
                       {std::to_string(line.size()), std::to_string(recordLength)}));
    }
    if (parsed.mainRecord) file.fRecords.push_back(std::move(parsed.record));
  }
  if (in.bad()) {
    throw BankCodeError(BankCodeFault::File, Fill(_MsgBankFileUnreadable, {"<Datenstrom>"}));
  }
  if (number == 0) throw BankCodeError(BankCodeFault::File, _MsgBankFileEmpty);
  file.fHasIbanRules = recordLength == detail::bankdata::kRecordLengthWithRule;

  std::stable_sort(
      file.fRecords.begin(), file.fRecords.end(),
      [](const BankCodeRecord& a, const BankCodeRecord& b) { return a.bankCode < b.bankCode; });
  const auto twin = std::adjacent_find(
      file.fRecords.begin(), file.fRecords.end(),
      [](const BankCodeRecord& a, const BankCodeRecord& b) { return a.bankCode == b.bankCode; });
  if (twin != file.fRecords.end()) {
    throw detail::bankdata::LineError(
        std::next(twin)->line,
        Fill(_MsgBankDuplicate, {twin->bankCode, std::to_string(twin->line)}));
  }
  return file;
}

namespace {

// A code of 8 digits as one number of its 8 bytes, the first the highest.
// Every record's code is 8 digits (the line parser takes nothing else), and
// for those the numbers' order is the texts' order the records are sorted in:
// a look-up compares numbers, not texts.
std::uint64_t CodeNumber(std::string_view code) {
  std::uint64_t number = 0;
  std::memcpy(&number, code.data(), sizeof number);
  if constexpr (std::endian::native == std::endian::little) number = __builtin_bswap64(number);
  return number;
}

// In one word: every payment of a file looks its bank up.
bool IsEightDigits(std::string_view code) {
  return code.size() == 8 && detail::AreEightDigits(detail::LoadEightBytes(code.data()));
}

}  // namespace

const BankCodeRecord* BankCodeFile::Find(std::string_view bankCode) const noexcept {
  if (!IsEightDigits(bankCode)) return nullptr;  // no record has such a code
  const std::uint64_t number = CodeNumber(bankCode);
  const auto it = std::lower_bound(
      fRecords.begin(), fRecords.end(), number,
      [](const BankCodeRecord& r, std::uint64_t n) { return CodeNumber(r.bankCode) < n; });
  return it != fRecords.end() && it->bankCode == bankCode ? &*it : nullptr;
}

}  // namespace zor
