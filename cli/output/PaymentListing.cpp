#include "output/PaymentListing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string_view>

#include "io/EntryNames.h"
#include "output/JsonScalars.h"
#include "output/OutputError.h"
#include "output/StandardOutput.h"
#include "zordta/entry/Values.h"

namespace zcli {

namespace {

using json = nlohmann::ordered_json;

constexpr std::size_t kPieceSize = 1 << 16;

}  // namespace

std::string CsvCell(const std::string& text) {
  std::string cell;
  AppendCsvCell(cell, text);
  return cell;
}

void AppendCsvCell(std::string& text, std::string_view cell) {
  // A plain loop rather than find_first_of, which looks each byte up in the set.
  const bool plain =
      std::none_of(
          cell.begin(), cell.end(),
          [](char c) { return c == ',' || c == '"' || c == ';' || c == '\r' || c == '\n'; }) &&
      (cell.empty() || (cell.front() != ' ' && cell.back() != ' '));
  if (plain) {
    text += cell;
    return;
  }
  text += '"';
  for (char c : cell) {
    text += c;
    if (c == '"') text += '"';
  }
  text += '"';
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

// As FormatCent writes it, without a string of its own.
void AppendCent(std::string& text, std::int64_t cent) {
  if (cent < 0) {
    text += FormatCent(cent);
    return;
  }
  AppendInteger(text, cent / 100);
  const auto hundredths = static_cast<int>(cent % 100);
  text += '.';
  text += static_cast<char>('0' + hundredths / 10);
  text += static_cast<char>('0' + hundredths % 10);
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

void AddList(std::string& text, const std::string& key, const JsonListing::Pieces& pieces,
             const std::vector<std::string>& lines) {
  text += key;
  if (lines.empty()) {
    text += ']';
    return;
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += ',';
    text += pieces.line;
    AppendJsonString(text, lines[i]);
  }
  text += pieces.listEnd;
}

}  // namespace

JsonListing::Pieces::Pieces(const std::string& indent) {
  const std::string field = indent + "  ";
  const auto key = [&](const char* name) { return ",\n" + field + "\"" + name + "\": "; };
  open = indent + "{\n" + field + "\"name\": ";
  konto = key("konto");
  blz = key("blz");
  betrag = key("betrag");
  zahlungsschluessel = key("zahlungsschluessel");
  verwendungszweck = key("verwendungszweck") + "[";
  kundennummer = key("kundennummer");
  namenszusatz = key("namenszusatz") + "[";
  auftraggeberzusatz = key("auftraggeberzusatz") + "[";
  line = "\n" + field + "  ";
  listEnd = "\n" + field + "]";
  auftraggeber = key("auftraggeber") + "{\n" + field + "  \"name\": ";
  auftraggeberBlz = ",\n" + field + "  \"blz\": ";
  auftraggeberKonto = ",\n" + field + "  \"konto\": ";
  auftraggeberEnd = "\n" + field + "}";
  close = "\n" + indent + "}";
}

JsonListing::JsonListing(std::ostream& out, std::string path, const std::vector<LogicalFile>& files)
    : fBuffer(out),
      fFiles(files),
      fNested(files.size() > 1),
      fPieces(std::string(fNested ? 8 : 4, ' ')) {
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
  const Pieces& k = fPieces;
  std::string& text = fBuffer.Text();
  text += fCount++ == 0 ? "\n" : ",\n";
  text += k.open;
  AppendJsonString(text, p.name);
  text += k.konto;
  AppendInteger(text, p.konto);
  text += k.blz;
  AppendInteger(text, p.blz);
  text += k.betrag;
  AppendJsonUnits(text, p.betrag);
  text += k.zahlungsschluessel;
  AppendJsonString(text, p.zahlungsschluessel);
  AddList(text, k.verwendungszweck, k, p.verwendungszweck);
  if (p.kundennummer != 0) {
    text += k.kundennummer;
    AppendInteger(text, p.kundennummer);
  }
  if (!p.namenszusatz.empty()) AddList(text, k.namenszusatz, k, p.namenszusatz);
  if (!p.auftraggeberzusatz.empty()) AddList(text, k.auftraggeberzusatz, k, p.auftraggeberzusatz);
  if (HasOwnClient(p, fFiles.at(file).header)) {
    text += k.auftraggeber;
    AppendJsonString(text, p.auftraggeber.name);
    text += k.auftraggeberBlz;
    AppendInteger(text, p.auftraggeber.blz);
    text += k.auftraggeberKonto;
    AppendInteger(text, p.auftraggeber.konto);
    text += k.auftraggeberEnd;
  }
  text += k.close;
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

bool HasOwnClient(const zor::DtausPayment& payment, const zor::DtausHeader& header) {
  return !(payment.auftraggeber == header.auftraggeber);
}

std::vector<std::string> CsvListing::Unlisted(const zor::DtausPayment& p,
                                              const zor::DtausHeader& header) {
  std::vector<std::string> unlisted;
  if (!p.namenszusatz.empty()) unlisted.push_back("einen Namenszusatz („namenszusatz“)");
  if (!p.auftraggeberzusatz.empty()) {
    unlisted.push_back("einen Namenszusatz des Auftraggebers („auftraggeberzusatz“)");
  }
  if (p.kundennummer != 0) unlisted.push_back("eine Kundennummer („kundennummer“)");
  if (HasOwnClient(p, header)) unlisted.push_back("einen eigenen Auftraggeber („auftraggeber“)");
  return unlisted;
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
  if (fFileColumn) {
    AppendInteger(text, static_cast<std::int64_t>(file + 1));
    text += ',';
  }
  AppendCsvCell(text, p.name);
  text += ',';
  AppendInteger(text, p.konto);
  text += ',';
  AppendInteger(text, p.blz);
  text += ',';
  AppendCent(text, p.betrag);
  if (fCurrencyColumn) {
    text += ',';
    text += CurrencyCode(fFiles.at(file).header.waehrung);
  }
  text += ',';
  text += p.zahlungsschluessel;
  for (std::size_t i = 0; i < fPurposeColumns; ++i) {
    text += ',';
    if (i < p.verwendungszweck.size()) AppendCsvCell(text, p.verwendungszweck[i]);
  }
  text += "\r\n";
  fBuffer.Ready();
}

}  // namespace zcli
