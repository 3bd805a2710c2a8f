// The text form of a component, written and read over the properties its class publishes.
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "host/HostMessages.h"
#include "host/PublishedProperties.h"
#include "zordta/host/Exception.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor {
namespace {

using detail::PropertyDescriptor;
using detail::PropertyKind;
using detail::PropertyValue;

// The text is handled as UTF-16 in every build, so that #n codes mean the same
// character whatever the interface width.
std::u16string ToUtf16(const String& text) {
#if ZORDTA_WIDE_STRINGS
  return text;
#else
  return Utf8ToUtf16(StringToUtf8(text));
#endif
}

String FromUtf16(std::u16string_view text) {
#if ZORDTA_WIDE_STRINGS
  return String(text);
#else
  return StringFromUtf8(Utf16ToUtf8(text));
#endif
}

std::string Ascii(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '\x7F';
  return out;
}

bool SameIgnoringCase(std::u16string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto upper = [](char32_t c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
    if (upper(a[i]) != upper(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

std::u16string_view TrimBlanks(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A text form that cannot be read back is a read error of the filer, as the
// framework's reader raises it.
[[noreturn]] void Fail(const char* message, int line) {
  throw EReadError(Format(StringFromUtf8(message), {line}));
}

[[noreturn]] void Fail(const char* message, int line, const String& name) {
  throw EReadError(Format(StringFromUtf8(message), {line, name}));
}

// ---------------------------------------------------------------- writing

// Printable ASCII in quotes, everything else as #n, so the text survives any
// editor and code page.
void AppendQuoted(std::u16string& out, const std::u32string& codes) {
  if (codes.empty()) {
    out += u"''";
    return;
  }
  bool inQuotes = false;
  for (char32_t c : codes) {
    if (c >= 0x20 && c < 0x7F) {
      if (!inQuotes) out += u'\'';
      inQuotes = true;
      out += static_cast<char16_t>(c);
      if (c == U'\'') out += u'\'';
    } else {
      if (inQuotes) out += u'\'';
      inQuotes = false;
      out += u'#';
      out += Utf8ToUtf16(std::to_string(static_cast<std::uint32_t>(c)));
    }
  }
  if (inQuotes) out += u'\'';
}

std::u32string AnsiCodes(const AnsiString& text) {
  std::u32string codes;
  for (char c : text) codes += static_cast<unsigned char>(c);
  return codes;
}

// Code points; a lone surrogate keeps its own value, so it reads back as it was.
std::u32string TextCodes(const String& text) {
  const std::u16string units = ToUtf16(text);
  std::u32string codes;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char32_t unit = units[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      codes += 0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00);
    } else {
      codes += unit;
    }
  }
  return codes;
}

std::string DateText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  // A whole day still reads as a date, not as an integer.
  if (std::isfinite(value) && text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

std::u16string ValueText(const PropertyDescriptor& property, const PropertyValue& value) {
  std::u16string out;
  switch (property.kind) {
    case PropertyKind::Boolean:
      return value.boolean ? u"True" : u"False";
    case PropertyKind::Date:
      return Utf8ToUtf16(DateText(value.real));
    case PropertyKind::AnsiText:
      AppendQuoted(out, AnsiCodes(value.ansi));
      return out;
    case PropertyKind::Text:
      AppendQuoted(out, TextCodes(value.text));
      return out;
    case PropertyKind::Event:
      return out;
    case PropertyKind::Int32:
    case PropertyKind::UInt32:
    case PropertyKind::UInt8:
    case PropertyKind::Int64:
      break;
  }
  return Utf8ToUtf16(std::to_string(value.integer));
}

// ---------------------------------------------------------------- reading

struct Line {
  int number;
  std::u16string_view text;  // without blanks around it
};

std::vector<Line> SplitLines(const std::u16string& text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  int number = 1;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == u'\r' || text[i] == u'\n') {
      if (i < text.size() || start < i) {
        lines.push_back({number, TrimBlanks(std::u16string_view(text).substr(start, i - start))});
      }
      if (i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n') ++i;
      start = i + 1;
      ++number;
    }
  }
  return lines;
}

// Quoted runs and #n codes, optionally separated by blanks. Answers false for
// anything else; codes above the kind's range are refused too.
bool ParseQuoted(std::u16string_view text, char32_t maxCode, std::u32string& codes) {
  std::size_t i = 0;
  bool any = false;
  while (i < text.size()) {
    if (IsBlank(text[i])) {
      ++i;
    } else if (text[i] == u'\'') {
      ++i;
      for (;;) {
        if (i >= text.size()) return false;
        if (text[i] == u'\'') {
          if (i + 1 < text.size() && text[i + 1] == u'\'') {
            codes += U'\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        char32_t c = text[i++];
        if (c >= 0xD800 && c <= 0xDBFF && i < text.size() && text[i] >= 0xDC00 &&
            text[i] <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00);
        }
        codes += c;
      }
      any = true;
    } else if (text[i] == u'#') {
      ++i;
      const std::size_t start = i;
      std::uint64_t code = 0;
      while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && i - start < 8) {
        code = code * 10 + (text[i++] - u'0');
      }
      if (i == start || code > maxCode) return false;
      codes += static_cast<char32_t>(code);
      any = true;
    } else {
      return false;
    }
  }
  return any;
}

template <class T>
bool ParseNumber(std::u16string_view text, T& value) {
  const std::string ascii = Ascii(text);
  const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  return result.ec == std::errc() && result.ptr == ascii.data() + ascii.size();
}

bool ParseValue(const PropertyDescriptor& property, std::u16string_view text,
                PropertyValue& value) {
  switch (property.kind) {
    case PropertyKind::Boolean:
      if (SameIgnoringCase(text, "True")) {
        value.boolean = true;
      } else if (SameIgnoringCase(text, "False")) {
        value.boolean = false;
      } else {
        return false;
      }
      return true;
    case PropertyKind::Int32:
      return ParseNumber(text, value.integer) &&
             value.integer >= std::numeric_limits<std::int32_t>::min() &&
             value.integer <= std::numeric_limits<std::int32_t>::max();
    case PropertyKind::UInt32:
      return ParseNumber(text, value.integer) && value.integer >= 0 &&
             value.integer <= std::numeric_limits<std::uint32_t>::max();
    case PropertyKind::UInt8:
      return ParseNumber(text, value.integer) && value.integer >= 0 && value.integer <= 255;
    case PropertyKind::Int64:
      return ParseNumber(text, value.integer);
    case PropertyKind::Date:
      return ParseNumber(text, value.real);
    case PropertyKind::AnsiText: {
      std::u32string codes;
      if (!ParseQuoted(text, 0xFF, codes)) return false;
      // Codes are bytes; a character typed into a quoted run goes through the code page.
      value.ansi.clear();
      for (char32_t c : codes) {
        if (c < 0x100) {
          value.ansi += static_cast<char>(c);
        } else if (c < 0x10000) {
          value.ansi += Utf8ToAnsi(Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(c))));
        } else {
          value.ansi += '?';
        }
      }
      return true;
    }
    case PropertyKind::Text: {
      std::u32string codes;
      if (!ParseQuoted(text, 0x10FFFF, codes)) return false;
      std::u16string units;
      for (char32_t c : codes) {
        if (c < 0x10000) {
          units += static_cast<char16_t>(c);
        } else {
          units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
          units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
      }
      value.text = FromUtf16(units);
      return true;
    }
    case PropertyKind::Event:
      break;
  }
  return false;
}

struct Assignment {
  const PropertyDescriptor* property;
  int line;
  PropertyValue value;
};

struct Heading {
  int line;
  std::u16string_view name;
};

// "object [Name:] Class" on the first line that is not blank; the class must
// be the component's.
Heading ReadHeading(const std::vector<Line>& lines, std::size_t& i, const TComponent& component) {
  while (i < lines.size() && lines[i].text.empty()) ++i;
  if (i == lines.size()) Fail(detail::hostmsg::kTextObjectExpected, 1);

  const Line& header = lines[i++];
  std::u16string_view rest = header.text;
  if (rest.size() < 7 || !SameIgnoringCase(rest.substr(0, 6), "object") || !IsBlank(rest[6])) {
    Fail(detail::hostmsg::kTextObjectExpected, header.number);
  }
  rest = TrimBlanks(rest.substr(7));
  std::u16string_view name;
  std::u16string_view className = rest;
  if (const std::size_t colon = rest.find(u':'); colon != std::u16string_view::npos) {
    name = TrimBlanks(rest.substr(0, colon));
    className = TrimBlanks(rest.substr(colon + 1));
  }
  const std::u16string actualClass = ToUtf16(component.ClassName());
  if (!SameIgnoringCase(className, Ascii(actualClass))) {
    throw EReadError(Format(StringFromUtf8(detail::hostmsg::kTextClassMismatch),
                            {header.number, FromUtf16(className), FromUtf16(actualClass)}));
  }
  return {header.number, name};
}

// "Property = value" at lines[i], with the lines it goes on in; a property
// that is published, stored, not set before and given a value of its type.
Assignment ReadAssignment(const std::vector<Line>& lines, std::size_t& i,
                          detail::PropertyList properties,
                          const std::vector<Assignment>& earlierOnes) {
  const Line& line = lines[i++];
  const std::size_t equals = line.text.find(u'=');
  if (equals == std::u16string_view::npos) Fail(detail::hostmsg::kTextEqualsExpected, line.number);
  const std::u16string_view propertyName = TrimBlanks(line.text.substr(0, equals));
  std::u16string valueText(TrimBlanks(line.text.substr(equals + 1)));
  // A long text may go on in the next line after a closing "+".
  while (!valueText.empty() && valueText.back() == u'+' && i < lines.size()) {
    valueText.pop_back();
    valueText += lines[i++].text;
  }

  const PropertyDescriptor* property = nullptr;
  for (const PropertyDescriptor* candidate : properties) {
    if (SameIgnoringCase(propertyName, candidate->name)) property = candidate;
  }
  if (!property) {
    Fail(detail::hostmsg::kTextUnknownProperty, line.number, FromUtf16(propertyName));
  }
  const String displayName = StringFromUtf8(property->name);
  if (property->kind == PropertyKind::Event) {
    Fail(detail::hostmsg::kTextEventNotStored, line.number, displayName);
  }
  for (const Assignment& earlier : earlierOnes) {
    if (earlier.property == property) {
      Fail(detail::hostmsg::kTextDuplicateProperty, line.number, displayName);
    }
  }
  Assignment assignment{property, line.number, {}};
  if (!ParseValue(*property, valueText, assignment.value)) {
    Fail(detail::hostmsg::kTextInvalidValue, line.number, displayName);
  }
  return assignment;
}

// Every line up to "end" is checked before anything is set, so that bad text
// leaves the component as it was. After "end" only blank lines may follow.
std::vector<Assignment> ReadAssignments(const std::vector<Line>& lines, std::size_t& i,
                                        detail::PropertyList properties) {
  std::vector<Assignment> assignments;
  bool ended = false;
  while (i < lines.size()) {
    if (lines[i].text.empty()) {
      ++i;
      continue;
    }
    if (SameIgnoringCase(lines[i].text, "end")) {
      ++i;
      ended = true;
      break;
    }
    assignments.push_back(ReadAssignment(lines, i, properties, assignments));
  }
  if (!ended) {
    Fail(detail::hostmsg::kTextEndExpected, lines.empty() ? 1 : lines.back().number + 1);
  }
  for (; i < lines.size(); ++i) {
    if (!lines[i].text.empty()) Fail(detail::hostmsg::kTextAfterEnd, lines[i].number);
  }
  return assignments;
}

// The name first, then the properties in declaration order, not the order of
// the text: setters depend on each other.
void Apply(TComponent& component, const Heading& heading,
           const std::vector<Assignment>& assignments, detail::PropertyList properties) {
  try {
    component.SetName(FromUtf16(heading.name));
  } catch (const Exception& e) {
    throw EReadError(Format(StringFromUtf8(detail::hostmsg::kTextSetterFailed),
                            {heading.line, StringFromUtf8("Name"), e.Message()}));
  }
  for (const PropertyDescriptor* property : properties) {
    for (const Assignment& assignment : assignments) {
      if (assignment.property != property) continue;
      try {
        property->set(component, assignment.value);
      } catch (const Exception& e) {
        throw EReadError(Format(StringFromUtf8(detail::hostmsg::kTextSetterFailed),
                                {assignment.line, StringFromUtf8(property->name), e.Message()}));
      }
    }
  }
}

}  // namespace

// ---------------------------------------------------------------- the text form

namespace detail {

String WriteComponentText(const TComponent& component, PropertyList properties) {
  std::u16string out = u"object ";
  const std::u16string name = ToUtf16(component.Name());
  if (!name.empty()) out += name + u": ";
  out += ToUtf16(component.ClassName()) + u"\r\n";
  for (const PropertyDescriptor* property : properties) {
    if (property->kind == PropertyKind::Event) continue;
    PropertyValue value;
    property->get(component, value);
    if (property->hasDefault && value.boolean == property->defaultValue) continue;
    out += u"  " + Utf8ToUtf16(property->name) + u" = " + ValueText(*property, value) + u"\r\n";
  }
  out += u"end\r\n";
  return FromUtf16(out);
}

void ReadComponentText(const String& text, TComponent& component, PropertyList properties) {
  const std::u16string utf16 = ToUtf16(text);
  const std::vector<Line> lines = SplitLines(utf16);
  std::size_t i = 0;
  const Heading heading = ReadHeading(lines, i, component);
  const std::vector<Assignment> assignments = ReadAssignments(lines, i, properties);
  Apply(component, heading, assignments, properties);
}

}  // namespace detail
}  // namespace zor
