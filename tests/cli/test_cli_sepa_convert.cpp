// zordta sepa convert: DTAUS files written by the tool itself, converted, and
// the documents read back by the independent parser of tests/sepa/peer, which
// also checks each against its schema.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "../bankdata/BankCodeLines.h"
#include "CliRunner.h"
#include "SepaReadBack.h"

namespace {

using banktest::Bank;
using banktest::Line;
using clitest::IsoDateFromToday;
using clitest::ReadBackProblems;
using clitest::Workspace;
using nlohmann::json;

// Commerzbank and ING under the standard rule, HypoVereinsbank with a rule of its own.
void WriteBanks(const Workspace& ws) {
  Bank ing{.code = "50010517", .name = "ING-DiBa", .bic = "INGDDEFFXXX"};
  Bank special{.code = "10020890",
               .name = "UniCredit Bank - HypoVereinsbank",
               .bic = "HYVEDEMM488",
               .rule = "000503"};
  ws.Write("blz.txt", Line(Bank{}) + Line(ing) + Line(special));
}

void WriteDtaus(const Workspace& ws, const std::string& name, const json& job) {
  ws.Write(name + ".json", job.dump());
  const auto r = ws.Run(
      {"dtaus", "write", "--job", name + ".json", "--dateiname", name, "--no-text", "--no-pdf"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
}

bool AnyTemporaryFile(const Workspace& ws) {
  for (const auto& entry : std::filesystem::directory_iterator(ws.path())) {
    if (entry.path().extension() == ".tmp") return true;
  }
  return false;
}

json Payment(const std::string& name, const std::string& blz, const std::string& konto,
             const std::string& betrag) {
  return {{"name", name}, {"blz", blz}, {"konto", konto}, {"betrag", betrag}};
}

// Each logical file its own document; an account of a bank with a rule of its
// own takes its IBAN from the list, the others are made by the standard rule.
TEST(SepaConvert, CreditsOfTwoLogicalFilesBecomeTwoDocuments) {
  Workspace ws;
  WriteBanks(ws);
  const std::string date = IsoDateFromToday(2);
  json anna = Payment("Anna Schmidt", "50010517", "137075030", "14.07");
  anna["verwendungszweck"] = {"Erstattung", "November"};
  json juergen = Payment("Jürgen Weiß", "10020890", "1234567", "120");
  juergen["zahlungsschluessel"] = "53000";
  const json job = {
      {"art", "dtaus"},
      {"dateien",
       {{{"auftraggeber", {{"name", "Muster GmbH"}, {"blz", "37040044"}, {"konto", "532013000"}}},
         {"ausfuehrungsdatum", date},
         {"buchungen", {anna, juergen}}},
        {{"auftraggeber", {{"name", "Stadtkasse"}, {"blz", "50010517"}, {"konto", "648489890"}}},
         {"ausfuehrungsdatum", date},
         {"buchungen", {Payment("Olaf Berg", "37040044", "532013000", "5.50")}}}}}};
  WriteDtaus(ws, "konv.dta", job);
  ws.Write("ibans.csv",
           "blz;konto;iban;bic\n10020890;1234567;DE02120300000000202051;BYLADEM1001\n");

  const auto r = ws.Run({"sepa", "convert", "konv.dta", "--bankdaten", "blz.txt", "--iban-liste",
                         "ibans.csv", "--nachricht-id", "KONV"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "./konv-1.xml: 2 Überweisungen, Summe 134,07 EUR\n"
            "./konv-2.xml: 1 Überweisung, Summe 5,50 EUR\n");
  const auto transfer = [&date](const std::string& block, const std::string& client,
                                const std::string& clientIban, const std::string& clientBic,
                                const std::string& name, const std::string& iban,
                                const std::string& bic, const std::string& amount) {
    return json{{"version", "pain.001.001.09"},
                {"payment_info_id", block},
                {"initiator_name", client},
                {"own_iban", clientIban},
                {"own_bic", clientBic},
                {"party_name", name},
                {"party_iban", iban},
                {"party_bic", bic},
                {"amount", amount},
                {"currency", "EUR"},
                {"execution_date", date},
                {"end_to_end_id", "NOTPROVIDED"}};
  };
  json first = transfer("KONV-1-1", "MUSTER GMBH", "DE89370400440532013000", "COBADEFFXXX",
                        "ANNA SCHMIDT", "DE02500105170137075030", "INGDDEFFXXX", "14.07");
  first["remittance"] = "ERSTATTUNG NOVEMBER";
  json second = transfer("KONV-1-1", "MUSTER GMBH", "DE89370400440532013000", "COBADEFFXXX",
                         "JÜRGEN WEIß", "DE02120300000000202051", "BYLADEM1001", "120.00");
  second["purpose_code"] = "SALA";  // key 53: a salary
  EXPECT_EQ(ReadBackProblems(ws, "konv-1.xml", {first, second}), "");
  const json third = transfer("KONV-2-1", "STADTKASSE", "DE12500105170648489890", "INGDDEFFXXX",
                              "OLAF BERG", "DE89370400440532013000", "COBADEFFXXX", "5.50");
  EXPECT_EQ(ReadBackProblems(ws, "konv-2.xml", json::array({third})), "");
}

// Key 04 (Abbuchungsauftrag) is a B2B debit; each mandate's sequence type
// makes its own block, written in that order, not in the file's.
TEST(SepaConvert, DebitsTakeMandatesFromTheListAndTheSchemeFromTheKey) {
  Workspace ws;
  WriteBanks(ws);
  const std::string date = IsoDateFromToday(3);
  json anna = Payment("Anna Schmidt", "50010517", "137075030", "14.07");
  anna["verwendungszweck"] = {"Beitrag 2027"};
  const json job = {
      {"art", "dtaus"},
      {"lastschriften", true},
      {"abbuchung", true},
      {"auftraggeber", {{"name", "Sportverein"}, {"blz", "37040044"}, {"konto", "532013000"}}},
      {"ausfuehrungsdatum", date},
      {"buchungen", {Payment("Olaf Berg", "50010517", "648489890", "5.50"), anna}}};
  WriteDtaus(ws, "beitraege.dta", job);
  ws.Write("mandate.csv",
           "iban,blz,konto,mandat_id,mandat_datum,sequenz\n"
           "DE12500105170648489890,,,M-44,2024-06-30,RCUR\n"
           ",50010517,137075030,M-43,31.01.2025,FRST\n");

  const auto r = ws.Run({"sepa", "convert", "beitraege.dta", "--bankdaten", "blz.txt", "--mandate",
                         "mandate.csv", "--glaeubiger-id", "DE98ZZZ09999999999", "--version-alt",
                         "--nachricht-id", "LS"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "./beitraege.xml: 2 Lastschriften, Summe 19,57 EUR\n");
  const auto debit = [&date](const std::string& block, const std::string& name,
                             const std::string& iban, const std::string& amount,
                             const std::string& mandate, const std::string& signedOn,
                             const std::string& sequence) {
    return json{{"version", "pain.008.003.02"},
                {"payment_info_id", block},
                {"initiator_name", "SPORTVEREIN"},
                {"own_iban", "DE89370400440532013000"},
                {"own_bic", "COBADEFFXXX"},
                {"party_name", name},
                {"party_iban", iban},
                {"party_bic", "INGDDEFFXXX"},
                {"amount", amount},
                {"currency", "EUR"},
                {"collection_date", date},
                {"end_to_end_id", "NOTPROVIDED"},
                {"mandate_id", mandate},
                {"mandate_signed", signedOn},
                {"sequence_type", sequence},
                {"creditor_id", "DE98ZZZ09999999999"},
                {"local_instrument", "B2B"}};
  };
  json first = debit("LS-1", "ANNA SCHMIDT", "DE02500105170137075030", "14.07", "M-43",
                     "2025-01-31", "FRST");
  first["remittance"] = "BEITRAG 2027";
  const json second =
      debit("LS-2", "OLAF BERG", "DE12500105170648489890", "5.50", "M-44", "2024-06-30", "RCUR");
  EXPECT_EQ(ReadBackProblems(ws, "beitraege.xml", {first, second}), "");
}

TEST(SepaConvert, EveryFaultIsNamedByItsRecordAndNothingIsWritten) {
  Workspace ws;
  WriteBanks(ws);
  const std::string fileDate = IsoDateFromToday(-30);
  json mixed = Payment("Olaf Berg", "50010517", "648489890", "5.50");
  mixed["zahlungsschluessel"] = "05000";
  const json job = {
      {"art", "dtaus"},
      {"lastschriften", true},
      {"abbuchung", true},
      {"auftraggeber", {{"name", "Sportverein"}, {"blz", "37040044"}, {"konto", "532013000"}}},
      {"dateidatum", fileDate},
      {"buchungen",
       {Payment("Anna Schmidt", "10020890", "1234567", "14.07"),
        Payment("Erika Muster", "50010517", "137075030", "1.00"), mixed}}};
  WriteDtaus(ws, "alt.dta", job);
  ws.Write("mandate.csv",
           "blz,konto,mandat_id,mandat_datum,sequenz\n"
           "10020890,1234567,M-1,2025-01-01,OOFF\n"
           "50010517,648489890,M-3,2025-01-01,OOFF\n");

  const auto r = ws.Run({"sepa", "convert", "alt.dta", "--bankdaten", "blz.txt", "--mandate",
                         "mandate.csv", "--glaeubiger-id", "DE98ZZZ09999999999"});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  for (const std::string& fault : {
           "Datensatz 1 (Byte 0), Feld dateidatum: Kein Ausführungsdatum, und das Dateidatum " +
               fileDate + " liegt vor heute; mit --ausfuehrung DATUM",
           std::string("Datensatz 2 (Byte 128), Feld blz: Für die Bankleitzahl 10020890 (UniCredit "
                       "Bank - HypoVereinsbank) gilt die IBAN-Regel 0005, Version 03"),
           std::string("Datensatz 3 (Byte 384), Feld mandat: Kein Mandat für BLZ 50010517, Konto "
                       "137075030 (IBAN DE02500105170137075030) in mandate.csv."),
           std::string("Datensatz 4 (Byte 640), Feld zahlungsschluessel: Schlüssel 05000 "
                       "(Einzugsermächtigung: CORE), die erste Lastschrift der logischen Datei, "
                       "Datensatz 2 (Byte 128), hat Schlüssel 04000"),
       }) {
    EXPECT_NE(r.err.find("alt.dta: " + fault), std::string::npos) << fault << "\n" << r.err;
  }
  EXPECT_NE(r.err.find("Nichts geschrieben: 4 Fehler."), std::string::npos) << r.err;
  EXPECT_FALSE(ws.Exists("alt.xml"));
  EXPECT_FALSE(AnyTemporaryFile(ws));
}

// A debtor is never debited under another's mandate: a row names one account,
// and an account has one mandate, whichever forms the rows name it by.
TEST(SepaConvert, MandateRowsAreHeldToTheAccountsTheyName) {
  Workspace ws;
  WriteBanks(ws);
  const json job = {
      {"art", "dtaus"},
      {"lastschriften", true},
      {"auftraggeber", {{"name", "Sportverein"}, {"blz", "37040044"}, {"konto", "532013000"}}},
      {"ausfuehrungsdatum", IsoDateFromToday(3)},
      {"buchungen",
       {Payment("Olaf Berg", "50010517", "648489890", "5.50"),
        Payment("Anna Schmidt", "50010517", "137075030", "14.07")}}};
  WriteDtaus(ws, "b.dta", job);
  const auto convert = [&ws](const std::string& table) {
    ws.Write("mandate.csv", "iban,blz,konto,mandat_id,mandat_datum,sequenz\n" + table);
    return ws.Run({"sepa", "convert", "b.dta", "--bankdaten", "blz.txt", "--mandate", "mandate.csv",
                   "--glaeubiger-id", "DE98ZZZ09999999999", "--dry-run"});
  };
  const std::string olaf = "50010517,648489890";
  const std::string anna = "50010517,137075030";

  // Olaf's IBAN beside Anna's account: both would be debited under M-1.
  const auto twoAccounts = convert("DE12500105170648489890," + anna + ",M-1,2024-06-30,RCUR\n");
  EXPECT_EQ(twoAccounts.exitCode, 1);
  EXPECT_NE(twoAccounts.err.find("mandate.csv: Zeile 2, Feld iban: BLZ 50010517, Konto 137075030 "
                                 "hat die IBAN DE02500105170137075030, nicht "
                                 "DE12500105170648489890: die Zeile nennt zwei Konten."),
            std::string::npos)
      << twoAccounts.err;

  // One account in two forms, or twice in one, with different mandates.
  for (const std::string& table :
       {"," + olaf + ",M-1,2024-06-30,RCUR\nDE12500105170648489890,,,M-2,2024-06-30,RCUR\n",
        "DE12500105170648489890,,,M-1,2024-06-30,RCUR\n," + olaf + ",M-1,2024-06-30,FRST\n",
        "," + olaf + ",M-1,2024-06-30,RCUR\n," + olaf + ",M-2,2024-06-30,RCUR\n"}) {
    const auto twice = convert(table + "," + anna + ",M-3,2024-06-30,RCUR\n");
    EXPECT_EQ(twice.exitCode, 1) << table;
    EXPECT_NE(twice.err.find("mandate.csv: Zeile 3: "), std::string::npos) << twice.err;
    EXPECT_NE(twice.err.find(" steht schon in Zeile 2, mit anderen Mandatsdaten."),
              std::string::npos)
        << twice.err;
  }

  // Rows that agree stand, with a note, and so does a row no payment uses.
  const auto notes =
      convert("DE12500105170648489890,,,M-1,2024-06-30,RCUR\n," + olaf + ",M-1,2024-06-30,RCUR\n," +
              anna + ",M-3,2024-06-30,RCUR\n,37040044,532013000,M-9,2024-06-30,RCUR\n");
  EXPECT_EQ(notes.exitCode, 0) << notes.err;
  EXPECT_NE(notes.err.find("Hinweis: mandate.csv: Zeile 3: BLZ 50010517, Konto 648489890 steht "
                           "schon in Zeile 2, mit denselben Mandatsdaten; die Zeile zählt "
                           "einmal.\n"),
            std::string::npos)
      << notes.err;
  EXPECT_NE(notes.err.find("Hinweis: mandate.csv: Zeile 5: Keine Zahlung der Datei nutzt das "
                           "Mandat „M-9“.\n"),
            std::string::npos)
      << notes.err;
  EXPECT_EQ(notes.err.find("Zeile 2: Keine Zahlung"), std::string::npos) << notes.err;
}

// Payments judged by a wrong table would be wrongly judged: its faults alone are named.
TEST(SepaConvert, FaultyTablesAreRefusedRowByRow) {
  Workspace ws;
  ws.Write("ibans.csv",
           "blz,konto,iban\n10020890,1234567,DE02120300000000202051\n"
           "10020890,0001234567,DE02500105170137075030\n1002089,1,DE02120300000000202051\n");
  ws.Write("mandate.csv",
           "blz,konto,mandat_id,mandat_datum,sequenz\n,,M-1,2025-01-01,FRST\n"
           "50010517,648489890,M-2," +
               IsoDateFromToday(1) + ",ERST\n");
  const auto r = ws.Run(
      {"sepa", "convert", "fehlt.dta", "--iban-liste", "ibans.csv", "--mandate", "mandate.csv"});
  EXPECT_EQ(r.exitCode, 1);
  for (const char* fault :
       {"ibans.csv: Zeile 3: BLZ 10020890, Konto 1234567 steht schon in ibans.csv: Zeile 2.",
        "ibans.csv: Zeile 4, Feld blz: Eine Bankleitzahl hat 8 Ziffern",
        "mandate.csv: Zeile 2: Es fehlen blz und konto oder iban",
        "mandate.csv: Zeile 3, Feld mandat_datum: Das Mandat ist auf den",
        "mandate.csv: Zeile 3, Feld sequenz: „ERST“ ist keine Sequenz"}) {
    EXPECT_NE(r.err.find(fault), std::string::npos) << fault << "\n" << r.err;
  }
  EXPECT_NE(r.err.find("Nichts geschrieben: 5 Fehler."), std::string::npos) << r.err;
}

}  // namespace

namespace {

// An account that fails its bank's check method converts with a warning, and
// with --streng not at all.
TEST(SepaConvert, AnAccountItsBankWouldRefuseIsAWarningAndWithStrengAFault) {
  Workspace ws;
  WriteBanks(ws);
  const json job = {
      {"auftraggeber", {{"name", "Muster GmbH"}, {"blz", "37040044"}, {"konto", "532013000"}}},
      {"ausfuehrungsdatum", IsoDateFromToday(2)},
      {"buchungen", {Payment("Anna Schmidt", "37040044", "1234567", "1")}}};
  WriteDtaus(ws, "k.dta", job);
  const std::vector<std::string> args = {"sepa", "convert", "k.dta", "--bankdaten", "blz.txt"};
  const std::string warning =
      "k.dta: Datensatz 2 (Byte 128), Feld konto: Die Kontonummer 1234567 passt nicht zum "
      "Prüfverfahren 13 der Bank „Commerzbank“";

  auto strict = args;
  strict.push_back("--streng");
  const auto refused = ws.Run(strict);
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find(warning), std::string::npos) << refused.err;
  EXPECT_FALSE(ws.Exists("k.xml"));

  const auto converted = ws.Run(args);
  ASSERT_EQ(converted.exitCode, 0) << converted.err;
  EXPECT_NE(converted.err.find("Warnung: " + warning), std::string::npos) << converted.err;
  EXPECT_TRUE(ws.Exists("k.xml"));
}

}  // namespace

namespace {

// The plans are made in the reading that checks the file, or, with a message
// ID, in a reading of their own: both say the same. The bank of each account
// is looked up once and remembered, so a bank met again is judged again.
TEST(SepaConvert, EitherReadingPlansAlikeAndARefusedFileSaysOnlyItsRefusal) {
  Workspace ws;
  WriteBanks(ws);
  const std::string date = IsoDateFromToday(2);
  const json job = {
      {"art", "dtaus"},
      {"dateien",
       {{{"auftraggeber", {{"name", "Muster GmbH"}, {"blz", "37040044"}, {"konto", "532013000"}}},
         {"ausfuehrungsdatum", date},
         {"buchungen",
          {Payment("Anna Schmidt", "37040044", "1234567", "1"),
           Payment("Berta Berg", "37040044", "1234567", "2"),
           Payment("Carl Ohnebank", "12345678", "1000", "3")}}},
        {{"auftraggeber", {{"name", "Stadtkasse"}, {"blz", "50010517"}, {"konto", "648489890"}}},
         {"ausfuehrungsdatum", date},
         {"buchungen", {Payment("Dora Berg", "37040044", "1234567", "4")}}}}}};
  WriteDtaus(ws, "p.dta", job);
  const std::vector<std::string> args = {"sepa", "convert", "p.dta", "--bankdaten", "blz.txt"};

  const auto checking = ws.Run(args);
  auto withId = args;
  withId.insert(withId.end(), {"--nachricht-id", "KONV"});
  const auto ownReading = ws.Run(withId);
  EXPECT_EQ(checking.exitCode, 1);
  EXPECT_EQ(ownReading.exitCode, 1);
  EXPECT_EQ(checking.err, ownReading.err);
  for (const char* place :
       {"Datensatz 2 (Byte 128)", "Datensatz 3 (Byte 384)", "Datensatz 7 (Byte 1152)"}) {
    EXPECT_NE(checking.err.find(std::string("Warnung: p.dta: ") + place +
                                ", Feld konto: Die Kontonummer 1234567 passt nicht"),
              std::string::npos)
        << place << "\n"
        << checking.err;
  }
  EXPECT_NE(checking.err.find("Datensatz 4 (Byte 640), Feld blz: "), std::string::npos)
      << checking.err;

  // Without its last E record: the payments were planned before the reader
  // refused, and none of that is said.
  std::string bytes = ws.Read("p.dta");
  ws.Write("p.dta", bytes.substr(0, bytes.size() - 128));
  for (const auto& run : {args, withId}) {
    const auto refused = ws.Run(run);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err.find("Datensatz 2"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.err.find("Warnung"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("Nichts geschrieben."), std::string::npos) << refused.err;
  }
  EXPECT_FALSE(ws.Exists("p-1.xml"));
}

}  // namespace
