#include "zordta/entry/DtausDirection.h"

#include <optional>
#include <vector>
#include "core/MessageFill.h"
#include "entry/RowMessages.h"
#include "zordta/Printable.h"

#include "zordta/PaymentValues.h"
#include "zordta/entry/Values.h"

namespace zor::entry {

using zor::detail::Fill;

namespace {

// Debits in general, or one of the two kinds of debit (keys 04... or 05...).
enum class Direction { kCredits, kDebits, kAbbuchung, kEinzug };

bool Agree(Direction a, Direction b) {
  const auto debit = [](Direction d) { return d != Direction::kCredits; };
  if (a == b || a == Direction::kDebits || b == Direction::kDebits) return debit(a) == debit(b);
  return false;
}

struct Statement {
  std::string label;
  Direction direction;
};

const char* Named(Direction d) {
  switch (d) {
    case Direction::kCredits:
      return _MsgRowCredits;
    case Direction::kDebits:
      return _MsgRowDebits;
    case Direction::kAbbuchung:
      return _MsgRowAbbuchung;
    case Direction::kEinzug:
      return _MsgRowEinzug;
  }
  return "";
}

// What one setting says, if anything: "abbuchung": false says nothing about
// credits, and a key that is no key is reported when the settings are read.
std::optional<Direction> Says(const std::string& key, const std::string& value) {
  if (key == "zahlungsschluessel") {
    const zor::DtausKey* known = zor::PaymentKeyOf(Trimmed(value));
    if (!known) return std::nullopt;
    switch (known->kind) {
      case zor::DtausKeyKind::Credit:
        return Direction::kCredits;
      case zor::DtausKeyKind::Abbuchung:
        return Direction::kAbbuchung;
      case zor::DtausKeyKind::Einzug:
        return Direction::kEinzug;
    }
    return std::nullopt;
  }
  const std::optional<bool> flag = ParseBool(value);
  if (!flag) return std::nullopt;
  if (key == "lastschriften") return *flag ? Direction::kDebits : Direction::kCredits;
  if (key == "gutschriften" && *flag) return Direction::kCredits;
  if (key == "abbuchung" && *flag) return Direction::kAbbuchung;
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
        return Fill(_MsgRowInJob, {zor::PrintableText(key), Trimmed(value)});
      },
      said);
  for (const Statement& one : said) {
    for (const Statement& other : said) {
      if (!Agree(one.direction, other.direction)) {
        return Fill(_MsgRowContradiction,
                    {one.label, Named(one.direction), other.label, Named(other.direction)});
      }
    }
  }
  return std::string();
}

}  // namespace zor::entry
