#include "io/DtausTrailer.h"

#include "io/Values.h"
#include "zordta/Limits.h"

namespace zcli {

namespace {

namespace lim = zor::limits::dtaus;

struct Field {
  std::size_t offset;  // 0-based
  std::size_t width;
  const char* name;
  std::int64_t ControlSums::*member;
};

constexpr Field kFields[] = {
    {lim::kECountOffset, lim::kECountWidth, "Anzahl der Datensätze C", &ControlSums::count},
    {lim::kEKontoSumOffset, lim::kEKontoSumWidth, "Summe der Kontonummern", &ControlSums::konto},
    {lim::kEBLZSumOffset, lim::kEBLZSumWidth, "Summe der Bankleitzahlen", &ControlSums::blz},
    {lim::kECentSumOffset, lim::kECentSumWidth, "Summe der Beträge in Cent", &ControlSums::cent},
};

}  // namespace

std::optional<ControlSums> ReadTrailer(std::string_view bytes, std::string& error) {
  if (bytes.size() < kTrailerLength) {
    error =
        "Die Datei ist kürzer als ein Datensatz E (" + std::to_string(kTrailerLength) + " Bytes).";
    return std::nullopt;
  }
  const std::string_view record = bytes.substr(bytes.size() - kTrailerLength);
  if (record.substr(0, 5) != "0128E") {
    error = "Die letzten " + std::to_string(kTrailerLength) +
            " Bytes sind kein Datensatz E (sie beginnen nicht mit \"0128E\").";
    return std::nullopt;
  }
  ControlSums sums;
  for (const Field& f : kFields) {
    const std::string_view text = record.substr(f.offset, f.width);
    // Only digits: a blank or a sign is a damaged field, not a smaller number.
    const std::optional<std::int64_t> value =
        text.find_first_not_of("0123456789") == std::string_view::npos ? ParseDigits(text)
                                                                       : std::nullopt;
    if (!value) {
      error = std::string("Datensatz E: ") + f.name + " (Stellen " + std::to_string(f.offset + 1) +
              "-" + std::to_string(f.offset + f.width) + ") ist keine Zahl: \"" +
              std::string(text) + "\".";
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
  constexpr std::size_t kFrom = lim::kAAusfuehrungsdatumOffset;
  constexpr std::size_t kLength = lim::kAAusfuehrungsdatumWidth;
  if (bytes.size() < kFrom + kLength) return false;
  return bytes.substr(kFrom, kLength).find_first_not_of(' ') != std::string_view::npos;
}

}  // namespace zcli
