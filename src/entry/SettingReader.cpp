#include "zordta/entry/SettingReader.h"

#include "core/MessageFill.h"
#include "entry/RowMessages.h"
#include "zordta/Printable.h"
#include "zordta/entry/Values.h"

namespace zor::entry {

using zor::detail::Fill;

SettingReader::SettingReader(const std::map<std::string, std::string>& values, std::string where,
                             KeyLabel label, Diagnostics& errors)
    : fValues(values), fWhere(std::move(where)), fLabel(std::move(label)), fErrors(errors) {}

const std::string* SettingReader::Find(const std::string& key) const {
  const auto it = fValues.find(key);
  return it == fValues.end() ? nullptr : &it->second;
}

void SettingReader::Fail(const std::string& key, const std::string& message) {
  fErrors.Add(fWhere, fLabel(key), message);
}

void SettingReader::Text(const std::string& key, std::string& target) {
  if (const std::string* value = Find(key)) target = Trimmed(*value);
}

void SettingReader::Number(const std::string& key, std::int64_t& target, std::int64_t max) {
  const std::string* value = Find(key);
  if (!value) return;
  const std::optional<std::int64_t> number = ParseDigits(*value);
  if (!number || *number > max) {
    Fail(key, Fill(_MsgRowNotANumber, {zor::PrintableText(*value), std::to_string(max)}));
    return;
  }
  target = *number;
}

void SettingReader::Flag(const std::string& key, bool& target) {
  const std::string* value = Find(key);
  if (!value) return;
  const std::optional<bool> flag = ParseBool(*value);
  if (!flag) {
    Fail(key, Fill(_MsgRowNotAFlag, {zor::PrintableText(*value)}));
    return;
  }
  target = *flag;
}

void SettingReader::Date(const std::string& key, std::optional<zor::TDate>& target) {
  const std::string* value = Find(key);
  if (!value) return;
  const std::optional<zor::TDate> date = ParseDate(*value);
  if (!date) {
    Fail(key, Fill(_MsgRowNotADate, {zor::PrintableText(*value)}));
    return;
  }
  target = *date;
}

void SettingReader::Kind(const std::string& expected) {
  const std::string* value = Find("art");
  if (!value) return;
  std::string kind = Trimmed(*value);
  for (char& c : kind) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (kind != expected) {
    Fail("art", Fill(_MsgRowWrongKind, {zor::PrintableText(*value), expected}));
  }
}

}  // namespace zor::entry
