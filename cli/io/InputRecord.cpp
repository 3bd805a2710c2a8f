#include "io/InputRecord.h"

#include "io/Values.h"

namespace zcli {

std::string InputRecord::Get(const std::string& field) const {
  for (const auto& [name, text] : fValues) {
    if (name == field) return Trimmed(text);
  }
  return std::string();
}

void InputRecord::Set(const std::string& field, std::string text) {
  for (auto& [name, value] : fValues) {
    if (name == field) {
      value = std::move(text);
      return;
    }
  }
  fValues.emplace_back(field, std::move(text));
}

}  // namespace zcli
