#include <string>

#include "host/AnsiCase.h"
#include "host/TextTemplates.h"
#include "zordta/host/SysUtils.h"

namespace zor {
namespace {

using detail::AnsiUpper;
using detail::Code;
using detail::Str;
using detail::TrimmedLeft;
using detail::TrimmedRight;
using detail::View;

template <class C>
Str<C> Upper(View<C> text) {
  Str<C> out(text);
  for (C& c : out) {
    if (c >= C('a') && c <= C('z')) c = static_cast<C>(c - 0x20);
  }
  return out;
}

// The same letters by code point.
unsigned UnicodeUpper(unsigned code) {
  if ((code >= 'a' && code <= 'z') || (code >= 0xE0 && code <= 0xFE && code != 0xF7)) {
    return code - 0x20;
  }
  switch (code) {
    case 0x0161:
      return 0x0160;  // š
    case 0x0153:
      return 0x0152;  // œ
    case 0x017E:
      return 0x017D;  // ž
    case 0x00FF:
      return 0x0178;  // ÿ
    default:
      return code;
  }
}

template <class C>
Str<C> ReplaceAll(View<C> text, View<C> from, View<C> to) {
  if (from.empty()) return Str<C>(text);
  Str<C> out;
  out.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t hit = text.find(from); hit != View<C>::npos; hit = text.find(from, start)) {
    out.append(text.substr(start, hit - start));
    out.append(to);
    start = hit + from.size();
  }
  out.append(text.substr(start));
  return out;
}

}  // namespace

std::string Trim(std::string_view text) {
  return std::string(TrimmedRight(TrimmedLeft(text)));
}
std::u16string Trim(std::u16string_view text) {
  return std::u16string(TrimmedRight(TrimmedLeft(text)));
}
std::string TrimLeft(std::string_view text) {
  return std::string(TrimmedLeft(text));
}
std::u16string TrimLeft(std::u16string_view text) {
  return std::u16string(TrimmedLeft(text));
}
std::string TrimRight(std::string_view text) {
  return std::string(TrimmedRight(text));
}
std::u16string TrimRight(std::u16string_view text) {
  return std::u16string(TrimmedRight(text));
}

std::string UpperCase(std::string_view text) {
  return Upper(text);
}
std::u16string UpperCase(std::u16string_view text) {
  return Upper(text);
}

std::string AnsiUpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(AnsiUpper(Code(c)));
  return out;
}

std::u16string AnsiUpperCase(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = static_cast<char16_t>(UnicodeUpper(c));
  return out;
}

std::string StringReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  return ReplaceAll(text, from, to);
}

std::u16string StringReplaceAll(std::u16string_view text, std::u16string_view from,
                                std::u16string_view to) {
  return ReplaceAll(text, from, to);
}

}  // namespace zor
