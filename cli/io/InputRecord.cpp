#include "io/InputRecord.h"

#include "io/Values.h"

namespace zcli {

std::string InputRecord::Get(const std::string& field) const {
  const auto it = values.find(field);
  return it == values.end() ? std::string() : Trimmed(it->second);
}

}  // namespace zcli
