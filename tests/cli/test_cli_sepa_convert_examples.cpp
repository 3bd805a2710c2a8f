// The shipped DTAUS examples carried into SEPA: every payment the independent
// parser reads back must be the payment `dtaus read` finds in the DTAUS file,
// field by field, its IBAN made from bank code and account here on our own.
#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "../bankdata/BankCodeLines.h"
#include "CliRunner.h"
#include "SepaReadBack.h"

namespace {

using clitest::Example;
using clitest::ReadBackProblems;
using clitest::Workspace;
using nlohmann::json;

// The banks of the examples, in the short edition without IBAN rules, as
// Debian ships it; method 09 checks no account.
const std::map<std::string, std::string> kBics = {{"37040044", "COBADEFFXXX"},
                                                  {"50010517", "INGDDEFFXXX"},
                                                  {"10070000", "DEUTDEBBXXX"},
                                                  {"70020270", "HYVEDEMMXXX"}};

void WriteBanks(const Workspace& ws) {
  std::string lines;
  for (const auto& [code, bic] : kBics) {
    lines += banktest::Line({.code = code, .bic = bic, .method = "09", .rule = ""});
  }
  ws.Write("blz.txt", lines);
}

// The standard rule: DE, check digits, bank code, account in 10 digits. The
// check digits are 98 less the remainder modulo 97 of the bank code, the
// account and "DE00" in digits (131400).
std::string StandardIban(const json& blz, const json& konto) {
  std::string account = std::to_string(konto.get<long long>());
  account.insert(0, 10 - account.size(), '0');
  const std::string bban = std::to_string(blz.get<long long>()) + account;
  int rest = 0;
  for (const char c : bban + "131400") rest = (rest * 10 + (c - '0')) % 97;
  const int check = 98 - rest;
  return "DE" + std::string(check < 10 ? "0" : "") + std::to_string(check) + bban;
}

std::string Bic(const json& blz) {
  return kBics.at(std::to_string(blz.get<long long>()));
}

std::string Remittance(const json& lines) {
  std::string text;
  for (const json& line : lines) {
    std::string piece = line.get<std::string>();
    piece.erase(piece.find_last_not_of(' ') + 1);
    if (piece.empty()) continue;
    if (!text.empty()) text += ' ';
    text += piece;
  }
  return text;
}

struct Mandate {
  std::string id, signedOn, sequence;
};

// examples/cli/mandate.csv by "blz/konto": blz,konto,mandat_id,mandat_datum,sequenz.
std::map<std::string, Mandate> ShippedMandates() {
  std::ifstream in(Example("cli/mandate.csv"));
  std::map<std::string, Mandate> mandates;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::vector<std::string> cells;
    std::stringstream row(line);
    for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
    mandates[cells.at(0) + "/" + cells.at(1)] = {cells.at(2), cells.at(3), cells.at(4)};
  }
  return mandates;
}

// What the peer must read for each payment of the file `dtaus read` printed,
// in the order of the document: its blocks by sequence type, FRST first.
json Expected(const json& file, const std::string& messageId) {
  const bool debits = file.at("lastschriften").get<bool>();
  const json& client = file.at("auftraggeber");
  const std::string date =
      file.value("ausfuehrungsdatum", file.at("dateidatum").get<std::string>());
  const std::map<std::string, Mandate> mandates =
      debits ? ShippedMandates() : std::map<std::string, Mandate>();
  const std::vector<std::string> sequences =
      debits ? std::vector<std::string>{"FRST", "RCUR", "OOFF", "FNAL"}
             : std::vector<std::string>{""};
  json expected = json::array();
  std::size_t block = 0;
  for (const std::string& sequence : sequences) {
    bool any = false;
    for (const json& p : file.at("buchungen")) {
      const std::string account = std::to_string(p["blz"].get<long long>()) + "/" +
                                  std::to_string(p["konto"].get<long long>());
      if (debits && mandates.at(account).sequence != sequence) continue;
      if (!any) ++block;
      any = true;
      json t = {{"version", debits ? "pain.008.001.08" : "pain.001.001.09"},
                {"payment_info_id", messageId + "-" + std::to_string(block)},
                {"initiator_name", client.at("name")},
                {"own_iban", StandardIban(client.at("blz"), client.at("konto"))},
                {"own_bic", Bic(client.at("blz"))},
                {"party_name", p.at("name")},
                {"party_iban", StandardIban(p.at("blz"), p.at("konto"))},
                {"party_bic", Bic(p.at("blz"))},
                {"amount", p.at("betrag").dump()},
                {"currency", "EUR"},
                {debits ? "collection_date" : "execution_date", date},
                {"end_to_end_id", "NOTPROVIDED"}};
      if (const std::string text = Remittance(p.at("verwendungszweck")); !text.empty()) {
        t["remittance"] = text;
      }
      if (p.at("zahlungsschluessel").get<std::string>().starts_with("53")) {
        t["purpose_code"] = "SALA";
      }
      if (debits) {
        const Mandate& m = mandates.at(account);
        t["mandate_id"] = m.id;
        t["mandate_signed"] = m.signedOn;
        t["sequence_type"] = m.sequence;
        t["creditor_id"] = "DE98ZZZ09999999999";
        t["local_instrument"] = "CORE";
      }
      expected.push_back(std::move(t));
    }
  }
  return expected;
}

// As scripts/run-examples.sh writes and converts them.
TEST(SepaConvertExamples, EveryPaymentReadsBackAsDtausReadFindsIt) {
  Workspace ws;
  WriteBanks(ws);
  const std::vector<std::string> dtaus = {"dtaus",   "write",     "--bankdaten",
                                          "blz.txt", "--no-text", "--no-pdf"};
  const auto write = [&](std::vector<std::string> args) {
    args.insert(args.begin(), dtaus.begin(), dtaus.end());
    const auto r = ws.Run(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
  };
  write({"--job", Example("cli/gehaelter.json").string(), "--ausfuehrung",
         clitest::IsoDateFromToday(2)});
  write({"--csv", Example("cli/ueberweisungen.csv").string(), "--dateiname", "ueberweisungen.dta",
         "--name", "Bäckerei Schönfeld GmbH", "--blz", "37040044", "--konto", "532013000"});
  write({"--csv", Example("cli/lastschriften.csv").string(), "--lastschriften", "--dateiname",
         "lastschriften.dta", "--name", "Sportverein Grün-Weiß e.V.", "--blz", "37040044",
         "--konto", "532013000"});

  const std::vector<std::pair<std::string, std::size_t>> examples = {
      {"ueberweisungen", 3}, {"gehaelter", 3}, {"lastschriften", 4}};
  for (const auto& [name, payments] : examples) {
    SCOPED_TRACE(name);
    const auto read = ws.Run({"dtaus", "read", name + ".dta"});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    const json file = json::parse(read.out);
    ASSERT_EQ(file.at("buchungen").size(), payments);

    std::vector<std::string> convert = {"sepa",           "convert",   name + ".dta",
                                        "--bankdaten",    "blz.txt",   "--standardregel",
                                        "--nachricht-id", "EX-" + name};
    if (name == "lastschriften") {
      for (const std::string& arg :
           {std::string("--mandate"), Example("cli/mandate.csv").string(),
            std::string("--glaeubiger-id"), std::string("DE98ZZZ09999999999")}) {
        convert.push_back(arg);
      }
    }
    const auto converted = ws.Run(convert);
    ASSERT_EQ(converted.exitCode, 0) << converted.err;
    const json expected = Expected(file, "EX-" + name);
    ASSERT_EQ(expected.size(), payments);
    EXPECT_EQ(ReadBackProblems(ws, name + ".xml", expected), "");
  }
}

}  // namespace
