#include "io/JobFile.h"

#include <algorithm>
#include <type_traits>

#include <nlohmann/json.hpp>

#include "io/EntryNames.h"
#include "io/JsonDuplicateKeys.h"
#include "zordta/entry/MessageText.h"
#include "zordta/entry/Utf8Check.h"
#include "zordta/host/Text.h"

namespace zcli {
namespace {

// In file order, so the messages follow the file.
using json = nlohmann::ordered_json;

// Deeper nesting is no job file; the limit keeps the parser's stack small.
constexpr int kMaxDepth = 16;

bool NestsTooDeep(std::string_view text) {
  int depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '{' || c == '[') {
      if (++depth > kMaxDepth) return true;
    } else if (c == '}' || c == ']') {
      --depth;
    }
  }
  return false;
}

// A scalar as text; false for objects and arrays.
bool ScalarText(const json& value, std::string& text) {
  if (value.is_string()) {
    text = value.get<std::string>();
  } else if (value.is_boolean()) {
    text = value.get<bool>() ? "true" : "false";
  } else if (value.is_number()) {
    text = value.dump();
  } else {
    return false;
  }
  return true;
}

void CheckText(const std::string& text, const std::string& where, const std::string& field,
               Diagnostics& errors, const char* lineBreakHint = "") {
  for (const ForeignChar& c : FindUnwritableChars(text)) {
    errors.Add(where, field, UnwritableCharMessage(c) + (c.codePoint == '\n' ? lineBreakHint : ""));
  }
}

// The key that holds the files of a job of several.
constexpr const char* kFilesKey = "dateien";

// What a value is, for a message that refuses it: "kein Text („ja“)".
std::string NotThat(const json& value) {
  if (value.is_string()) return "kein Text (" + Quoted(value.get<std::string>()) + ")";
  if (value.is_number()) return "keine Zahl (" + value.dump() + ")";
  if (value.is_boolean() || value.is_null()) return "nicht " + value.dump();
  return value.is_object() ? "kein Objekt" : "keine Liste";
}

std::string Expected(JobValue kind) {
  switch (kind) {
    case JobValue::kText:
      return "ein Text";
    case JobValue::kNumber:
      return "eine Zahl";
    case JobValue::kFlag:
      return "true oder false";
    case JobValue::kTextList:
      return "eine Liste von Texten";
  }
  return "";
}

bool Fits(const json& value, JobValue kind) {
  switch (kind) {
    case JobValue::kText:
      return value.is_string();
    case JobValue::kNumber:
      return value.is_number() || value.is_string();
    case JobValue::kFlag:
      return value.is_boolean();
    case JobValue::kTextList:
      return value.is_array() &&
             std::all_of(value.begin(), value.end(), [](const json& v) { return v.is_string(); });
  }
  return false;
}

// A value as the job keeps it; a list one text per line.
std::string ValueText(const json& value) {
  std::string text;
  if (!value.is_array()) {
    ScalarText(value, text);
    return text;
  }
  bool first = true;
  for (const json& item : value) {
    text += (first ? "" : "\n") + item.get<std::string>();
    first = false;
  }
  return text;
}

// Checked line by line, so that a line break is named as such.
void CheckValue(const json& value, const std::string& where, const std::string& field,
                Diagnostics& errors) {
  if (!value.is_array()) {
    CheckText(ValueText(value), where, field, errors);
    return;
  }
  for (const json& item : value) CheckText(item.get<std::string>(), where, field, errors);
}

// The direct members of a group ("name, blz, konto" for "auftraggeber"), of
// the settings or of a payment's fields; empty when `key` is none.
template <class Keys>
std::string Members(const Keys& keys, const std::string& key) {
  std::string members;
  std::string last;
  for (const auto& entry : keys) {
    const std::string& name = [&]() -> const std::string& {
      if constexpr (std::is_same_v<typename Keys::value_type, std::string>) {
        return entry;
      } else {
        return entry.first;
      }
    }();
    if (name.size() <= key.size() + 1 || name.compare(0, key.size(), key) != 0 ||
        name[key.size()] != '.') {
      continue;
    }
    std::string member = name.substr(key.size() + 1);
    member = member.substr(0, member.find('.'));
    if (member == last) continue;
    members += (members.empty() ? "" : ", ") + member;
    last = member;
  }
  return members;
}

std::string GroupMembers(const JobSchema& schema, const std::string& key) {
  return Members(schema.settings, key);
}

// A lone text for a group that takes one: the group's name.
bool NamesGroup(const JobSchema& schema, const std::string& key, const json& value) {
  return value.is_string() && schema.namedGroups.count(key);
}

// `where`: "Auftrag", or the file's place in a job of several.
void ReadSetting(const std::string& key, const json& value, const std::string& where,
                 const JobSchema& schema, Job& job, Diagnostics& errors) {
  const auto setting = schema.settings.find(key);
  if (setting == schema.settings.end()) {
    if (value.is_null()) return;
    const std::string members = GroupMembers(schema, key);
    errors.Add(where, key,
               members.empty()
                   ? "Unbekannter Schlüssel."
                   : "Erwartet wird ein Objekt (" + members + "), " + NotThat(value) + ".");
    return;
  }
  // Null stands for a setting not given, except where that would decide a
  // yes or no: the file's kind, say.
  if (value.is_null() && setting->second != JobValue::kFlag) return;
  if (!Fits(value, setting->second)) {
    errors.Add(where, key,
               "Erwartet wird " + Expected(setting->second) + ", " + NotThat(value) + ".");
    return;
  }
  CheckValue(value, where, key, errors);
  job.settings[key] = ValueText(value);
}

// A setting or a group of them, flattened: "auftraggeber": {"anschrift": {"ort":
// ...}} is "auftraggeber.anschrift.ort".
void ReadSettingOrGroup(const std::string& key, const json& value, const std::string& where,
                        const JobSchema& schema, Job& job, Diagnostics& errors) {
  if (NamesGroup(schema, key, value)) {
    ReadSetting(key + ".name", value, where, schema, job, errors);
  } else if (value.is_object() && !schema.settings.count(key) &&
             !GroupMembers(schema, key).empty()) {
    for (const auto& [member, memberValue] : value.items()) {
      ReadSettingOrGroup(key + "." + member, memberValue, where, schema, job, errors);
    }
  } else {
    ReadSetting(key, value, where, schema, job, errors);
  }
}

// A field of a payment, or a group of them flattened as the settings are.
void ReadPaymentField(const std::string& key, const json& value, const JobSchema& schema,
                      InputRecord& record, Diagnostics& errors) {
  if (value.is_null()) return;
  if (NamesGroup(schema, key, value)) {
    ReadPaymentField(key + ".name", value, schema, record, errors);
    return;
  }
  if (value.is_object() && !Members(schema.paymentFields, key).empty()) {
    for (const auto& [member, memberValue] : value.items()) {
      ReadPaymentField(key + "." + member, memberValue, schema, record, errors);
    }
    return;
  }
  if (!schema.paymentFields.count(key)) {
    errors.Add(record.where, key, "Unbekannter Schlüssel.");
    return;
  }
  const auto kind = schema.paymentValues.find(key);
  if (kind != schema.paymentValues.end()) {
    if (!Fits(value, kind->second)) {
      errors.Add(record.where, key,
                 "Erwartet wird " + Expected(kind->second) + ", " + NotThat(value) + ".");
      return;
    }
  } else if (!value.is_string() && !value.is_number()) {
    errors.Add(record.where, key, "Erwartet wird ein Text oder eine Zahl.");
    return;
  }
  CheckValue(value, record.where, key, errors);
  record.Set(key, ValueText(value));
}

// `place`: empty, or the file's place in a job of several.
void ReadPayment(const json& item, std::size_t number, const std::string& place,
                 const JobSchema& schema, Job& job, Diagnostics& errors) {
  InputRecord record;
  record.where = (place.empty() ? "" : place + ", ") + "Buchung " + std::to_string(number);
  if (!item.is_object()) {
    errors.Add(record.where, "", "Erwartet wird ein Objekt mit den Feldern der Buchung.");
    return;
  }
  for (const auto& [key, value] : item.items()) {
    if (value.is_null()) continue;
    if (key == "verwendungszweck") {
      const json lines = value.is_array() ? value : json::array({value});
      std::size_t lineNumber = 0;
      for (const json& line : lines) {
        // Named like the CSV columns: "verwendungszweck2" is the second line.
        const std::string field = key + std::to_string(++lineNumber);
        std::string text;
        if (!line.is_string() && !line.is_number()) {
          errors.Add(record.where, field, "Erwartet wird ein Text oder eine Liste von Texten.");
          continue;
        }
        ScalarText(line, text);
        CheckText(text, record.where, field, errors,
                  " Mehrere Zeilen stehen als Liste im Verwendungszweck.");
        if (schema.blankPurposeLinesKeepPlace ||
            text.find_first_not_of(" \t") != std::string::npos) {
          record.purpose.push_back(text);
        }
      }
      continue;
    }
    if (const auto refused = schema.refusedPaymentFields.find(key);
        refused != schema.refusedPaymentFields.end()) {
      errors.Add(record.where, key, refused->second);
      continue;
    }
    ReadPaymentField(key, value, schema, record, errors);
  }
  job.payments.push_back(std::move(record));
}

// Each entry's settings, read as those of the file and kept under "<key>[n].".
void ReadSettingsList(const std::string& key, const json& value, const std::string& where,
                      const JobSchema& schema, Job& job, Diagnostics& errors) {
  if (!value.is_array()) {
    errors.Add(where, key, "Erwartet wird eine Liste von Objekten mit Einstellungen.");
    return;
  }
  std::size_t number = 0;
  for (const json& item : value) {
    const std::string entry = key + "[" + std::to_string(++number) + "]";
    if (!item.is_object()) {
      errors.Add(where, entry, "Erwartet wird ein Objekt mit Einstellungen.");
      continue;
    }
    Job settings;
    for (const auto& [name, setting] : item.items()) {
      ReadSettingOrGroup(name, setting, where + ", " + entry, schema, settings, errors);
    }
    for (auto& [name, text] : settings.settings) {
      job.settings.emplace(entry + "." + name, std::move(text));
    }
  }
}

// The keys of one file's object: settings, and its payments in "buchungen".
void ReadFileObject(const json& object, const std::string& place, const JobSchema& schema, Job& job,
                    Diagnostics& errors) {
  const std::string where = place.empty() ? "Auftrag" : place;
  for (const auto& [key, value] : object.items()) {
    if (schema.ignored.count(key)) continue;
    if (key == "buchungen") {
      if (!value.is_array()) {
        errors.Add(where, key, "Erwartet wird eine Liste von Buchungen.");
        continue;
      }
      job.hasPayments = true;
      std::size_t number = 0;
      for (const json& item : value) ReadPayment(item, ++number, place, schema, job, errors);
    } else if (!schema.settingsList.empty() && key == schema.settingsList) {
      ReadSettingsList(key, value, where, schema, job, errors);
    } else {
      ReadSettingOrGroup(key, value, where, schema, job, errors);
    }
  }
}

// Beside "dateien" only "art" and what "read" adds: a setting at the top would
// leave it open which file it is for.
void ReadSeveralFiles(const json& root, const JobSchema& schema, Job& job, Diagnostics& errors) {
  for (const auto& [key, value] : root.items()) {
    if (schema.ignored.count(key)) continue;
    if (key == "art") {
      ReadSetting(key, value, "Auftrag", schema, job, errors);
    } else if (key != kFilesKey) {
      errors.Add("Auftrag", key,
                 "Neben „dateien“ steht hier nur „art“; Einstellungen gehören in jede Datei der "
                 "Liste.");
    }
  }
  const json& files = root[kFilesKey];
  if (!files.is_array() || files.empty()) {
    errors.Add("Auftrag", kFilesKey, "Erwartet wird eine nicht leere Liste von Dateien.");
    return;
  }
  std::size_t number = 0;
  for (const json& item : files) {
    const std::string place = FilePlace(++number);
    if (!item.is_object()) {
      errors.Add(place, "",
                 "Erwartet wird ein Objekt mit Auftraggeber, Einstellungen und "
                 "Buchungen.");
      continue;
    }
    Job& file = job.files.emplace_back();
    file.place = place;
    ReadFileObject(item, place, schema, file, errors);
    // The kind named once at the top holds for every file.
    if (const auto art = job.settings.find("art"); art != job.settings.end()) {
      file.settings.emplace(art->first, art->second);
    }
  }
}

}  // namespace

std::string FilePlace(std::size_t number) {
  return std::string(kFilesKey) + "[" + std::to_string(number) + "]";
}

Job LoadJob(std::string_view text, const JobSchema& schema, Diagnostics& errors) {
  Job job;
  const std::string source(text);
  const std::size_t malformed = zor::FindMalformedUtf8(text);
  if (malformed != std::string_view::npos) {
    errors.Add("JSON", "", PositionText(source, malformed) + ": kein gültiges UTF-8.");
    return job;
  }
  // The parser takes a zero byte for the end of the text and would ignore the rest.
  if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos) {
    errors.Add("JSON", "", PositionText(source, zero) + ": kein gültiges JSON (ein Nullbyte).");
    return job;
  }
  if (NestsTooDeep(text)) {
    errors.Add("JSON", "", "Zu tief verschachtelt für einen Auftrag.");
    return job;
  }
  json root;
  try {
    root = json::parse(source);
  } catch (const json::parse_error& e) {
    const std::size_t at = e.byte > 0 ? e.byte - 1 : 0;
    // The parser's own words, without its code and position (given already).
    std::string detail = e.what();
    const std::size_t column = detail.find("column ");
    const std::size_t colon = column == std::string::npos ? column : detail.find(": ", column);
    if (colon != std::string::npos) detail = detail.substr(colon + 2);
    errors.Add("JSON", "", PositionText(source, at) + ": kein gültiges JSON (" + detail + ").");
    return job;
  } catch (const json::exception& e) {
    // A number beyond double, say: the parser knows no position for it.
    errors.Add("JSON", "", std::string("kein gültiges JSON (") + e.what() + ").");
    return job;
  }
  // The parser keeps the last of two equal keys: the job would say two things.
  const std::vector<DuplicateKey> duplicates = FindDuplicateKeys(text);
  for (const DuplicateKey& d : duplicates) {
    errors.Add("JSON", "",
               "Zeile " + std::to_string(d.line) + ", Spalte " + std::to_string(d.column) +
                   ": Der Schlüssel " + Quoted(d.key) +
                   " steht in diesem Objekt schon weiter oben.");
  }
  if (!duplicates.empty()) return job;
  if (!root.is_object()) {
    errors.Add("JSON", "",
               "Erwartet wird ein Objekt mit Auftraggeber, Einstellungen und Buchungen.");
    return job;
  }

  if (schema.severalFiles && root.contains(kFilesKey)) {
    ReadSeveralFiles(root, schema, job, errors);
  } else {
    ReadFileObject(root, "", schema, job, errors);
  }
  return job;
}

}  // namespace zcli
