#include "zordta/entry/Diagnostics.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <string_view>
#include <utility>
#include "core/MessageFill.h"
#include "entry/RowMessages.h"

#include "zordta/Printable.h"
#include "zordta/entry/Utf8Check.h"

namespace zor::entry {

using zor::detail::Fill;

std::string OneLine(std::string message) {
  if (message.find_first_of("\r\n") == std::string::npos) return zor::PrintableText(message);
  // Built anew: replacing in place would move the rest once per break.
  std::string line;
  line.reserve(message.size());
  for (std::size_t at = 0; at < message.size(); ++at) {
    const char c = message[at];
    if (c != '\r' && c != '\n') {
      line += c;
    } else if (at == 0 || (message[at - 1] != '\r' && message[at - 1] != '\n')) {
      line += ' ';
    }
  }
  return zor::PrintableText(line);
}

namespace {

// A number of up to nine digits, or -1.
long Number(std::string_view digits) {
  if (digits.empty() || digits.size() > 9) return -1;
  long number = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return -1;
    number = number * 10 + (c - '0');
  }
  return number;
}

// "Zeile 12" and "Buchung 3" by their number; anything else before them. The
// places in a job of several files ("dateien[2], Buchung 3") follow, by file.
long PlaceNumber(std::string_view where) {
  constexpr std::string_view kFilePrefix = "dateien[";
  long file = 0;
  if (where.starts_with(kFilePrefix)) {
    const std::size_t close = where.find(']');
    file = Number(where.substr(kFilePrefix.size(), close - kFilePrefix.size()));
    if (close == std::string_view::npos || file < 0) return -1;
  }
  const std::size_t blank = where.rfind(' ');
  const long number = blank == std::string_view::npos ? -1 : Number(where.substr(blank + 1));
  return file == 0 ? number : file * 10'000'000'000L + number + 1;
}

// Each place is read once, not once per comparison: a large file has a million
// diagnostics. The index breaks ties, which keeps the order stable.
std::vector<std::pair<long, std::size_t>> PlaceOrder(const std::vector<Diagnostic>& items) {
  std::vector<std::pair<long, std::size_t>> order;
  order.reserve(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) order.emplace_back(PlaceNumber(items[i].where), i);
  return order;
}

}  // namespace

void Diagnostics::Add(std::string where, std::string field, std::string message) {
  if (!Keeps(where)) {
    AddNotKept(where);
    return;
  }
  // A key or header from the input may hold a line break or an escape; printed
  // as is, it would forge a line of the report or steer the terminal.
  Keep({std::move(where), OneLine(std::move(field)), OneLine(std::move(message))});
}

bool Diagnostics::Keeps(std::string_view where) const {
  return fItems.size() < fKeep && (!fBounded || PlaceNumber(where) < fBound);
}

void Diagnostics::AddNotKept(std::string_view where) {
  ++fNotKept;
  if (fKeepByPlace != kAll) fNotKeptPlaces.Add(where);
}

void Diagnostics::Keep(Diagnostic&& d) {
  fItems.push_back(std::move(d));
  // Sorted out once per `count` added, not once each.
  if (fKeepByPlace != kAll && fItems.size() >= 2 * fKeepByPlace) {
    KeepOnlyFirstByPlace(fKeepByPlace);
  }
}

void Diagnostics::Append(const Diagnostics& other) {
  if (fKeepByPlace != kAll) {
    for (const Diagnostic& d : other.fItems) {
      if (Keeps(d.where)) {
        Keep(Diagnostic(d));
      } else {
        AddNotKept(d.where);
      }
    }
  } else {
    const std::size_t taken = std::min(fKeep - std::min(fKeep, fItems.size()), other.fItems.size());
    fItems.insert(fItems.end(), other.fItems.begin(),
                  other.fItems.begin() + static_cast<std::ptrdiff_t>(taken));
    fNotKept += other.fItems.size() - taken;
  }
  fNotKept += other.fNotKept;
  fNotKeptPlaces.Merge(other.fNotKeptPlaces);
}

void Diagnostics::Append(Diagnostics&& other) {
  if (fKeepByPlace != kAll) {
    for (Diagnostic& d : other.fItems) {
      if (Keeps(d.where)) {
        Keep(std::move(d));
      } else {
        AddNotKept(d.where);
      }
    }
  } else {
    const std::size_t taken = std::min(fKeep - std::min(fKeep, fItems.size()), other.fItems.size());
    fNotKept += other.fItems.size() - taken;
    if (fItems.empty() && taken == other.fItems.size()) {
      fItems.swap(other.fItems);
    } else {
      fItems.insert(
          fItems.end(), std::make_move_iterator(other.fItems.begin()),
          std::make_move_iterator(other.fItems.begin() + static_cast<std::ptrdiff_t>(taken)));
    }
  }
  fNotKept += other.fNotKept;
  fNotKeptPlaces.Merge(other.fNotKeptPlaces);
  other.fItems.clear();
  other.fNotKept = 0;
  other.fNotKeptPlaces = PlaceSet();
  other.fPlaces.clear();
  other.fIndexed = 0;
}

void Diagnostics::AppendPlaced(Diagnostics&& other, const std::string& place) {
  if (place.empty()) {
    Append(std::move(other));
    return;
  }
  for (Diagnostic& d : other.fItems) {
    std::string where = d.where.starts_with(place) ? std::move(d.where) : place + ", " + d.where;
    if (Keeps(where)) {
      Keep({std::move(where), std::move(d.field), std::move(d.message)});
    } else {
      AddNotKept(where);
    }
  }
  fNotKept += other.fNotKept;
  fNotKeptPlaces.Merge(other.fNotKeptPlaces, place);
  other = other.EmptyLike();
}

void Diagnostics::KeepAtMost(std::size_t count) {
  fKeep = count;
  if (fItems.size() > count) {
    fNotKept += fItems.size() - count;
    fItems.resize(count);
    fPlaces.clear();
    fIndexed = 0;
  }
}

void Diagnostics::KeepFirstByPlace(std::size_t count) {
  fKeepByPlace = count;
  if (fItems.size() > count || count == 0) KeepOnlyFirstByPlace(count);
}

void Diagnostics::KeepOnlyFirstByPlace(std::size_t count) {
  std::vector<std::pair<long, std::size_t>> order = PlaceOrder(fItems);
  std::vector<bool> kept(fItems.size(), true);
  long bound = LONG_MIN;
  if (count == 0) {
    kept.assign(fItems.size(), false);
  } else if (order.size() > count) {
    const auto last = order.begin() + static_cast<std::ptrdiff_t>(count - 1);
    std::nth_element(order.begin(), last, order.end());
    // Whatever comes later at the last one's place is behind it.
    bound = last->first;
    for (auto it = last + 1; it != order.end(); ++it) kept[it->second] = false;
  } else {
    return;
  }
  std::vector<Diagnostic> items;
  items.reserve(std::min(fItems.size(), 2 * count));
  for (std::size_t i = 0; i < fItems.size(); ++i) {
    if (kept[i]) {
      items.push_back(std::move(fItems[i]));
    } else {
      AddNotKept(fItems[i].where);
    }
  }
  fItems = std::move(items);
  fBound = fBounded ? std::min(fBound, bound) : bound;
  fBounded = true;
  fPlaces.clear();
  fIndexed = 0;
}

Diagnostics Diagnostics::EmptyLike() const {
  Diagnostics d;
  d.fKeep = fKeep;
  d.KeepFirstByPlace(fKeepByPlace);
  return d;
}

void Diagnostics::SortByPlace() {
  std::vector<std::pair<long, std::size_t>> order = PlaceOrder(fItems);
  if (std::is_sorted(order.begin(), order.end())) return;
  std::sort(order.begin(), order.end());
  std::vector<Diagnostic> sorted;
  sorted.reserve(fItems.size());
  for (const auto& [place, index] : order) sorted.push_back(std::move(fItems[index]));
  fItems = std::move(sorted);
  fPlaces.clear();
  fIndexed = 0;
}

std::vector<const Diagnostic*> Diagnostics::FirstByPlace(std::size_t count) const {
  std::vector<std::pair<long, std::size_t>> order = PlaceOrder(fItems);
  count = std::min(count, order.size());
  std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(count), order.end());
  std::vector<const Diagnostic*> first;
  first.reserve(count);
  for (std::size_t i = 0; i < count; ++i) first.push_back(&fItems[order[i].second]);
  return first;
}

bool Diagnostics::Mentions(const std::string& where) const {
  if (fIndexed == 0) fPlaces.reserve(fItems.size());
  for (; fIndexed < fItems.size(); ++fIndexed) fPlaces.insert(fItems[fIndexed].where);
  return fPlaces.count(where) > 0 || fNotKeptPlaces.Contains(where);
}

void PrintDiagnostic(std::ostream& out, const std::string& source, const Diagnostic& d) {
  if (!source.empty()) out << source << ": ";
  out << d.where;
  if (!d.field.empty()) out << ", Feld " << d.field;
  out << ": " << d.message;
}

void Diagnostics::Print(std::ostream& out, const std::string& source) const {
  for (const Diagnostic& d : fItems) {
    PrintDiagnostic(out, source, d);
    out << '\n';
  }
}

std::string PositionText(const std::string& text, std::size_t offset) {
  if (offset > text.size()) offset = text.size();
  std::size_t line = 1;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < offset; ++i) {
    if (text[i] == '\n') {
      ++line;
      lineStart = i + 1;
    }
  }
  const std::size_t column =
      CharCount(std::string_view(text).substr(lineStart, offset - lineStart)) + 1;
  return Fill(_MsgRowPosition, {std::to_string(line), std::to_string(column)});
}

std::string GroupedCount(std::size_t count) {
  const std::string digits = std::to_string(count);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += '.';
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace zor::entry
