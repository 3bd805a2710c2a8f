#include "dtazv/Repertoire.h"

#include "zordta/host/SysUtils.h"

namespace zor::detail::dtazv {
namespace {

bool InRepertoire(char c) {
  return c == ' ' || (c >= '+' && c <= '/') || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
}

}  // namespace

AnsiString RemoveInvalidChars(const AnsiString& text) {
  // ß first: it has no capital of its own in Windows-1252.
  AnsiString upper = AnsiUpperCase(StringReplaceAll(text, "\xDF", "SS"));
  upper = StringReplaceAll(upper, "\xC4", "AE");
  upper = StringReplaceAll(upper, "\xD6", "OE");
  upper = StringReplaceAll(upper, "\xDC", "UE");

  AnsiString result;
  result.reserve(upper.size());
  for (char c : upper) {
    if (InRepertoire(c)) result += c;
  }
  return result;
}

}  // namespace zor::detail::dtazv
