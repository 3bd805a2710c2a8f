#include "zordta/entry/InputRecord.h"

#include "zordta/entry/Values.h"

namespace zor::entry {

std::string_view InputRecord::Get(std::string_view field) const {
  for (const auto& [name, text] : Values()) {
    if (name == field) return TrimmedView(text);
  }
  return std::string_view();
}

bool InputRecord::HasFieldsUnder(std::string_view prefix) const {
  for (const auto& entry : Values()) {
    if (entry.first.starts_with(prefix)) return true;
  }
  return false;
}

void InputRecord::Set(std::string_view field, std::string_view text) {
  for (std::size_t i = 0; i < fCount; ++i) {
    if (fValues[i].first == field) {
      fValues[i].second.assign(text);
      return;
    }
  }
  if (fCount == fValues.size()) fValues.emplace_back();
  fValues[fCount].first.assign(field);
  fValues[fCount].second.assign(text);
  ++fCount;
}

void InputRecord::AddPurpose(std::string_view line) {
  if (fSparePurpose.empty()) {
    purpose.emplace_back(line);
    return;
  }
  purpose.push_back(std::move(fSparePurpose.back()));
  fSparePurpose.pop_back();
  purpose.back().assign(line);
}

void InputRecord::Clear() {
  where.clear();
  for (std::string& line : purpose) fSparePurpose.push_back(std::move(line));
  purpose.clear();
  fCount = 0;
}

}  // namespace zor::entry
