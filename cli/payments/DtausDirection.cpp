#include "payments/DtausDirection.h"

#include <optional>
#include <vector>

#include "io/Values.h"

namespace zcli {

namespace {

enum class Direction { kCredits, kDebits };

struct Statement {
  std::string label;
  Direction direction;
};

const char* Named(Direction d) {
  return d == Direction::kDebits ? "Lastschriften" : "Gutschriften";
}

// What one setting says, if anything: "abbuchung": false says nothing about
// credits, and a key that is no key is reported when the settings are read.
std::optional<Direction> Says(const std::string& key, const std::string& value) {
  if (key == "zahlungsschluessel") {
    const std::string schluessel = Trimmed(value);
    if (schluessel.size() != 5 || !ParseDigits(schluessel)) return std::nullopt;
    return schluessel == "04000" || schluessel == "05000" ? Direction::kDebits
                                                          : Direction::kCredits;
  }
  const std::optional<bool> flag = ParseBool(value);
  if (!flag) return std::nullopt;
  if (key == "lastschriften") return *flag ? Direction::kDebits : Direction::kCredits;
  if (key == "gutschriften" && *flag) return Direction::kCredits;
  if (key == "abbuchung" && *flag) return Direction::kDebits;
  return std::nullopt;
}

// `label` names a setting in the message, from its key and value.
template <class Label>
void Collect(const std::map<std::string, std::string>& settings, const Label& label,
             std::vector<Statement>& statements) {
  for (const char* key : {"lastschriften", "gutschriften", "abbuchung", "zahlungsschluessel"}) {
    const auto it = settings.find(key);
    if (it == settings.end()) continue;
    if (const std::optional<Direction> d = Says(key, it->second)) {
      statements.push_back({label(key, it->second), *d});
    }
  }
}

}  // namespace

std::string FindDirectionConflict(const std::map<std::string, std::string>& job,
                                  const std::map<std::string, std::string>& options,
                                  const KeyLabel& optionLabel) {
  std::vector<Statement> said;
  Collect(
      options,
      [&optionLabel](const std::string& key, const std::string& value) {
        // A flag is named by itself, the key with its value.
        return optionLabel(key) + (key == "zahlungsschluessel" ? " " + Trimmed(value) : "");
      },
      said);
  Collect(
      job,
      [](const std::string& key, const std::string& value) {
        return Quoted(key) + ": " + Trimmed(value) + " im Auftrag";
      },
      said);
  for (const Statement& other : said) {
    if (other.direction != said.front().direction) {
      return "Widersprüchliche Angaben: " + said.front().label + " bedeutet " +
             Named(said.front().direction) + ", " + other.label + " bedeutet " +
             Named(other.direction) + ".";
    }
  }
  return std::string();
}

}  // namespace zcli
