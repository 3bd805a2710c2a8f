#include "output/PaymentListing.h"

#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string_view>

#include "io/Values.h"
#include "output/OutputError.h"
#include "output/StandardOutput.h"

namespace zcli {

namespace {

using json = nlohmann::ordered_json;

constexpr std::size_t kPieceSize = 1 << 16;

// A scalar as the document's dump writes it: strings escaped, numbers as nlohmann prints them.
std::string Scalar(const json& value) {
  return value.dump(-1, ' ', false);
}

std::string CsvCell(const std::string& text) {
  const bool plain = text.find_first_of(",\";\r\n") == std::string::npos &&
                     (text.empty() || (text.front() != ' ' && text.back() != ' '));
  if (plain) return text;
  std::string quoted = "\"";
  for (char c : text) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

}  // namespace

ListingBuffer::~ListingBuffer() {
  try {
    Flush();
  } catch (const OutputError&) {
    // reported by the caller's last flush of standard output
  }
}

void ListingBuffer::Ready() {
  if (fText.size() >= kPieceSize) Flush();
}

void ListingBuffer::Flush() {
  fOut.write(fText.data(), static_cast<std::streamsize>(fText.size()));
  fText.clear();
  // A listing that cannot be written stops here instead of reading on.
  if (&fOut == &std::cout) CheckStandardOutput();
}

JsonListing::JsonListing(std::ostream& out, const std::string& path, const ImportedClient& client,
                         const PaymentSummary& summary)
    : fBuffer(out) {
  json head = {
      {"art", "dtaus"},
      {"datei", path},
      {"auftraggeber", {{"name", client.name}, {"blz", client.blz}, {"konto", client.konto}}},
      {"lastschriften", client.lastschriften},
      {"abbuchung", summary.abbuchung},
      {"dateidatum", FormatIsoDate(client.dateidatum)}};
  if (client.ausfuehrung) head["ausfuehrungsdatum"] = FormatIsoDate(*client.ausfuehrung);
  if (!summary.schluessel.empty()) head["zahlungsschluessel"] = summary.schluessel;
  head["summen"] = {{"anzahl", summary.sums.count},
                    {"betrag", static_cast<double>(summary.sums.cent) / 100.0},
                    {"kontonummern", summary.sums.konto},
                    {"bankleitzahlen", summary.sums.blz}};
  head["buchungen"] = json::array();
  // The empty list ends the dump; the payments are printed in its place.
  std::string text = head.dump(2, ' ', false);
  constexpr std::string_view kEmptyListAndEnd = "[]\n}";
  text.resize(text.size() - kEmptyListAndEnd.size());
  fBuffer.Text() = text + "[";
}

void JsonListing::Add(const ImportedPayment& p) {
  std::string& text = fBuffer.Text();
  text += fCount++ == 0 ? "\n" : ",\n";
  text += "    {\n      \"name\": " + Scalar(p.name);
  text += ",\n      \"konto\": " + std::to_string(p.konto);
  text += ",\n      \"blz\": " + std::to_string(p.blz);
  text += ",\n      \"betrag\": " + Scalar(static_cast<double>(p.cent) / 100.0);
  text += ",\n      \"verwendungszweck\": [";
  for (std::size_t i = 0; i < p.purpose.size(); ++i) {
    text += (i == 0 ? "\n        " : ",\n        ") + Scalar(p.purpose[i]);
  }
  text += p.purpose.empty() ? "]\n    }" : "\n      ]\n    }";
  fBuffer.Ready();
}

void JsonListing::Close() {
  fBuffer.Text() += fCount == 0 ? "]\n}\n" : "\n  ]\n}\n";
  fBuffer.Flush();
}

CsvListing::CsvListing(std::ostream& out, const PaymentSummary& summary)
    : fBuffer(out), fPurposeColumns(std::max<std::size_t>(1, summary.purposeLines)) {
  std::string& text = fBuffer.Text();
  text = "name,konto,blz,betrag";
  for (std::size_t i = 1; i <= fPurposeColumns; ++i) {
    text += ",verwendungszweck" + std::to_string(i);
  }
  text += "\r\n";
}

void CsvListing::Add(const ImportedPayment& p) {
  std::string& text = fBuffer.Text();
  text += CsvCell(p.name) + ',' + std::to_string(p.konto) + ',' + std::to_string(p.blz) + ',' +
          FormatCent(p.cent);
  for (std::size_t i = 0; i < fPurposeColumns; ++i) {
    text += ',';
    if (i < p.purpose.size()) text += CsvCell(p.purpose[i]);
  }
  text += "\r\n";
  fBuffer.Ready();
}

}  // namespace zcli
