// Keys that an object of a JSON text holds twice. The parser keeps the last
// value of such a key without a word, so a job that says two things would be
// read as one of them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zcli {

struct DuplicateKey {
  std::size_t line = 0;    ///< 1-based, of the second occurrence
  std::size_t column = 0;  ///< 1-based, in characters, at its opening quote
  std::string key;         ///< unescaped
};

/// Every key that repeats a key of the same object, in text order. The text
/// must be valid JSON (parsed already); keys compare after unescaping, so
/// "betr\u0061g" repeats "betrag". Linear in the text.
std::vector<DuplicateKey> FindDuplicateKeys(std::string_view json);

}  // namespace zcli
