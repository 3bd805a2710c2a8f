#include "io/DtausTrailer.h"

#include "io/Values.h"

namespace zcli {

namespace {

struct Field {
  std::size_t from;  // 1-based, inclusive
  std::size_t to;
  const char* name;
  std::int64_t ControlSums::*member;
};

constexpr Field kFields[] = {
    {11, 17, "Anzahl der Datensätze C", &ControlSums::count},
    {31, 47, "Summe der Kontonummern", &ControlSums::konto},
    {48, 64, "Summe der Bankleitzahlen", &ControlSums::blz},
    {65, 77, "Summe der Beträge in Cent", &ControlSums::cent},
};

}  // namespace

std::optional<ControlSums> ReadTrailer(std::string_view bytes, std::string& error) {
  if (bytes.size() < kTrailerLength) {
    error = "Die Datei ist kürzer als ein Datensatz E (128 Bytes).";
    return std::nullopt;
  }
  const std::string_view record = bytes.substr(bytes.size() - kTrailerLength);
  if (record.substr(0, 5) != "0128E") {
    error = "Die letzten 128 Bytes sind kein Datensatz E (sie beginnen nicht mit \"0128E\").";
    return std::nullopt;
  }
  ControlSums sums;
  for (const Field& f : kFields) {
    const std::string_view text = record.substr(f.from - 1, f.to - f.from + 1);
    // Only digits: a blank or a sign is a damaged field, not a smaller number.
    const std::optional<std::int64_t> value =
        text.find_first_not_of("0123456789") == std::string_view::npos ? ParseDigits(text)
                                                                       : std::nullopt;
    if (!value) {
      error = std::string("Datensatz E: ") + f.name + " (Stellen " + std::to_string(f.from) + "-" +
              std::to_string(f.to) + ") ist keine Zahl: \"" + std::string(text) + "\".";
      return std::nullopt;
    }
    sums.*f.member = *value;
  }
  return sums;
}

std::vector<std::string> CompareSums(const ControlSums& stated, const ControlSums& counted) {
  std::vector<std::string> differences;
  for (const Field& f : kFields) {
    if (stated.*f.member == counted.*f.member) continue;
    differences.push_back(std::string(f.name) + ": im Datensatz E " +
                          std::to_string(stated.*f.member) + ", aus den Buchungen " +
                          std::to_string(counted.*f.member) + ".");
  }
  return differences;
}

bool HasExecutionDate(std::string_view bytes) {
  constexpr std::size_t kFrom = 96 - 1;
  constexpr std::size_t kLength = 8;
  if (bytes.size() < kFrom + kLength) return false;
  return bytes.substr(kFrom, kLength).find_first_not_of(' ') != std::string_view::npos;
}

}  // namespace zcli
