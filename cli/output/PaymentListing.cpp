#include "output/PaymentListing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
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

}  // namespace

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

namespace {

const char* CurrencyCode(zor::DtausCurrency currency) {
  return currency == zor::DtausCurrency::DM ? "DEM" : "EUR";
}

double Units(std::int64_t hundredths) {
  return static_cast<double>(hundredths) / 100.0;
}

// The document's part for one logical file, up to the list of its payments.
json FileHead(const LogicalFile& f) {
  const zor::DtausHeader& h = f.header;
  const bool dm = h.waehrung == zor::DtausCurrency::DM;
  json head = {{"auftraggeber",
                {{"name", h.auftraggeber.name},
                 {"blz", h.auftraggeber.blz},
                 {"konto", h.auftraggeber.konto}}},
               {"lastschriften", h.lastschriften},
               {"dateidatum", FormatIsoDate(h.dateidatum)}};
  if (h.ausfuehrungsdatum) head["ausfuehrungsdatum"] = FormatIsoDate(*h.ausfuehrungsdatum);
  head["waehrung"] = CurrencyCode(h.waehrung);
  // Where the file came from, when it says so.
  if (!h.diskettennummer.empty()) head["diskettennummer"] = h.diskettennummer;
  if (h.referenz != 0) head["referenz"] = h.referenz;
  head["summen"] = {{"anzahl", f.counted.anzahl},
                    {"betrag", Units(dm ? f.counted.pfennig : f.counted.cent)},
                    {"kontonummern", f.counted.kontonummern},
                    {"bankleitzahlen", f.counted.bankleitzahlen}};
  head["buchungen"] = json::array();
  return head;
}

// The dump of an object whose last member is an empty list, cut before that
// list, each line after the first indented by `indent`.
std::string OpenEnded(const json& object, const std::string& indent) {
  std::string text = object.dump(2, ' ', false);
  constexpr std::string_view kEmptyListAndEnd = "[]\n}";
  text.resize(text.size() - kEmptyListAndEnd.size());
  std::string indented;
  for (char c : text) {
    indented += c;
    if (c == '\n') indented += indent;
  }
  return indented + "[";
}

void AddList(std::string& text, const std::string& indent, const char* key,
             const std::vector<std::string>& lines) {
  text += ",\n" + indent + "\"" + key + "\": [";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += (i == 0 ? "\n" : ",\n") + indent + "  " + Scalar(lines[i]);
  }
  text += lines.empty() ? "]" : "\n" + indent + "]";
}

}  // namespace

JsonListing::JsonListing(std::ostream& out, std::string path, const std::vector<LogicalFile>& files)
    : fBuffer(out), fFiles(files), fNested(files.size() > 1), fIndent(fNested ? 8 : 4, ' ') {
  json top = {{"art", "dtaus"}, {"datei", std::move(path)}};
  if (fNested) {
    top["dateien"] = json::array();
    fBuffer.Text() = OpenEnded(top, "");
    return;
  }
  json head = FileHead(files.at(0));
  top.insert(head.begin(), head.end());
  fBuffer.Text() = OpenEnded(top, "");
  fOpen = 1;
}

void JsonListing::Open(std::size_t file) {
  while (fOpen <= file) {
    if (fOpen > 0) CloseFile();
    std::string& text = fBuffer.Text();
    text += fOpen == 0 ? "\n    " : ",\n    ";
    text += OpenEnded(FileHead(fFiles.at(fOpen)), "    ");
    ++fOpen;
    fCount = 0;
  }
}

void JsonListing::CloseFile() {
  fBuffer.Text() += fCount == 0 ? "]\n    }" : "\n      ]\n    }";
}

void JsonListing::Add(std::size_t file, const zor::DtausPayment& p) {
  if (fNested) Open(file);
  const std::string field = fIndent + "  ";
  std::string& text = fBuffer.Text();
  text += fCount++ == 0 ? "\n" : ",\n";
  text += fIndent + "{\n" + field + "\"name\": " + Scalar(p.name);
  text += ",\n" + field + "\"konto\": " + std::to_string(p.konto);
  text += ",\n" + field + "\"blz\": " + std::to_string(p.blz);
  text += ",\n" + field + "\"betrag\": " + Scalar(Units(p.betrag));
  text += ",\n" + field + "\"zahlungsschluessel\": " + Scalar(p.zahlungsschluessel);
  AddList(text, field, "verwendungszweck", p.verwendungszweck);
  if (p.kundennummer != 0) {
    text += ",\n" + field + "\"kundennummer\": " + std::to_string(p.kundennummer);
  }
  if (!p.namenszusatz.empty()) AddList(text, field, "namenszusatz", p.namenszusatz);
  if (!p.auftraggeberzusatz.empty()) {
    AddList(text, field, "auftraggeberzusatz", p.auftraggeberzusatz);
  }
  if (!(p.auftraggeber == fFiles.at(file).header.auftraggeber)) {
    text += ",\n" + field + "\"auftraggeber\": {\n" + field +
            "  \"name\": " + Scalar(p.auftraggeber.name) + ",\n" + field +
            "  \"blz\": " + std::to_string(p.auftraggeber.blz) + ",\n" + field +
            "  \"konto\": " + std::to_string(p.auftraggeber.konto) + "\n" + field + "}";
  }
  text += "\n" + fIndent + "}";
  fBuffer.Ready();
}

void JsonListing::Close() {
  if (fNested) {
    Open(fFiles.size() - 1);
    CloseFile();
    fBuffer.Text() += "\n  ]\n}\n";
  } else {
    fBuffer.Text() += fCount == 0 ? "]\n}\n" : "\n  ]\n}\n";
  }
  fBuffer.Flush();
}

CsvListing::CsvListing(std::ostream& out, const std::vector<LogicalFile>& files)
    : fBuffer(out), fFiles(files), fFileColumn(files.size() > 1) {
  for (const LogicalFile& f : files) {
    fPurposeColumns = std::max(fPurposeColumns, f.purposeLines);
    fCurrencyColumn = fCurrencyColumn || f.header.waehrung == zor::DtausCurrency::DM;
  }
  std::string& text = fBuffer.Text();
  text = fFileColumn ? "datei,name,konto,blz,betrag" : "name,konto,blz,betrag";
  if (fCurrencyColumn) text += ",waehrung";
  text += ",zahlungsschluessel";
  for (std::size_t i = 1; i <= fPurposeColumns; ++i) {
    text += ",verwendungszweck" + std::to_string(i);
  }
  text += "\r\n";
}

void CsvListing::Add(std::size_t file, const zor::DtausPayment& p) {
  std::string& text = fBuffer.Text();
  if (fFileColumn) text += std::to_string(file + 1) + ',';
  text += CsvCell(p.name) + ',' + std::to_string(p.konto) + ',' + std::to_string(p.blz) + ',' +
          FormatCent(p.betrag);
  if (fCurrencyColumn) text += std::string(",") + CurrencyCode(fFiles.at(file).header.waehrung);
  text += ',' + p.zahlungsschluessel;
  for (std::size_t i = 0; i < fPurposeColumns; ++i) {
    text += ',';
    if (i < p.verwendungszweck.size()) text += CsvCell(p.verwendungszweck[i]);
  }
  text += "\r\n";
  fBuffer.Ready();
}

}  // namespace zcli
