#include "output/DtazvListing.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string_view>

#include "io/EntryNames.h"
#include "output/JsonScalars.h"
#include "output/PaymentListing.h"
#include "zordta/entry/Values.h"

namespace zcli {

namespace {

using json = nlohmann::ordered_json;

// Amounts as text, "18250.00": exact also for the 14 digits of a DTAZV amount.
// Written by hand, as the dates are: printf costs more than reading the record.
void AppendAmount(std::string& text, std::int64_t hundredths) {
  AppendInteger(text, hundredths / 100);
  text += '.';
  text += static_cast<char>('0' + hundredths % 100 / 10);
  text += static_cast<char>('0' + hundredths % 10);
}

std::string Amount(std::int64_t hundredths) {
  std::string text;
  AppendAmount(text, hundredths);
  return text;
}

void AppendTwoDigits(std::string& text, unsigned value) {
  text += static_cast<char>('0' + value / 10 % 10);
  text += static_cast<char>('0' + value % 10);
}

// "2026-12-14"; the reader's years have four digits.
void AppendIsoDate(std::string& text, const std::chrono::year_month_day& date) {
  const auto year = static_cast<unsigned>(static_cast<int>(date.year()));
  AppendTwoDigits(text, year / 100);
  AppendTwoDigits(text, year % 100);
  text += '-';
  AppendTwoDigits(text, static_cast<unsigned>(date.month()));
  text += '-';
  AppendTwoDigits(text, static_cast<unsigned>(date.day()));
}

std::span<const std::string> PurposeLines(const zor::DtazvPayment& p) {
  std::size_t lines = p.verwendungszweck.size();
  while (lines > 0 && p.verwendungszweck[lines - 1].empty()) --lines;
  return {p.verwendungszweck.data(), lines};
}

// The payment's own date, where the file's does not stand for it.
std::optional<std::chrono::year_month_day> OwnDate(const zor::DtazvPayment& p,
                                                   const DtazvFileSettings& file) {
  if (p.ausfuehrungsdatum == file.ausfuehrungsdatum) return std::nullopt;
  return p.ausfuehrungsdatum;
}

bool OwnAccount(const zor::DtazvPayment& p, const DtazvFileSettings& file) {
  return p.auftraggeberBLZ != file.blz || p.auftraggeberKonto != file.konto ||
         p.kontoWaehrung != file.kontoWaehrung;
}

bool AnyNonZero(const std::array<std::int32_t, 4>& keys) {
  return std::any_of(keys.begin(), keys.end(), [](std::int32_t key) { return key != 0; });
}

// A currency without a bank code and account names no account.
bool ChargesAccount(const zor::DtazvPayment& p) {
  return p.otherBLZ != 0 || p.otherKonto != 0;
}

bool BankByAddress(const zor::DtazvPayment& p) {
  return !p.otherLaendercode.empty() ||
         std::any_of(p.otherAddress.begin(), p.otherAddress.end(),
                     [](const std::string& line) { return !line.empty(); });
}

struct ExtraWords {
  const char* key;
  const char* words;
};

constexpr ExtraWords kExtraWords[] = {
    {"auftraggeber", "ein eigenes Auftraggeberkonto"},
    {"zahlungsart", "einen eigenen Zahlungsartschlüssel"},
    {"weisungsschluessel", "Weisungsschlüssel"},
    {"weisungszusatz", "einen Weisungszusatz"},
    {"entgeltregelung", "eine Entgeltregelung"},
    {"entgeltkonto", "ein Entgeltkonto"},
    {"bank", "die Bank des Begünstigten nach Anschrift"},
    {"meldungen", "Meldungen (Datensätze V und W)"},
};

json AddressLines(const std::array<std::string, 4>& lines) {
  json out = json::array();
  std::size_t count = lines.size();
  while (count > 0 && lines[count - 1].empty()) --count;
  for (std::size_t i = 0; i < count; ++i) out.push_back(lines[i]);
  return out;
}

void AddExtras(json& out, const zor::DtazvPayment& p, std::span<const zor::DtazvReport> reports,
               const DtazvFileSettings& file) {
  if (OwnAccount(p, file)) {
    out["auftraggeber"] = {
        {"blz", p.auftraggeberBLZ}, {"konto", p.auftraggeberKonto}, {"waehrung", p.kontoWaehrung}};
  }
  if (p.zahlungsArtSchluessel != file.zahlungsart) out["zahlungsart"] = p.zahlungsArtSchluessel;
  if (AnyNonZero(p.weisungsschluessel)) out["weisungsschluessel"] = p.weisungsschluessel;
  if (!p.weisungszusatz.empty()) out["weisungszusatz"] = p.weisungszusatz;
  if (p.entgeltregelung != 0) out["entgeltregelung"] = p.entgeltregelung;
  if (ChargesAccount(p)) {
    out["entgeltkonto"] = {
        {"blz", p.otherBLZ}, {"konto", p.otherKonto}, {"waehrung", p.otherWaehrung}};
  }
  if (BankByAddress(p)) {
    out["bank"] = {{"land", p.otherLaendercode}, {"anschrift", AddressLines(p.otherAddress)}};
  }
  if (!reports.empty()) {
    json list = json::array();
    for (const zor::DtazvReport& r : reports) {
      list.push_back({{"satzart", std::string(1, r.satzart)}, {"text", r.text}});
    }
    out["meldungen"] = std::move(list);
  }
}

json PaymentObject(const zor::DtazvPayment& p, std::span<const zor::DtazvReport> reports,
                   const DtazvFileSettings& file) {
  json out = json::object();
  if (!p.bic.empty()) out["bic"] = p.bic;
  out["iban"] = p.iban;
  out["name"] = p.name1;
  if (!p.name2.empty()) out["name2"] = p.name2;
  if (!p.strasse.empty()) out["strasse"] = p.strasse;
  if (!p.ortLand.empty()) out["ort"] = p.ortLand;
  if (!p.laendercode.empty()) out["land"] = p.laendercode;
  out["betrag"] = Amount(p.betrag);
  out["waehrung"] = p.waehrung;
  const std::span<const std::string> lines = PurposeLines(p);
  if (!lines.empty())
    out["verwendungszweck"] = std::vector<std::string>(lines.begin(), lines.end());
  if (const auto date = OwnDate(p, file)) out["datum"] = FormatIsoDate(*date);
  if (!p.notizIntern.empty()) out["notiz"] = p.notizIntern;
  if (!p.ansprechpartner.empty()) out["ansprechpartner"] = p.ansprechpartner;
  AddExtras(out, p, reports, file);
  return out;
}

// The common payment, as the dump of its object indented 2 and shifted by 4
// writes it, without a json value: a file may hold a million of them.
void AppendPlainPayment(std::string& text, const zor::DtazvPayment& p,
                        const DtazvFileSettings& file) {
  bool first = true;
  const auto key = [&text, &first](std::string_view name) {
    text += first ? "{\n      \"" : ",\n      \"";
    first = false;
    text += name;
    text += "\": ";
  };
  const auto field = [&](std::string_view name, std::string_view value) {
    if (value.empty()) return;
    key(name);
    AppendJsonString(text, value);
  };
  field("bic", p.bic);
  key("iban");
  AppendJsonString(text, p.iban);
  key("name");
  AppendJsonString(text, p.name1);
  field("name2", p.name2);
  field("strasse", p.strasse);
  field("ort", p.ortLand);
  field("land", p.laendercode);
  key("betrag");
  text += '"';
  AppendAmount(text, p.betrag);
  text += '"';
  key("waehrung");
  AppendJsonString(text, p.waehrung);
  if (const std::span<const std::string> lines = PurposeLines(p); !lines.empty()) {
    key("verwendungszweck");
    text += '[';
    for (std::size_t i = 0; i < lines.size(); ++i) {
      text += i == 0 ? "\n        " : ",\n        ";
      AppendJsonString(text, lines[i]);
    }
    text += "\n      ]";
  }
  if (const auto date = OwnDate(p, file)) {
    key("datum");
    text += '"';
    AppendIsoDate(text, *date);
    text += '"';
  }
  field("notiz", p.notizIntern);
  field("ansprechpartner", p.ansprechpartner);
  text += "\n    }";
}

json Head(const std::string& path, const zor::DtazvHeader& h,
          const std::optional<DtazvFileSettings>& file, const zor::DtazvTrailer& trailer) {
  json client = {{"name", h.name1}};
  if (!h.name2.empty()) client["name2"] = h.name2;
  if (!h.strasse.empty()) client["strasse"] = h.strasse;
  if (!h.ort.empty()) client["ort"] = h.ort;
  client["blz"] = h.blz;
  client["konto"] = h.konto;
  json head = {{"art", "dtazv"}, {"datei", path}, {"auftraggeber", std::move(client)}};
  if (file) head["waehrung"] = file->kontoWaehrung;
  head["bundeslandschluessel"] = h.bundeslandschluessel;
  head["firmennummer"] = h.firmennummer;
  if (file) head["zahlungsart"] = file->zahlungsart;
  head["laufende_nummer"] = h.lfdNummer;
  if (h.ausfuehrungsdatum) head["ausfuehrungsdatum"] = FormatIsoDate(*h.ausfuehrungsdatum);
  head["erstellt"] = FormatIsoDate(h.erstellungsdatum);
  head["summen"] = {{"anzahl", trailer.stated.anzahl},
                    {"betrag_vor_komma", trailer.stated.summeVorKomma}};
  head["buchungen"] = json::array();
  return head;
}

}  // namespace

DtazvFileSettings DtazvFileSettings::Of(const zor::DtazvHeader& header,
                                        const zor::DtazvPayment& first) {
  return {header.blz, header.konto, first.kontoWaehrung, first.zahlungsArtSchluessel,
          header.ausfuehrungsdatum};
}

std::vector<const char*> DtazvExtraKeys(const zor::DtazvPayment& p,
                                        std::span<const zor::DtazvReport> reports,
                                        const DtazvFileSettings& file) {
  std::vector<const char*> keys;
  if (OwnAccount(p, file)) keys.push_back("auftraggeber");
  if (p.zahlungsArtSchluessel != file.zahlungsart) keys.push_back("zahlungsart");
  if (AnyNonZero(p.weisungsschluessel)) keys.push_back("weisungsschluessel");
  if (!p.weisungszusatz.empty()) keys.push_back("weisungszusatz");
  if (p.entgeltregelung != 0) keys.push_back("entgeltregelung");
  if (ChargesAccount(p)) keys.push_back("entgeltkonto");
  if (BankByAddress(p)) keys.push_back("bank");
  if (!reports.empty()) keys.push_back("meldungen");
  return keys;
}

std::string DtazvExtrasInWords(const std::vector<const char*>& keys) {
  std::string text;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const std::string_view key = keys[i];
    const auto* words = std::find_if(std::begin(kExtraWords), std::end(kExtraWords),
                                     [key](const ExtraWords& w) { return key == w.key; });
    text += i == 0 ? "" : i + 1 == keys.size() ? " und " : ", ";
    text += std::string(words->words) + " („" + words->key + "“)";
  }
  return text;
}

void DtazvJsonListing::Add(const zor::DtazvPayment& payment,
                           std::span<const zor::DtazvReport> reports,
                           const DtazvFileSettings& file) {
  std::string& text = fSpool.Text();
  text += fCount++ == 0 ? "\n    " : ",\n    ";
  if (DtazvExtraKeys(payment, reports, file).empty()) {
    AppendPlainPayment(text, payment, file);
  } else {
    for (const char c : PaymentObject(payment, reports, file).dump(2, ' ', false)) {
      text += c;
      if (c == '\n') text += "    ";
    }
  }
  fSpool.Ready();
}

void DtazvJsonListing::Print(std::ostream& out, const std::string& path,
                             const zor::DtazvHeader& header,
                             const std::optional<DtazvFileSettings>& file,
                             const zor::DtazvTrailer& trailer) {
  ListingBuffer buffer(out);
  // The head's dump, cut before its empty list of payments.
  std::string& text = buffer.Text();
  text = Head(path, header, file, trailer).dump(2, ' ', false);
  constexpr std::string_view kEmptyListAndEnd = "[]\n}";
  text.resize(text.size() - kEmptyListAndEnd.size());
  text += '[';
  fSpool.Replay(SpoolInto(buffer), 0, false);
  buffer.Text() += fCount == 0 ? "]\n}\n" : "\n  ]\n}\n";
  buffer.Flush();
}

DtazvCsvListing::DtazvCsvListing() {
  fSpool.Text() =
      "bic,iban,name,name2,strasse,ort,land,betrag,waehrung,verwendungszweck1,"
      "verwendungszweck2,verwendungszweck3,verwendungszweck4,datum,notiz,ansprechpartner\r\n";
}

void DtazvCsvListing::Add(const zor::DtazvPayment& p, const DtazvFileSettings& file) {
  std::string& text = fSpool.Text();
  for (const std::string* cell :
       {&p.bic, &p.iban, &p.name1, &p.name2, &p.strasse, &p.ortLand, &p.laendercode}) {
    AppendCsvCell(text, *cell);
    text += ',';
  }
  AppendAmount(text, p.betrag);
  text += ',';
  text += p.waehrung;
  for (const std::string& line : p.verwendungszweck) {
    text += ',';
    AppendCsvCell(text, line);
  }
  text += ',';
  // Without settings, each row names its date, also the file's.
  const auto date = p.ausfuehrungsdatum ? p.ausfuehrungsdatum : file.ausfuehrungsdatum;
  if (date) AppendIsoDate(text, *date);
  text += ',';
  AppendCsvCell(text, p.notizIntern);
  text += ',';
  AppendCsvCell(text, p.ansprechpartner);
  text += "\r\n";
  fSpool.Ready();
}

void DtazvCsvListing::Print(std::ostream& out) {
  ListingBuffer buffer(out);
  fSpool.Replay(SpoolInto(buffer), 0, false);
  buffer.Flush();
}

}  // namespace zcli
