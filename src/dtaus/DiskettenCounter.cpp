#include "dtaus/DiskettenCounter.h"

#include "zordta/host/Text.h"

namespace zor::detail::dtaus {

namespace {

constexpr const char* kCounterKey = "Software\\Zor Software\\TZorDTA";
constexpr const char* kCounterValue = "Nummer";
constexpr std::int32_t kLastNummer = 9999;

std::int32_t NextNummer(std::int32_t nummer) {
  return nummer < kLastNummer ? nummer + 1 : 0;
}

std::int32_t PreviousNummer(std::int32_t nummer) {
  return nummer > 0 ? nummer - 1 : kLastNummer;
}

bool IsInvisible(char32_t cp) {
  return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0xAD || (cp >= 0x200B && cp <= 0x200F) ||
         (cp >= 0x2028 && cp <= 0x202E) || (cp >= 0x2060 && cp <= 0x2064) || cp == 0xFEFF;
}

void AppendEscaped(std::string& out, std::string_view bytes) {
  constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += "\\x";
    out += kHex[b >> 4];
    out += kHex[b & 0x0F];
  }
}

}  // namespace

std::unique_ptr<TRegIniFile> OpenDiskettenCounter() {
  return std::make_unique<TRegIniFile>(StringFromUtf8(kCounterKey));
}

TakenDiskettenNummer TakeDiskettenNummer(TRegIniFile& counter) {
  TakenDiskettenNummer taken;
  counter.UpdateValueText(
      String(), StringFromUtf8(kCounterValue),
      [&taken](std::optional<std::string_view> stored) -> std::optional<std::string> {
        const std::optional<std::int32_t> current =
            stored ? ParseDiskettenNummer(*stored) : std::optional<std::int32_t>(0);
        if (!current) {
          taken.refusedValue = *stored;
          return std::nullopt;
        }
        taken.nummer = NextNummer(*current);
        return std::to_string(*taken.nummer);
      });
  return taken;
}

bool GiveBackDiskettenNummer(TRegIniFile& counter, std::int32_t taken) {
  bool steppedBack = false;
  counter.UpdateValueText(
      String(), StringFromUtf8(kCounterValue),
      [&](std::optional<std::string_view> stored) -> std::optional<std::string> {
        if (!stored || ParseDiskettenNummer(*stored) != taken) return std::nullopt;
        steppedBack = true;
        return std::to_string(PreviousNummer(taken));
      });
  return steppedBack;
}

std::optional<std::int32_t> ParseDiskettenNummer(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::int32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > kLastNummer) return std::nullopt;
  }
  return value;
}

std::string VisibleText(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    char32_t cp = static_cast<unsigned char>(text.front());
    std::size_t length = cp < 0x80 ? 1 : DecodeUtf8(text, 0, cp);
    if (length == 0) {
      AppendEscaped(out, text.substr(0, 1));
      length = 1;
    } else if (IsInvisible(cp)) {
      AppendEscaped(out, text.substr(0, length));
    } else {
      out += text.substr(0, length);
    }
    text.remove_prefix(length);
  }
  return out;
}

}  // namespace zor::detail::dtaus
