#include "output/JsonScalars.h"

#include <array>
#include <charconv>
#include <nlohmann/json.hpp>

#include "zordta/host/Text.h"

namespace zcli {

namespace {

void AppendEscaped(std::string& text, unsigned char byte) {
  switch (byte) {
    case '"':
      text += "\\\"";
      return;
    case '\\':
      text += "\\\\";
      return;
    case '\b':
      text += "\\b";
      return;
    case '\t':
      text += "\\t";
      return;
    case '\n':
      text += "\\n";
      return;
    case '\f':
      text += "\\f";
      return;
    case '\r':
      text += "\\r";
      return;
    default:
      static constexpr char kHex[] = "0123456789abcdef";
      const char code[] = {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 0xF]};
      text.append(code, sizeof code);
  }
}

// ASCII bytes the dump writes as they are.
constexpr std::array<bool, 256> MakeAsIs() {
  std::array<bool, 256> table{};
  for (unsigned b = 0x20; b < 0x80; ++b) table[b] = b != '"' && b != '\\';
  return table;
}

constexpr std::array<bool, 256> kAsIs = MakeAsIs();

// Below this the decimal of hundredths / 100 is the shortest that reads back as
// that double, and so what the dump's shortest-digits conversion writes; the
// fields of a DTAUS file hold far less.
constexpr std::int64_t kPlainHundredths = 1'000'000'000'000'000;

}  // namespace

void AppendJsonString(std::string& text, std::string_view value) {
  const std::size_t start = text.size();
  text += '"';
  std::size_t copied = 0;  // the bytes before it are in `text`
  std::size_t i = 0;
  while (i < value.size()) {
    const auto byte = static_cast<unsigned char>(value[i]);
    if (kAsIs[byte]) {
      ++i;
    } else if (byte < 0x80) {
      text.append(value.data() + copied, i - copied);
      AppendEscaped(text, byte);
      copied = ++i;
    } else if (byte >= 0xC2 && byte <= 0xDF && i + 1 < value.size() &&
               (static_cast<unsigned char>(value[i + 1]) & 0xC0) == 0x80) {
      // A two-byte sequence, as every umlaut is: always well-formed.
      i += 2;
    } else {
      char32_t codePoint = 0;
      const std::size_t length = zor::DecodeUtf8(value, i, codePoint);
      if (length == 0) {
        text.resize(start);
        text += nlohmann::json(std::string(value)).dump(-1, ' ', false);
        return;
      }
      i += length;
    }
  }
  text.append(value.data() + copied, value.size() - copied);
  text += '"';
}

void AppendJsonUnits(std::string& text, std::int64_t hundredths) {
  if (hundredths < 0 || hundredths >= kPlainHundredths) {
    text += nlohmann::json(static_cast<double>(hundredths) / 100.0).dump();
    return;
  }
  AppendInteger(text, hundredths / 100);
  const auto cents = static_cast<int>(hundredths % 100);
  // The dump writes at least one decimal and no trailing zero after it.
  text += '.';
  text += static_cast<char>('0' + cents / 10);
  if (cents % 10 != 0) text += static_cast<char>('0' + cents % 10);
}

void AppendInteger(std::string& text, std::int64_t value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  text.append(digits, static_cast<std::size_t>(end - digits));
}

}  // namespace zcli
