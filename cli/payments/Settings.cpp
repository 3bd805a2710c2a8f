#include "payments/Settings.h"

#include "io/Utf8Check.h"
#include "io/Values.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace {

constexpr int kExecutionWindowDays = 15;

}  // namespace

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
    Fail(key, Quoted(*value) + " ist keine Zahl von 0 bis " + std::to_string(max) + ".");
    return;
  }
  target = *number;
}

void SettingReader::Flag(const std::string& key, bool& target) {
  const std::string* value = Find(key);
  if (!value) return;
  const std::optional<bool> flag = ParseBool(*value);
  if (!flag) {
    Fail(key, Quoted(*value) + " ist weder true noch false.");
    return;
  }
  target = *flag;
}

void SettingReader::Date(const std::string& key, std::optional<zor::TDate>& target) {
  const std::string* value = Find(key);
  if (!value) return;
  const std::optional<zor::TDate> date = ParseDate(*value);
  if (!date) {
    Fail(key, Quoted(*value) + " ist kein Datum (JJJJ-MM-TT oder TT.MM.JJJJ).");
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
    Fail("art",
         "Der Auftrag ist für " + Quoted(*value) + ", dieser Befehl schreibt " + expected + ".");
  }
}

std::string Quoted(std::string_view text) {
  return "„" + std::string(text) + "“";
}

zor::AnsiString Ansi(const std::string& utf8) {
  return zor::Utf8ToAnsi(utf8);
}

template <class Component>
void WarnAboutText(const Component& component, const std::string& utf8, std::size_t width,
                   const std::string& where, const std::string& field, Diagnostics& warnings) {
  const zor::AnsiString ansi = Ansi(utf8);
  zor::AnsiString dropped;
  for (char c : ansi) {
    // Both repertoires hold letters, digits and the blank; only the rest is asked.
    const bool common =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ';
    if (!common && component.RemoveInvalidChars(zor::AnsiString(1, c)).empty() &&
        dropped.find(c) == zor::AnsiString::npos) {
      dropped += c;
    }
  }
  if (!dropped.empty()) {
    std::string shown;
    for (char c : dropped) {
      const auto byte = static_cast<unsigned char>(c);
      if (!shown.empty()) shown += " ";
      shown += byte < 0x20 || byte == 0x7F ? DescribeChar(byte)
                                           : Quoted(zor::AnsiToUtf8(zor::AnsiString(1, c)));
    }
    warnings.Add(where, field, "Diese Zeichen fallen weg: " + shown + ".");
  }
  const zor::AnsiString kept = component.RemoveInvalidChars(ansi);
  if (width > 0 && kept.size() > width) {
    warnings.Add(where, field,
                 "Länger als " + std::to_string(width) + " Zeichen; die letzten " +
                     std::to_string(kept.size() - width) + " werden abgeschnitten.");
  }
}

template void WarnAboutText<zor::TZorDTA>(const zor::TZorDTA&, const std::string&, std::size_t,
                                          const std::string&, const std::string&, Diagnostics&);
template void WarnAboutText<zor::TZorDTAZV>(const zor::TZorDTAZV&, const std::string&, std::size_t,
                                            const std::string&, const std::string&, Diagnostics&);

std::optional<std::int64_t> ReadAmount(const InputRecord& r, Diagnostics& errors) {
  const std::string_view betrag = r.Get("betrag");
  const std::optional<std::int64_t> cent = ParseAmountCent(betrag);
  if (betrag.empty()) {
    errors.Add(r.where, "betrag", "Betrag fehlt.");
  } else if (!cent) {
    errors.Add(
        r.where, "betrag",
        Quoted(betrag) + " ist kein Betrag (z.B. 1234,56 oder 1234.56, ohne Tausenderpunkte).");
  }
  return cent;
}

bool InExecutionWindow(zor::TDate date) {
  const zor::TDate today = zor::Date();
  return date >= today && date <= today + kExecutionWindowDays;
}

}  // namespace zcli
