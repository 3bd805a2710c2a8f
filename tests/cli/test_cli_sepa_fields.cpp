// What a SEPA file carries beyond accounts and references (addresses,
// identifications, ultimate parties, creditor references, mandate amendments,
// INST, block ids) goes through a job, "sepa write" and "sepa read" unchanged,
// and a fault in it is named at the job's key.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "CliRunner.h"
#include "SepaReadBack.h"

namespace {

using clitest::Example;
using clitest::IsoDateFromToday;
using clitest::ReadBackProblems;
using clitest::Workspace;
using nlohmann::json;

// What the peer reads of a debit of examples/cli/sepa-alles.json.
json Debit(const std::string& block, const std::string& name, const std::string& iban,
           const std::string& amount, const std::string& mandate, const std::string& signedOn) {
  return {{"version", "pain.008.001.08"},
          {"payment_info_id", block},
          {"initiator_name", "Rechenzentrum Nord eG"},
          {"own_iban", "DE89370400440532013000"},
          {"own_bic", "COBADEFFXXX"},
          {"party_name", name},
          {"party_iban", iban},
          {"amount", amount},
          {"currency", "EUR"},
          {"collection_date", IsoDateFromToday(0)},
          {"end_to_end_id", "NOTPROVIDED"},
          {"mandate_id", mandate},
          {"mandate_signed", signedOn},
          {"sequence_type", "FRST"},
          {"creditor_id", "DE98ZZZ09999999999"},
          {"local_instrument", "CORE"}};
}

TEST(SepaFields, AJobWithEveryElementIsWrittenValidAndReadBackTheSame) {
  Workspace ws;
  ASSERT_EQ(
      ws.Run({"sepa", "write", "--job", Example("cli/sepa-alles.json"), "--dateiname", "a.xml"})
          .exitCode,
      0);
  json beat = Debit("STW-ALLES-1-1", "Beat Zürcher", "CH7809000000012345678", "45.25",
                    "MANDAT-0004", "2025-06-02");
  beat["party_bic"] = "POFICHBEXXX";
  beat["remittance"] = "Ferienwohnung Strom";
  json hans = Debit("STW-ALLES-1-ERST", "Hans Müller", "DE77100100100123456789", "84.00",
                    "MANDAT-0001", "2024-05-17");
  hans["party_bic"] = "PBNKDEFFXXX";
  hans["end_to_end_id"] = "STROM-0001";
  hans["remittance"] = "";
  hans["purpose_code"] = "ELEC";
  json anna = Debit("STW-ALLES-1-ERST", "Anna Schäfer", "DE48430609674011223300", "61.50",
                    "MANDAT-0002", "2025-01-08");
  anna["remittance"] = "Abschlag Gas";
  json olaf = Debit("STW-ALLES-1-3", "Olaf Berg", "DE12500105170648489890", "19.90", "MANDAT-0005",
                    "2023-02-01");
  olaf["remittance"] = "Wasser Quartal";
  olaf["sequence_type"] = "RCUR";
  EXPECT_EQ(ReadBackProblems(ws, "a.xml", {beat, hans, anna, olaf}), "");

  const auto first = ws.Run({"sepa", "read", "a.xml"});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  const json read = json::parse(first.out);
  EXPECT_EQ(read["auftraggeber"]["anschrift"]["abteilung"], "Forderungsmanagement");
  EXPECT_EQ(read["einreicher_kennung"]["schema_name"], "KUNDENNUMMER");
  EXPECT_EQ(read["endempfaenger"]["anschrift"]["adresszeilen"], json({"Hallenbad Nord"}));
  const json& hansRead = read["buchungen"][1];
  EXPECT_EQ(hansRead["anschrift"]["ortsteil"], "Nordstadt");
  EXPECT_EQ(hansRead["endzahler"]["kennung"]["id"], "VN-0042");
  EXPECT_EQ(hansRead["mandatsaenderung"]["alte_mandat_id"], "ALT-MANDAT-0001");
  EXPECT_EQ(hansRead["zahlungsinfo_id"], "STW-ALLES-1-ERST");
  EXPECT_EQ(read["buchungen"][2]["endzahler"], "Jonas Schäfer");
  EXPECT_EQ(read["buchungen"][3]["mandatsaenderung"], json({{"geaendert", false}}));

  clitest::ExpectWrittenAgainTheSame(ws, first.out, "b.xml");
}

// The five address columns, the creditor reference, the ultimate parties'
// names and the category go through a table both ways; what a table cannot
// hold is named.
TEST(SepaFields, CsvCarriesTheAddressColumnsAndNamesWhatOnlyJsonHolds) {
  Workspace ws;
  const std::string date = IsoDateFromToday(2);
  ws.Write("in.csv",
           "name,iban,bic,betrag,straße,hausnummer,plz,ort,land,gläubigerreferenz,endempfänger,"
           "endzahler,kategorie\n"
           "Urs Meier,CH9300762011623852957,POFICHBEXXX,10.00,Laupenstrasse,18,3008,Bern,ch,"
           "RF18539007547034,Meier Holding AG,Muster Service GmbH,supp\n");
  ASSERT_EQ(ws.Run({"sepa", "write", "--csv", "in.csv", "--name", "Muster GmbH", "--iban",
                    "DE89370400440532013000", "--ausfuehrung", date})
                .exitCode,
            0);
  const auto csv = ws.Run({"sepa", "read", "--format", "csv", "sepa-ueberweisungen.xml"});
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_EQ(csv.out.substr(csv.out.find("\r\n") + 2),
            "Urs Meier,CH9300762011623852957,POFICHBEXXX,10.00,,,," + date +
                ",Laupenstrasse,18,3008,Bern,CH,RF18539007547034,Meier Holding AG,Muster Service "
                "GmbH,SUPP\r\n");
  EXPECT_EQ(csv.err.find("Hinweis"), std::string::npos) << csv.err;

  const json job = {{"auftraggeber", {{"name", "Muster GmbH"}, {"iban", "DE89370400440532013000"}}},
                    {"buchungen",
                     {{{"name", "Anna"},
                       {"iban", "DE02500105170137075030"},
                       {"betrag", "1"},
                       {"kennung", {{"art", "BIC"}, {"id", "cobadeffxxx"}}},
                       {"uetr", "E8F3A1C2-5B7D-4E9A-9C3F-2D1B0A6E4F87"}}}}};
  ws.Write("job.json", job.dump());
  ASSERT_EQ(ws.Run({"sepa", "write", "--job", "job.json", "--dateiname", "k.xml"}).exitCode, 0);
  const auto noted = ws.Run({"sepa", "read", "--format", "csv", "k.xml"});
  EXPECT_NE(noted.err.find("Hinweis: k.xml: Nur die JSON-Ausgabe (--format json) enthält auch: "
                           "kennung, uetr."),
            std::string::npos)
      << noted.err;
}

TEST(SepaFields, SettingsOfTheOtherKindOrAgainstAnOptionAreRefusedNamingBoth) {
  Workspace ws;
  const json client = {{"name", "Muster GmbH"}, {"iban", "DE89370400440532013000"}};
  const json booking = {{"name", "Anna"}, {"iban", "DE02500105170137075030"}, {"betrag", "1"}};
  ws.Write("slow.json",
           json{{"auftraggeber", client}, {"echtzeit", false}, {"buchungen", {booking}}}.dump());
  const auto instant = ws.Run({"sepa", "write", "--job", "slow.json", "--echtzeit"});
  EXPECT_EQ(instant.exitCode, 2);
  EXPECT_NE(instant.err.find("--echtzeit bedeutet Echtzeitüberweisungen (INST), „echtzeit“: "
                             "false im Auftrag bedeutet Überweisungen ohne Echtzeit"),
            std::string::npos)
      << instant.err;

  ws.Write(
      "payee.json",
      json{{"auftraggeber", client}, {"endempfaenger", "X AG"}, {"buchungen", {booking}}}.dump());
  const auto payee = ws.Run({"sepa", "write", "--job", "payee.json"});
  EXPECT_EQ(payee.exitCode, 2);
  EXPECT_NE(payee.err.find("„endempfaenger.name“: X AG im Auftrag gibt es nur bei Lastschriften"),
            std::string::npos)
      << payee.err;
}

TEST(SepaFields, RefusalsAreNamedAtTheJobsKeys) {
  Workspace ws;
  const json job = {
      {"lastschriften", true},
      {"auftraggeber",
       {{"name", "Muster GmbH"},
        {"iban", "DE89370400440532013000"},
        {"anschrift", {{"ort", "Köln"}, {"land", "XY"}}}}},
      {"endempfaenger", {{"name", "X"}, {"kennung", {{"art", "lei"}, {"id", "123"}}}}},
      {"buchungen",
       {{{"name", "Anna"},
         {"iban", "DE02500105170137075030"},
         {"betrag", "1"},
         {"mandat_id", "M-1"},
         {"mandat_datum", "2025-01-01"},
         {"sequenz", "RCUR"},
         {"anschrift", {{"strasse", "Weg 1"}, {"land", "DE"}}},
         {"uetr", "kein-uuid"},
         {"glaeubigerreferenz", "RF00RECHNUNG"},
         {"mandatsaenderung", {{"alte_glaeubiger_id", "DE00ZZZ1"}}}},
        {{"name", "Berta"},
         {"iban", "DE02120300000000202051"},
         {"betrag", "2"},
         {"mandat_id", "M-2"},
         {"mandat_datum", "2025-01-01"},
         {"sequenz", "RCUR"},
         {"kennung", {{"art", "firma"}, {"id", "1"}}}}}}};
  ws.Write("job.json", job.dump());
  const auto r = ws.Run({"sepa", "write", "--job", "job.json", "--dry-run"});
  EXPECT_EQ(r.exitCode, 1);
  for (const char* field :
       {"Auftraggeber, Feld auftraggeber.anschrift.land:",
        "Auftraggeber, Feld endempfaenger.kennung:", "Buchung 1, Feld anschrift.ort:",
        "Buchung 2, Feld kennung.art: „firma“ ist nicht bic, lei, "
        "organisation oder person.",
        "Buchung 1, Feld uetr:", "Buchung 1, Feld glaeubigerreferenz:",
        "Buchung 1, Feld mandatsaenderung.alte_glaeubiger_id:"}) {
    EXPECT_NE(r.err.find(field), std::string::npos) << field << "\n" << r.err;
  }
  // Two debits without a creditor identifier: one fault, at the settings.
  const std::string missing =
      "Auftraggeber, Feld glaeubiger_id: Die Gläubiger-Identifikationsnummer fehlt";
  EXPECT_NE(r.err.find(missing), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(missing), r.err.rfind(missing)) << r.err;
}

}  // namespace

namespace {

// Further accounts take the settings of a block only, and a booking names one
// that is there.
TEST(SepaFields, FurtherAccountsTakeBlockSettingsAndBookingsNameOneThatIsThere) {
  Workspace ws;
  const json payment = {{"name", "Anna"}, {"iban", "DE12500105170648489890"}, {"betrag", "1"}};
  json job = {{"auftraggeber", {{"name", "Muster GmbH"}, {"iban", "DE89370400440532013000"}}},
              {"weitere_konten",
               {{{"auftraggeber",
                  {{"name", "Muster Service"},
                   {"iban", "DE02100100100006820101"},
                   {"anschrift", {{"ort", "Köln"}}}}},
                 {"sammelbuchung", false},
                 {"version", "alt"}}}},
              {"buchungen", {payment, payment, payment, payment}}};
  job["buchungen"][1]["konto"] = 1;
  job["buchungen"][2]["konto"] = 2;
  job["buchungen"][3]["konto"] = "zwei";
  ws.Write("job.json", job.dump());
  const auto r = ws.Run({"sepa", "write", "--job", "job.json", "--dry-run"});
  EXPECT_EQ(r.exitCode, 1);
  for (const char* fault :
       {"Auftrag, weitere_konten[1], Feld version: Gilt für die ganze Datei",
        "Auftraggeber, weitere_konten[1], Feld auftraggeber.anschrift.land: Zur Anschrift",
        "Buchung 3, Feld konto: Die Zahlung gehört zu den Einstellungen eines weiteren Kontos (2)",
        "Buchung 4, Feld konto: Erwartet wird die Nummer eines weiteren Kontos"}) {
    EXPECT_NE(r.err.find(fault), std::string::npos) << fault << "\n" << r.err;
  }

  job["weitere_konten"][0].erase("version");
  job["weitere_konten"][0]["auftraggeber"].erase("anschrift");
  job["buchungen"] = {job["buchungen"][0], job["buchungen"][1]};
  ws.Write("job.json", job.dump());
  ASSERT_EQ(ws.Run({"sepa", "write", "--job", "job.json", "--dateiname", "z.xml"}).exitCode, 0);
  const auto read = ws.Run({"sepa", "read", "z.xml"});
  ASSERT_EQ(read.exitCode, 0) << read.err;
  const json listed = json::parse(read.out);
  EXPECT_EQ(listed["weitere_konten"][0]["auftraggeber"]["iban"], "DE02100100100006820101");
  EXPECT_EQ(listed["weitere_konten"][0]["sammelbuchung"], false);
  EXPECT_FALSE(listed["buchungen"][0].contains("konto"));
  EXPECT_EQ(listed["buchungen"][1]["konto"], 1);
}

}  // namespace
