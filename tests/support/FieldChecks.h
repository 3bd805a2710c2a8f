// Checks of a built record field by field, so that a fault names its field.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "core/RecordField.h"

namespace zortest {

struct ExpectedField {
  const char* name;
  zor::detail::Field field;
  std::string expected;
};

inline void ExpectFields(std::string_view record, std::initializer_list<ExpectedField> fields) {
  for (const ExpectedField& f : fields) {
    EXPECT_EQ(zor::detail::At(record, f.field), f.expected) << f.name;
  }
}

/// Text as a field of `width` holds it: cut, or filled with blanks.
inline std::string Padded(std::string_view text, std::size_t width) {
  std::string field(text.substr(0, width));
  field.resize(width, ' ');
  return field;
}

inline std::string Blanks(zor::detail::Field field) {
  return std::string(field.width, ' ');
}

}  // namespace zortest
