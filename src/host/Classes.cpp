#include "zordta/host/Classes.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "host/HostMessages.h"
#include "zordta/host/Exception.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor {
namespace {

[[noreturn]] void RaiseListIndexError(int index) {
  throw Exception(Format(StringFromUtf8(detail::hostmsg::kListIndexError), {index}));
}

}  // namespace

// ---------------------------------------------------------------- TComponent

TComponent::TComponent(TComponent* aOwner) : fOwner(aOwner) {
  if (fOwner) fOwner->fComponents.push_back(this);
}

TComponent::~TComponent() {
  // Owned components are destroyed newest first; each leaves the list as it goes.
  while (!fComponents.empty()) delete fComponents.back();
  if (fOwner) {
    auto& siblings = fOwner->fComponents;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) RaiseListIndexError(index);
  return fComponents[static_cast<std::size_t>(index)];
}

String TComponent::ClassName() const {
  return StringFromUtf8("TComponent");
}

void TComponent::SetName(const String& value) {
  const auto isLetter = [](Char c) {
    return (c >= Char('A') && c <= Char('Z')) || (c >= Char('a') && c <= Char('z')) ||
           c == Char('_');
  };
  const auto isDigit = [](Char c) { return c >= Char('0') && c <= Char('9'); };
  bool valid = value.empty() || isLetter(value[0]);
  for (Char c : value) valid = valid && (isLetter(c) || isDigit(c));
  if (!valid) {
    throw Exception(Format(StringFromUtf8(detail::hostmsg::kInvalidComponentName), {value}));
  }
  // Names are found without regard to case, so they must differ in more than case.
  if (fOwner && !value.empty()) {
    for (const TComponent* sibling : fOwner->fComponents) {
      if (sibling != this && UpperCase(sibling->fName) == UpperCase(value)) {
        throw Exception(Format(StringFromUtf8(detail::hostmsg::kDuplicateComponentName), {value}));
      }
    }
  }
  fName = value;
}

// ---------------------------------------------------------------- TStrings

TStrings::~TStrings() = default;

const String& TStrings::StringsRef(int index, String& scratch) const {
  scratch = Strings(index);
  return scratch;
}

int TStrings::Add(const String& line) {
  const int index = Count();
  Insert(index, line);
  return index;
}

int TStrings::Add(String&& line) {
  const int index = Count();
  InsertMoved(index, std::move(line));
  return index;
}

void TStrings::InsertMoved(int index, String&& line) {
  Insert(index, line);
}

String TStrings::Text() const {
  String text;
  String scratch;
  for (int i = 0; i < Count(); ++i) {
    text += StringsRef(i, scratch);
    text += Char('\r');
    text += Char('\n');
  }
  return text;
}

void TStrings::SetText(const String& text) {
  Clear();
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == Char('\r') || text[i] == Char('\n')) {
      Add(text.substr(start, i - start));
      if (text[i] == Char('\r') && i + 1 < text.size() && text[i + 1] == Char('\n')) ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) Add(text.substr(start));
}

void TStrings::Assign(const TStrings& source) {
  if (&source == this) return;
  Clear();
  for (int i = 0; i < source.Count(); ++i) Add(source.Strings(i));
}

// ---------------------------------------------------------------- TStringList

TStringList::TStringList() = default;
TStringList::~TStringList() = default;

String TStringList::Strings(int index) const {
  if (index < 0 || index >= Count()) RaiseListIndexError(index);
  return fLines[static_cast<std::size_t>(index)];
}

const String& TStringList::StringsRef(int index, String& /*scratch*/) const {
  if (index < 0 || index >= Count()) RaiseListIndexError(index);
  return fLines[static_cast<std::size_t>(index)];
}

void TStringList::SetStrings(int index, const String& line) {
  if (index < 0 || index >= Count()) RaiseListIndexError(index);
  fLines[static_cast<std::size_t>(index)] = line;
}

void TStringList::Insert(int index, const String& line) {
  if (index < 0 || index > Count()) RaiseListIndexError(index);
  fLines.insert(fLines.begin() + index, line);
}

void TStringList::InsertMoved(int index, String&& line) {
  if (index < 0 || index > Count()) RaiseListIndexError(index);
  fLines.insert(fLines.begin() + index, std::move(line));
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) RaiseListIndexError(index);
  fLines.erase(fLines.begin() + index);
}

// ---------------------------------------------------------------- streams

TStream::~TStream() = default;

TStringStream::TStringStream(AnsiString data) : fData(std::move(data)) {}
TStringStream::~TStringStream() = default;

std::int64_t TStringStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0 || fPosition >= fData.size()) return 0;
  const std::size_t n = std::min(static_cast<std::size_t>(count), fData.size() - fPosition);
  std::memcpy(buffer, fData.data() + fPosition, n);
  fPosition += n;
  return static_cast<std::int64_t>(n);
}

void TStringStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return;
  const auto n = static_cast<std::size_t>(count);
  if (fPosition > fData.size()) fData.resize(fPosition, '\0');
  const std::size_t overlap = std::min(n, fData.size() - fPosition);
  fData.replace(fPosition, overlap, static_cast<const char*>(buffer), n);
  fPosition += n;
}

std::int64_t TStringStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t base = 0;
  if (origin == soCurrent) base = static_cast<std::int64_t>(fPosition);
  if (origin == soEnd) base = Size();
  const std::int64_t target = base + offset;
  fPosition = target < 0 ? 0 : static_cast<std::size_t>(target);
  return static_cast<std::int64_t>(fPosition);
}

void TStringStream::SetSize(std::int64_t size) {
  fData.resize(size < 0 ? 0 : static_cast<std::size_t>(size));
  fPosition = std::min(fPosition, fData.size());
}

}  // namespace zor
