#include "io/JsonDuplicateKeys.h"

#include <unordered_set>

#include <nlohmann/json.hpp>

#include "io/EntryNames.h"
#include "zordta/entry/TextPosition.h"

namespace zcli {
namespace {

struct Frame {
  bool object = false;
  std::unordered_set<std::string> keys;
};

bool IsJsonBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The key a string token stands for; as written when it is no valid JSON string.
std::string Unescaped(std::string_view token, bool escaped) {
  if (escaped) {
    try {
      return nlohmann::json::parse(token).get<std::string>();
    } catch (const nlohmann::json::exception&) {
    }
  }
  return std::string(token.substr(1, token.size() >= 2 ? token.size() - 2 : 0));
}

}  // namespace

std::vector<DuplicateKey> FindDuplicateKeys(std::string_view json) {
  std::vector<DuplicateKey> found;
  // Frames are reused level by level, so a long list of objects allocates little.
  std::vector<Frame> frames;
  std::size_t depth = 0;
  TextPosition position(json);
  for (std::size_t at = 0; at < json.size(); ++at) {
    const char c = json[at];
    if (c == '{' || c == '[') {
      if (depth == frames.size()) frames.emplace_back();
      frames[depth].object = c == '{';
      frames[depth].keys.clear();
      ++depth;
    } else if (c == '}' || c == ']') {
      if (depth > 0) --depth;
    } else if (c == '\n') {
      // Valid JSON has line breaks only between tokens.
      position.LineBreakAt(at);
    } else if (c == '"') {
      bool escaped = false;
      std::size_t end = at + 1;
      for (; end < json.size() && json[end] != '"'; ++end) {
        if (json[end] == '\\') {
          escaped = true;
          ++end;
        }
      }
      std::size_t next = end + 1;
      while (next < json.size() && IsJsonBlank(json[next])) ++next;
      // Only a key is followed by a colon.
      if (depth > 0 && frames[depth - 1].object && next < json.size() && json[next] == ':') {
        const std::string_view token = json.substr(at, end + 1 - at);
        std::string key = Unescaped(token, escaped);
        if (!frames[depth - 1].keys.insert(key).second) {
          const std::size_t column = position.ColumnOf(at);
          found.push_back({position.Line(), column, std::move(key)});
        }
      }
      at = end;
    }
  }
  return found;
}

}  // namespace zcli
