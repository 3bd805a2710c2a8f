#include "io/Diagnostics.h"

#include <algorithm>

#include "io/Utf8Check.h"

namespace zcli {

std::string OneLine(std::string message) {
  for (std::size_t at = message.find_first_of("\r\n"); at != std::string::npos;
       at = message.find_first_of("\r\n", at)) {
    const std::size_t end = message.find_first_not_of("\r\n", at);
    message.replace(at, (end == std::string::npos ? message.size() : end) - at, " ");
  }
  return message;
}

void Diagnostics::Add(std::string where, std::string field, std::string message) {
  fItems.push_back({std::move(where), std::move(field), OneLine(std::move(message))});
}

void Diagnostics::Append(const Diagnostics& other) {
  fItems.insert(fItems.end(), other.fItems.begin(), other.fItems.end());
}

namespace {

// "Zeile 12" and "Buchung 3" by their number; anything else before them.
long PlaceNumber(const std::string& where) {
  const std::size_t blank = where.rfind(' ');
  if (blank == std::string::npos) return -1;
  const std::string digits = where.substr(blank + 1);
  if (digits.empty() || digits.size() > 9 ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return -1;
  }
  return std::stol(digits);
}

}  // namespace

void Diagnostics::SortByPlace() {
  std::stable_sort(fItems.begin(), fItems.end(), [](const Diagnostic& a, const Diagnostic& b) {
    return PlaceNumber(a.where) < PlaceNumber(b.where);
  });
}

bool Diagnostics::Mentions(const std::string& where) const {
  return std::any_of(fItems.begin(), fItems.end(),
                     [&where](const Diagnostic& d) { return d.where == where; });
}

void Diagnostics::Print(std::ostream& out, const std::string& source) const {
  for (const Diagnostic& d : fItems) {
    if (!source.empty()) out << source << ": ";
    out << d.where;
    if (!d.field.empty()) out << ", Feld " << d.field;
    out << ": " << d.message << '\n';
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
  return "Zeile " + std::to_string(line) + ", Spalte " + std::to_string(column);
}

}  // namespace zcli
