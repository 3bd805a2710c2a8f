// zordta sepa write, run as a user runs it; what it writes is read back by an
// independent parser, which also checks the file against its schema.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "CliRunner.h"
#include "SepaReadBack.h"

namespace {

using clitest::Example;
using clitest::IsoDateFromToday;
using clitest::ReadBackProblems;
using clitest::Workspace;
using nlohmann::json;

const std::vector<std::string> kClient = {
    "--name", "Muster GmbH", "--iban", "DE89 3704 0044 0532 0130 00", "--bic", "COBADEFFXXX"};

std::vector<std::string> Args(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

json Transfer(const std::string& name, const std::string& iban, const std::string& bic,
              const std::string& amount, const std::string& endToEnd, const std::string& remittance,
              const std::string& date) {
  json t = {{"version", "pain.001.001.09"},
            {"payment_info_id", "UEB-1-1"},
            {"initiator_name", "Muster GmbH"},
            {"own_iban", "DE89370400440532013000"},
            {"own_bic", "COBADEFFXXX"},
            {"party_name", name},
            {"party_iban", iban},
            {"amount", amount},
            {"currency", "EUR"},
            {"execution_date", date},
            {"end_to_end_id", endToEnd},
            {"remittance", remittance}};
  if (!bic.empty()) t["party_bic"] = bic;
  return t;
}

TEST(SepaWrite, TransfersOfTheExampleAreReadBackAsMeant) {
  Workspace ws;
  const std::string date = IsoDateFromToday(2);
  const auto r = ws.Run(Args({"sepa", "write", "--csv", Example("cli/sepa-ueberweisungen.csv"),
                              "--nachricht-id", "UEB-1", "--ausfuehrung", date},
                             kClient));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "./sepa-ueberweisungen.xml: 3 Überweisungen, Summe 1334,57 EUR\n");
  const json expected = {Transfer("Jürgen Weiß", "DE02120300000000202051", "BYLADEM1001", "120.00",
                                  "RE-2026-0042", "Rechnung 2026-0042", date),
                         Transfer("Anna Schmidt", "DE02500105170137075030", "", "14.07",
                                  "NOTPROVIDED", "Erstattung Auslagen November", date),
                         Transfer("Muster Getränke GmbH", "DE12500105170648489890", "INGDDEFFXXX",
                                  "1200.50", "RE-2026-0043", "Bandenwerbung Dezember", date)};
  EXPECT_EQ(ReadBackProblems(ws, "sepa-ueberweisungen.xml", expected), "");
}

// The input's order is not the file's: the payments are written group by group
// (date, then sequence type), each group with its own control sum.
TEST(SepaWrite, DebitsOfAJobAreWrittenGroupByGroup) {
  Workspace ws;
  const std::string early = IsoDateFromToday(3);
  const std::string late = IsoDateFromToday(5);
  const json job = {
      {"auftraggeber", {{"name", "Sportverein Muster e.V."}, {"iban", "DE89370400440532013000"}}},
      {"glaeubiger_id", "DE98ZZZ09999999999"},
      {"nachricht_id", "LS-7"},
      {"version", "alt"},
      {"ausfuehrungsdatum", late},
      {"buchungen",
       {{{"name", "Anna Schmidt"},
         {"iban", "DE02500105170137075030"},
         {"betrag", "14.07"},
         {"verwendungszweck", {"Beitrag", "Dezember"}},
         {"mandat_id", "M-43"},
         {"mandat_datum", "31.01.2025"},
         {"sequenz", "rcur"}},
        {{"name", "Jürgen Weiß"},
         {"iban", "DE02120300000000202051"},
         {"bic", "BYLADEM1001"},
         {"betrag", "120"},
         {"verwendungszweck", "Aufnahme"},
         {"ende_zu_ende_id", "AUF-42"},
         {"mandat_id", "M-42"},
         {"mandat_datum", "2026-11-02"},
         {"sequenz", "FRST"},
         {"datum", early}},
        {{"name", "Olaf Berg"},
         {"iban", "DE12500105170648489890"},
         {"betrag", "5,50"},
         {"zweck", "insu"},
         {"mandat_id", "M-44"},
         {"mandat_datum", "2024-06-30"},
         {"sequenz", "FRST"}}}}};
  ws.Write("job.json", job.dump());
  const auto r = ws.Run({"sepa", "write", "--job", "job.json", "--lastschriften"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "./sepa-lastschriften.xml: 3 Lastschriften, Summe 139,57 EUR\n");

  const auto debit = [](const std::string& group, const std::string& date, const std::string& name,
                        const std::string& iban, const std::string& amount,
                        const std::string& mandate, const std::string& signedOn,
                        const std::string& sequence) {
    return json{{"version", "pain.008.003.02"},
                {"payment_info_id", "LS-7-" + group},
                {"initiator_name", "Sportverein Muster e.V."},
                {"own_iban", "DE89370400440532013000"},
                {"party_name", name},
                {"party_iban", iban},
                {"amount", amount},
                {"currency", "EUR"},
                {"collection_date", date},
                {"end_to_end_id", "NOTPROVIDED"},
                {"mandate_id", mandate},
                {"mandate_signed", signedOn},
                {"sequence_type", sequence},
                {"creditor_id", "DE98ZZZ09999999999"},
                {"local_instrument", "CORE"}};
  };
  json first = debit("1", early, "Jürgen Weiß", "DE02120300000000202051", "120.00", "M-42",
                     "2026-11-02", "FRST");
  first["party_bic"] = "BYLADEM1001";
  first["end_to_end_id"] = "AUF-42";
  first["remittance"] = "Aufnahme";
  json second =
      debit("2", late, "Olaf Berg", "DE12500105170648489890", "5.50", "M-44", "2024-06-30", "FRST");
  second["purpose_code"] = "INSU";
  json third = debit("3", late, "Anna Schmidt", "DE02500105170137075030", "14.07", "M-43",
                     "2025-01-31", "RCUR");
  third["remittance"] = "Beitrag Dezember";
  EXPECT_EQ(ReadBackProblems(ws, "sepa-lastschriften.xml", {first, second, third}), "");
}

TEST(SepaWrite, EveryFaultOfEveryRowIsNamedAndNothingIsWritten) {
  Workspace ws;
  ws.Write("bad.csv",
           "name,iban,bic,betrag,datum,mandat_id,mandat_datum,sequenz,zweck\n"
           ",DE02120300000000202052,BYLADEM,0,2020-01-01,M-1,2025-01-01,FRST,\n"
           "Anna,DE02500105170137075030,,abc,morgen,,,XXXX,SAL\n"
           "Olaf,DE02500105170137075030,,1.00,,M-3,2025-01-01,OOFF,sala\n");
  const auto r = ws.Run({"sepa", "write", "--csv", "bad.csv", "--lastschriften", "--name", "Verein",
                         "--iban", "DE89370400440532013001"});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  for (const std::string fault :
       {"Auftraggeber, Feld --iban: Die Prüfziffern", "Auftraggeber, Feld glaeubiger_id:",
        "Zeile 2, Feld name:", "Zeile 2, Feld iban:", "Zeile 2, Feld bic:", "Zeile 2, Feld betrag:",
        "Zeile 2, Feld datum: Das Datum 2020-01-01 liegt vor heute.",
        "Zeile 3, Feld betrag:", "Zeile 3, Feld datum:", "Zeile 3, Feld mandat_id:",
        "Zeile 3, Feld mandat_datum:", "Zeile 3, Feld sequenz: „XXXX“ ist keine Sequenz",
        "Zeile 3, Feld zweck: „SAL“ ist kein Zweck"}) {
    EXPECT_NE(r.err.find("bad.csv: " + fault), std::string::npos) << fault << "\n" << r.err;
  }
  EXPECT_EQ(r.err.find("Zeile 4"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Nichts geschrieben: 13 Fehler."), std::string::npos) << r.err;
  EXPECT_FALSE(ws.Exists("sepa-lastschriften.xml"));
}

// The bank refuses what the schemes do not reach: never "written" without a word.
TEST(SepaWrite, AccountsAndReferencesTheBankWouldRefuseAreNamed) {
  Workspace ws;
  ws.Write("welt.csv",
           "name,iban,bic,betrag,ende_zu_ende_id\n"
           "Ali,TR330006100519786457841326,,1.00,\n"
           "Bia,BR1800360305000010009795493C1,,1.00,\n"
           "Sam,SA0380000000608010167519,,1.00,\n"
           "Urs,CH9300762011623852957,,1.00,\n"
           "Jon,GB29NWBK60161331926819,NWBKGB2L,1.00,R//1\n"
           "Eva,AT611904300234573201,,1.00,R/1\n");
  const auto r = ws.Run({"sepa", "write", "--csv", "welt.csv", "--name", "Zor GmbH", "--iban",
                         "DE89370400440532013000", "--dry-run"});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  for (const std::string fault :
       {"Zeile 2, Feld iban: Die IBAN \"TR330006100519786457841326\" ist aus TR, einem Land "
        "außerhalb des SEPA-Raums",
        "Zeile 3, Feld iban: Die IBAN \"BR1800360305000010009795493C1\" ist aus BR",
        "Zeile 4, Feld iban: Die IBAN \"SA0380000000608010167519\" ist aus SA",
        "Zeile 5, Feld bic: Die IBAN \"CH9300762011623852957\" ist aus CH, einem SEPA-Land "
        "außerhalb des EWR; dafür ist die BIC nötig.",
        "Zeile 6, Feld anschrift: Die IBAN \"GB29NWBK60161331926819\" ist aus GB, einem "
        "SEPA-Land außerhalb des EWR; dafür ist die Anschrift mit Ort und Land nötig.",
        "Zeile 6, Feld ende_zu_ende_id: Die Referenz \"R//1\" beginnt oder endet mit"}) {
    EXPECT_NE(r.err.find("welt.csv: " + fault), std::string::npos) << fault << "\n" << r.err;
  }
  EXPECT_NE(r.err.find("Nichts geschrieben: 7 Fehler."), std::string::npos) << r.err;
}

TEST(SepaWrite, DryRunWritesNothingAndAFileIsReplacedOnlyWithOverwrite) {
  Workspace ws;
  const auto args =
      Args({"sepa", "write", "--csv", Example("cli/sepa-ueberweisungen.csv")}, kClient);
  const auto dry = ws.Run(Args(args, {"--dry-run"}));
  ASSERT_EQ(dry.exitCode, 0) << dry.err;
  EXPECT_EQ(dry.out, "Geprüft: 3 Überweisungen ohne Fehler; nichts geschrieben.\n");
  EXPECT_FALSE(ws.Exists("sepa-ueberweisungen.xml"));
  EXPECT_TRUE(std::filesystem::is_empty(ws.path())) << "no temporary file left";

  ws.Write("sepa-ueberweisungen.xml", "older file");
  const auto kept = ws.Run(args);
  EXPECT_EQ(kept.exitCode, 1);
  EXPECT_NE(kept.err.find("--overwrite"), std::string::npos) << kept.err;
  EXPECT_EQ(ws.Read("sepa-ueberweisungen.xml"), "older file");

  const auto replaced = ws.Run(Args(args, {"--overwrite"}));
  ASSERT_EQ(replaced.exitCode, 0) << replaced.err;
  EXPECT_NE(ws.Read("sepa-ueberweisungen.xml").find("<NbOfTxs>3</NbOfTxs>"), std::string::npos);
}

TEST(SepaWrite, ChangedTextIsAWarningAndWithStrengAFault) {
  Workspace ws;
  ws.Write("u.csv", "name,iban,betrag,verwendungszweck\nRenée,DE02500105170137075030,1.00,x\n");
  const auto args = Args({"sepa", "write", "--csv", "u.csv"}, kClient);
  const auto strict = ws.Run(Args(args, {"--streng"}));
  EXPECT_EQ(strict.exitCode, 1);
  EXPECT_NE(strict.err.find("u.csv: Zeile 2, Feld name:"), std::string::npos) << strict.err;
  EXPECT_FALSE(ws.Exists("sepa-ueberweisungen.xml"));

  const auto lenient = ws.Run(args);
  ASSERT_EQ(lenient.exitCode, 0) << lenient.err;
  EXPECT_NE(lenient.err.find("Warnung: u.csv: Zeile 2, Feld name:"), std::string::npos)
      << lenient.err;
  EXPECT_NE(ws.Read("sepa-ueberweisungen.xml").find("<Nm>Renee</Nm>"), std::string::npos);
}

// Every character the banks' set lacks, in every field, not only the first of a row.
TEST(SepaWrite, EveryCharacterWithoutCounterpartIsNamedInEveryField) {
  Workspace ws;
  ws.Write("u.csv",
           "name,iban,betrag,verwendungszweck\n"
           "R@n~é,DE02500105170137075030,1.00,x@y~z@\n");
  const auto strict = ws.Run(Args({"sepa", "write", "--csv", "u.csv", "--streng"}, kClient));
  EXPECT_EQ(strict.exitCode, 1);
  for (const std::string fault :
       {"u.csv: Zeile 2, Feld name: Die Zeichen \"@\", \"~\" haben keine Entsprechung im "
        "Zeichensatz der Banken. Der Text enthält Zeichen außerhalb des Zeichensatzes der "
        "Banken: é\n",
        "u.csv: Zeile 2, Feld verwendungszweck: Die Zeichen \"@\", \"~\" haben keine "
        "Entsprechung im Zeichensatz der Banken.\n"}) {
    EXPECT_NE(strict.err.find(fault), std::string::npos) << fault << "\n" << strict.err;
  }
  EXPECT_NE(strict.err.find("Nichts geschrieben: 2 Fehler."), std::string::npos) << strict.err;
}

TEST(SepaWrite, ContradictingOrMisplacedSettingsAreRefusedNamingThem) {
  Workspace ws;
  ws.Write("ueberweisungen.json", R"({"lastschriften": false, "version": "aktuell",
    "buchungen": [{"name": "B", "iban": "DE02500105170137075030", "betrag": 1}]})");
  ws.Write("sammel.json", R"({"sammelbuchung": true,
    "buchungen": [{"name": "B", "iban": "DE02500105170137075030", "betrag": 1}]})");
  ws.Write("core.json", R"({"lastschriften": true, "lastart": "core",
    "glaeubiger_id": "DE98ZZZ09999999999", "buchungen": []})");
  const auto csv = Example("cli/sepa-ueberweisungen.csv");
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"--job", "ueberweisungen.json", "--lastschriften"},
       "Widersprüchliche Angaben: --lastschriften bedeutet Lastschriften (pain.008), "
       "„lastschriften“: false im Auftrag bedeutet Überweisungen (pain.001)."},
      {{"--job", "ueberweisungen.json", "--version-alt"},
       "Widersprüchliche Angaben: --version-alt bedeutet die ältere Fassung"},
      {{"--job", "core.json", "--b2b"},
       "--b2b bedeutet Firmenlastschriften (B2B), „lastart“: core im Auftrag bedeutet "
       "Basislastschriften (CORE)."},
      {{"--job", "sammel.json", "--einzelbuchung"},
       "--einzelbuchung bedeutet eine Buchung je Zahlung, „sammelbuchung“: true im Auftrag "
       "bedeutet eine Sammelbuchung je Zahlungsblock."},
      {{"--csv", csv, "--b2b"}, "Fehler: --b2b gibt es nur bei Lastschriften (--lastschriften)"},
      {{"--csv", csv, "--glaeubiger-id", "DE98ZZZ09999999999"},
       "Fehler: --glaeubiger-id gibt es nur bei Lastschriften"},
  };
  for (const auto& c : cases) {
    const auto r = ws.Run(Args(Args({"sepa", "write", "--dateiname", "x.xml"}, c.args), kClient));
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.message << "\n" << r.err;
    EXPECT_FALSE(ws.Exists("x.xml"));
  }
}

// Booking each payment on its own is said in every block, read back, and
// written again from what was read.
TEST(SepaWrite, SingleBookingIsWrittenReadAndWrittenAgain) {
  Workspace ws;
  const auto first = ws.Run(Args({"sepa", "write", "--csv", Example("cli/sepa-ueberweisungen.csv"),
                                  "--einzelbuchung", "--dateiname", "einzeln.xml"},
                                 kClient));
  ASSERT_EQ(first.exitCode, 0) << first.err;
  const std::string xml = ws.Read("einzeln.xml");
  EXPECT_NE(xml.find("</PmtMtd>\n      <BtchBookg>false</BtchBookg>"), std::string::npos)
      << xml.substr(0, 800);
  const auto read = ws.Run({"sepa", "read", "einzeln.xml"});
  ASSERT_EQ(read.exitCode, 0) << read.err;
  EXPECT_EQ(json::parse(read.out).at("sammelbuchung"), false);
  ws.Write("gelesen.json", read.out);
  const auto again =
      ws.Run({"sepa", "write", "--job", "gelesen.json", "--dateiname", "wieder.xml"});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_NE(ws.Read("wieder.xml").find("<BtchBookg>false</BtchBookg>"), std::string::npos);
}

// The document is written in a pass over the file per execution date; a file
// changed in between is refused, never written half old and half new.
TEST(SepaWrite, ACsvFileThatChangesWhileItIsWrittenIsRefused) {
  Workspace ws;
  {
    std::ofstream csv(ws / "gross.csv");
    csv << "name,iban,betrag,datum,verwendungszweck\n";
    for (int i = 0; i < 20000; ++i) {
      csv << "Empfaenger " << i << ",DE02500105170137075030,1.00," << IsoDateFromToday(1 + i % 8)
          << ",Rechnung " << i << "\n";
    }
  }
  const pid_t writer = ws.Start(Args({"sepa", "write", "--csv", "gross.csv"}, kClient));
  // The staged document appears once every payment is checked, before it is written.
  const auto staged = [&ws] {
    for (const auto& entry : std::filesystem::directory_iterator(ws.path())) {
      if (entry.path().extension() == ".tmp") return true;
    }
    return false;
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (!staged() && !ws.Exists("sepa-ueberweisungen.xml") &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  std::ofstream(ws / "gross.csv", std::ios::app)
      << "Nachzuegler,DE02500105170137075030,1.00,,Rechnung\n";
  EXPECT_EQ(clitest::Wait(writer), 1);
  EXPECT_FALSE(ws.Exists("sepa-ueberweisungen.xml"));
  EXPECT_FALSE(staged()) << "no temporary file left";
}

}  // namespace
