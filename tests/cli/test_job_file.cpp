// The job-file loader: shape, unknown keys, value types and text, and where a
// broken file breaks.
#include <gtest/gtest.h>

#include "DiagnosticLines.h"
#include "io/EntryNames.h"
#include "io/JobFile.h"
#include "zordta/entry/Dtaus.h"
#include "zordta/entry/Dtazv.h"
#include "zordta/entry/SepaInput.h"

namespace {

using zclitest::Lines;

TEST(JobFile, FlattensTheClientAndKeepsNumbersAsWritten) {
  zcli::Diagnostics errors;
  const zcli::Job job = zcli::LoadJob(R"({
      "auftraggeber": {"name": "Bäcker", "blz": 37040044, "konto": "0532013000"},
      "lastschriften": true, "ausfuehrungsdatum": null,
      "buchungen": [{"name": "A", "konto": 12, "blz": 50010517, "betrag": 312.5,
                     "verwendungszweck": ["eins", "  ", "zwei"]},
                    {"name": "B", "konto": 1, "blz": 2, "betrag": "7,10", "verwendungszweck": "nur"}]
    })",
                                      zcli::DtausJobSchema(), errors);
  ASSERT_TRUE(errors.Empty()) << Lines(errors)[0];
  EXPECT_EQ(job.settings.at("auftraggeber.name"), "Bäcker");
  EXPECT_EQ(job.settings.at("auftraggeber.konto"), "0532013000");
  EXPECT_EQ(job.settings.at("lastschriften"), "true");
  EXPECT_EQ(job.settings.count("ausfuehrungsdatum"), 0u);
  ASSERT_EQ(job.payments.size(), 2u);
  EXPECT_EQ(job.payments[0].where, "Buchung 1");
  EXPECT_EQ(job.payments[0].Get("betrag"), "312.5");
  // A blank line keeps its place in a DTAUS record.
  EXPECT_EQ(job.payments[0].purpose, (std::vector<std::string>{"eins", "  ", "zwei"}));
  EXPECT_EQ(job.payments[1].purpose, (std::vector<std::string>{"nur"}));
}

TEST(JobFile, NamesEveryWrongKeyTypeAndCharacter) {
  zcli::Diagnostics errors;
  zcli::LoadJob(R"({"dateinahme": "x", "auftraggeber": {"blz": [1]},
                   "buchungen": [{"iban": "DE", "name": {"a": 1}, "betrag": true,
                                  "verwendungszweck": ["Łukasz", 3]}, 7]})",
                zcli::DtausJobSchema(), errors);
  EXPECT_EQ(
      Lines(errors),
      (std::vector<std::string>{
          "Auftrag|dateinahme|Unbekannter Schlüssel.",
          "Auftrag|auftraggeber.blz|Erwartet wird eine Zahl, keine Liste.",
          "Buchung 1|iban|Unbekannter Schlüssel.",
          "Buchung 1|name|Erwartet wird ein Text oder eine Zahl.",
          "Buchung 1|betrag|Erwartet wird ein Text oder eine Zahl.",
          "Buchung 1|verwendungszweck1|Zeichen 1: „Ł“ (U+0141) gibt es in Windows-1252 nicht.",
          "Buchung 2||Erwartet wird ein Objekt mit den Feldern der Buchung."}));
}

TEST(JobFile, AValueOfAnotherTypeIsNamedAtItsKeyAndNeverReadAsFalse) {
  zcli::Diagnostics errors;
  const zcli::Job job = zcli::LoadJob(
      R"({"lastschriften": "yes", "abbuchung": {"ja": true}, "zentralbank": null,
          "auftraggeber": {"name": 5, "blz": true, "konto": [1]}, "dateiname": {},
          "ausfuehrungsdatum": null})",
      zcli::DtausJobSchema(), errors);
  EXPECT_EQ(Lines(errors),
            (std::vector<std::string>{
                "Auftrag|lastschriften|Erwartet wird true oder false, kein Text („yes“).",
                "Auftrag|abbuchung|Erwartet wird true oder false, kein Objekt.",
                "Auftrag|zentralbank|Erwartet wird true oder false, nicht null.",
                "Auftrag|auftraggeber.name|Erwartet wird ein Text, keine Zahl (5).",
                "Auftrag|auftraggeber.blz|Erwartet wird eine Zahl, nicht true.",
                "Auftrag|auftraggeber.konto|Erwartet wird eine Zahl, keine Liste.",
                "Auftrag|dateiname|Erwartet wird ein Text, kein Objekt."}));
  EXPECT_TRUE(job.settings.empty());

  zcli::Diagnostics sepa;
  zcli::LoadJob(R"({"auftraggeber": "Muster", "lastschriften": 1})", zcli::SepaJobSchema(), sepa);
  EXPECT_EQ(Lines(sepa),
            (std::vector<std::string>{
                "Auftrag|auftraggeber|Erwartet wird ein Objekt (anschrift, bic, iban, kennung, "
                "name), kein Text („Muster“).",
                "Auftrag|lastschriften|Erwartet wird true oder false, keine Zahl (1)."}));
}

TEST(JobFile, BrokenFilesSayWhere) {
  zcli::Diagnostics syntax;
  zcli::LoadJob("{\n  \"buchungen\": [1,\n   x]\n}", zcli::DtausJobSchema(), syntax);
  ASSERT_EQ(syntax.Count(), 1u);
  EXPECT_EQ(syntax.Items()[0].message.substr(0, 18), "Zeile 3, Spalte 4:");

  zcli::Diagnostics encoding;
  zcli::LoadJob("{\"a\": \"M\xFCller\"}", zcli::DtausJobSchema(), encoding);
  ASSERT_EQ(encoding.Count(), 1u);
  EXPECT_EQ(encoding.Items()[0].message, "Zeile 1, Spalte 9: kein gültiges UTF-8.");

  // The parser would stop at a zero byte and never see the second list.
  zcli::Diagnostics zero;
  zcli::LoadJob(std::string("{\"buchungen\": []}") + '\0' + ", \"buchungen\": [1]}",
                zcli::DtausJobSchema(), zero);
  ASSERT_EQ(zero.Count(), 1u);
  EXPECT_EQ(zero.Items()[0].message, "Zeile 1, Spalte 18: kein gültiges JSON (ein Nullbyte).");

  zcli::Diagnostics deep;
  zcli::LoadJob(std::string(10000, '[') + std::string(10000, ']'), zcli::DtausJobSchema(), deep);
  EXPECT_EQ(deep.Count(), 1u);

  zcli::Diagnostics overflow;
  zcli::LoadJob(R"({"buchungen": [{"betrag": 1e400}]})", zcli::DtausJobSchema(), overflow);
  EXPECT_EQ(overflow.Count(), 1u);

  zcli::Diagnostics notAnObject;
  zcli::LoadJob("[]", zcli::DtausJobSchema(), notAnObject);
  EXPECT_EQ(notAnObject.Count(), 1u);
}

TEST(JobFile, ReadBackOutputIsAJobAndTheKindMustMatch) {
  // What "dtaus read" prints carries "datei" and "summen", which a job ignores.
  zcli::Diagnostics errors;
  const zcli::Job job =
      zcli::LoadJob(R"({"art": "dtaus", "datei": "x", "summen": {"anzahl": 1}, "buchungen": []})",
                    zcli::DtausJobSchema(), errors);
  EXPECT_TRUE(errors.Empty());
  EXPECT_TRUE(job.hasPayments);

  zcli::DtazvSettings settings;
  zcli::ApplyDtazvSettings(
      job.settings, "Auftrag", [](const std::string& k) { return k; }, settings, errors);
  EXPECT_EQ(Lines(errors),
            (std::vector<std::string>{
                "Auftrag|art|Der Auftrag ist für „dtaus“, dieser Befehl schreibt dtazv."}));
}

TEST(JobFile, KeysGivenTwiceAreRefusedAtEveryLevelWhereTheSecondStands) {
  // The parser would keep the last value: 1000 euros instead of 1, or only the
  // second list of payments.
  const std::pair<const char*, const char*> cases[] = {
      {R"({"buchungen": [{"name": "A", "betrag": 1,
                "betrag": 1000}]})",
       "Zeile 2, Spalte 17: Der Schlüssel „betrag“ steht in diesem Objekt schon weiter oben."},
      {R"({"buchungen": [{"name": "A"}], "buchungen": []})",
       "Zeile 1, Spalte 32: Der Schlüssel „buchungen“ steht in diesem Objekt schon weiter oben."},
      {R"({"auftraggeber": {"ö": "Grün", "name": "A", "\u00f6": "B"}})",
       "Zeile 1, Spalte 45: Der Schlüssel „ö“ steht in diesem Objekt schon weiter oben."},
  };
  for (const auto& [text, message] : cases) {
    zcli::Diagnostics errors;
    const zcli::Job job = zcli::LoadJob(text, zcli::DtausJobSchema(), errors);
    EXPECT_EQ(Lines(errors), (std::vector<std::string>{std::string("JSON||") + message})) << text;
    EXPECT_TRUE(job.payments.empty());
  }
  // The same key in different objects, or as a value, is no repetition.
  zcli::Diagnostics errors;
  zcli::LoadJob(R"({"buchungen": [{"name": "name", "betrag": 1}, {"name": "B", "betrag": 2}],
                    "auftraggeber": {"name": "A"}})",
                zcli::DtausJobSchema(), errors);
  EXPECT_TRUE(errors.Empty()) << Lines(errors)[0];
}

TEST(JobFile, ControlCharactersAreRefusedAlsoWhereTheyWouldSplitAPurposeLine) {
  zcli::Diagnostics errors;
  zcli::LoadJob(R"({"auftraggeber": {"name": "A\r\nAnzahl: 9"},
                    "buchungen": [{"name": "B\tC", "verwendungszweck": ["ok", "eins\nzwei"]}]})",
                zcli::DtausJobSchema(), errors);
  EXPECT_EQ(Lines(errors),
            (std::vector<std::string>{
                "Auftrag|auftraggeber.name|Zeichen 2: Wagenrücklauf (U+000D) ist nicht erlaubt.",
                "Auftrag|auftraggeber.name|Zeichen 3: Zeilenumbruch (U+000A) ist nicht erlaubt.",
                "Buchung 1|name|Zeichen 2: Tabulator (U+0009) ist nicht erlaubt.",
                "Buchung 1|verwendungszweck2|Zeichen 5: Zeilenumbruch (U+000A) ist nicht erlaubt. "
                "Mehrere Zeilen stehen als Liste im Verwendungszweck."}));
}

TEST(JobFile, AControlCharacterIsNamedByItsCodeWhereverAMessageQuotesIt) {
  zcli::Diagnostics errors;
  const zcli::Job job =
      zcli::LoadJob(R"({"lastschriften": "\u001b[2J", "auftraggeber": {"blz": "1\u001b"},
                        "x\u009b": 1, "buchungen": [{"n\u001bame": "A"}]})",
                    zcli::DtausJobSchema(), errors);
  zcli::DtausSettings settings;
  zcli::ApplyDtausSettings(
      job.settings, "Auftrag", [](const std::string& k) { return k; }, settings, errors);
  EXPECT_EQ(Lines(errors),
            (std::vector<std::string>{
                "Auftrag|lastschriften|Erwartet wird true oder false, kein Text („[U+001B][2J“).",
                "Auftrag|auftraggeber.blz|Zeichen 2: Steuerzeichen (U+001B) ist nicht erlaubt.",
                "Auftrag|x[U+009B]|Unbekannter Schlüssel.",
                "Buchung 1|n[U+001B]ame|Unbekannter Schlüssel.",
                "Auftrag|auftraggeber.blz|„1[U+001B]“ ist keine Zahl von 0 bis 99999999."}));
  // A library's message passes the same way.
  EXPECT_EQ(zcli::OneLine("Die Datei \"a\x1b\" fehlt.\r\nNochmal\x7f"),
            "Die Datei \"a[U+001B]\" fehlt. Nochmal[U+007F]");
}

}  // namespace
