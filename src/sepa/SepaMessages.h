// Messages of the SEPA writer (UTF-8). "{}" stands for the value named in the text.
#pragma once

namespace zor::detail::msgsepa {

inline constexpr const char* _MsgSepaPayment = "Zahlung {}";
inline constexpr const char* _MsgSepaSettings = "Dateikopf";
inline constexpr const char* _MsgSepaBlockSettings = "Dateikopf, weiteres Konto {}";
inline constexpr const char* _MsgSepaNoBlockSettings =
    "Die Zahlung gehört zu den Einstellungen eines weiteren Kontos ({}), die es nicht gibt.";
inline constexpr const char* _MsgSepaAmount =
    "Der Betrag muss zwischen 0,01 und 999.999.999,99 Euro liegen.";
inline constexpr const char* _MsgSepaSumTooLarge = "Die Summe der Beträge hat mehr als 18 Stellen.";
inline constexpr const char* _MsgSepaIban = "Die IBAN {} ist nicht gültig.";
inline constexpr const char* _MsgSepaBic =
    "Die BIC {} muss aus 8 oder 11 Großbuchstaben und Ziffern in der Form einer BIC bestehen.";
inline constexpr const char* _MsgSepaCreditorIdForm =
    "Die Gläubiger-Identifikationsnummer {} hat nicht die Form Land, Prüfziffern, "
    "Geschäftsbereich, nationale Kennung.";
inline constexpr const char* _MsgSepaCreditorIdDigits =
    "Die Prüfziffern der Gläubiger-Identifikationsnummer {} stimmen nicht.";
inline constexpr const char* _MsgSepaMandateId = "Die Mandatsreferenz fehlt.";
inline constexpr const char* _MsgSepaMandateDate =
    "Das Datum der Unterschrift des Mandats fehlt oder ist kein Kalenderdatum der Jahre 1900 bis "
    "9999.";
inline constexpr const char* _MsgSepaIdentifierEmpty = "Die Referenz ist leer.";
inline constexpr const char* _MsgSepaIdentifierLength =
    "Die Referenz {} ist länger als 35 Zeichen; Referenzen werden nicht gekürzt.";
inline constexpr const char* _MsgSepaIdentifierCharacter =
    "Die Referenz {} enthält ein Zeichen, das in Referenzen nicht erlaubt ist.";
inline constexpr const char* _MsgSepaIdentifierSlash =
    "Die Referenz {} beginnt oder endet mit \"/\" oder enthält \"//\"; das ist in Referenzen "
    "nicht erlaubt.";
inline constexpr const char* _MsgSepaCountry =
    "Die IBAN {} ist aus {}, einem Land außerhalb des SEPA-Raums; SEPA-Zahlungen dorthin nehmen "
    "die Banken nicht an.";
inline constexpr const char* _MsgSepaBicOutsideEea =
    "Die IBAN {} ist aus {}, einem SEPA-Land außerhalb des EWR; dafür ist die BIC nötig.";
inline constexpr const char* _MsgSepaNameEmpty = "Der Name muss angegeben werden.";
inline constexpr const char* _MsgSepaMalformed = "Der Text ist kein gültiges UTF-8.";
inline constexpr const char* _MsgSepaNoCounterpart =
    "Das Zeichen {} hat keine Entsprechung im Zeichensatz der Banken.";
inline constexpr const char* _MsgSepaNoCounterparts =
    "Die Zeichen {} haben keine Entsprechung im Zeichensatz der Banken.";
inline constexpr const char* _MsgSepaTransliterated =
    "Zeichen außerhalb des Zeichensatzes der Banken wurden umschrieben: {}";
inline constexpr const char* _MsgSepaTransliterationRefused =
    "Der Text enthält Zeichen außerhalb des Zeichensatzes der Banken: {}";
inline constexpr const char* _MsgSepaCut = "Der Text ist länger als {} Zeichen und wurde gekürzt.";
inline constexpr const char* _MsgSepaCutRefused = "Der Text ist länger als {} Zeichen.";
inline constexpr const char* _MsgSepaDate =
    "Das Ausführungsdatum ist kein Kalenderdatum der Jahre 1900 bis 9999.";
inline constexpr const char* _MsgSepaWrongGroup =
    "Die Zahlung gehört nicht zur Gruppe, die gerade geschrieben wird (Datum {}).";
inline constexpr const char* _MsgSepaGroupCount =
    "Die Gruppe mit Datum {} erhält mehr Zahlungen als geplant.";
inline constexpr const char* _MsgSepaGroupTotals =
    "Die Zahlungen der Gruppe mit Datum {} weichen in Anzahl oder Summe vom Plan ab.";
inline constexpr const char* _MsgSepaGroupPayments =
    "Die Zahlungen der Gruppe mit Datum {} sind andere als die geplanten.";
inline constexpr const char* _MsgSepaPurpose =
    "Der Zweck {} ist kein Code aus vier Großbuchstaben (z.B. SALA).";
inline constexpr const char* _MsgSepaStream = "Die SEPA-Datei konnte nicht geschrieben werden.";
inline constexpr const char* _MsgSepaNoPayments = "Die SEPA-Datei enthält keine Zahlung.";
inline constexpr const char* _MsgSepaFinished = "Die SEPA-Datei ist bereits abgeschlossen.";

// Structured creditor references (ISO 11649).
inline constexpr const char* _MsgSepaNotACreditorReference =
    "„{}“ ist keine strukturierte Gläubigerreferenz (RF, zwei Prüfziffern und bis zu 21 "
    "Buchstaben oder Ziffern, z.B. RF18539007547034).";
inline constexpr const char* _MsgSepaCreditorReferenceCharacter =
    "Eine Gläubigerreferenz besteht aus Buchstaben und Ziffern; „{}“ gehört nicht hinein.";
inline constexpr const char* _MsgSepaCreditorReferenceCheckPlace =
    "Auf RF folgen zwei Prüfziffern, nicht „{}“.";
inline constexpr const char* _MsgSepaCreditorReferenceLength =
    "Nach RF und den Prüfziffern stehen höchstens 21 Zeichen, hier {}.";
inline constexpr const char* _MsgSepaCreditorReferenceCheckDigits =
    "Die Prüfziffern {} passen nicht zur Gläubigerreferenz: ein Zeichen ist falsch oder "
    "vertauscht.";

// Postal addresses.
inline constexpr const char* _MsgSepaAddressLinesOnly =
    "Eine Anschrift nur aus Adresszeilen nehmen die Banken seit dem 15. November 2026 nicht mehr: "
    "Ort und Land gehören in ihre eigenen Felder.";
inline constexpr const char* _MsgSepaAddressNoTown = "Zur Anschrift gehört der Ort.";
inline constexpr const char* _MsgSepaAddressNoCountry =
    "Zur Anschrift gehört das Land (ISO 3166, z.B. DE).";
inline constexpr const char* _MsgSepaAddressCountry = "„{}“ ist kein Land (ISO 3166, z.B. DE).";
inline constexpr const char* _MsgSepaAddressLines =
    "Neben den Feldern einer Anschrift stehen höchstens zwei Adresszeilen, hier {}.";

// What goes beyond account, amount and references.
inline constexpr const char* _MsgSepaAddressNeeded =
    "Die IBAN {} ist aus {}, einem SEPA-Land außerhalb des EWR; dafür ist die Anschrift mit Ort "
    "und Land nötig.";
inline constexpr const char* _MsgSepaVersionLacks = "Die Fassung {} kennt dieses Element nicht.";
inline constexpr const char* _MsgSepaOldAddress =
    "Die Fassung {} nimmt eine Anschrift nur als Land und zwei Adresszeilen: Straße mit "
    "Hausnummer und Postleitzahl mit Ort werden zu Zeilen, weitere Felder nicht.";
inline constexpr const char* _MsgSepaInstantDebit =
    "Echtzeitzahlungen (INST) gibt es nur für Überweisungen.";
inline constexpr const char* _MsgSepaInstantPerTransaction =
    "In Echtzeitüberweisungen (INST) steht die Zahlungsart im Zahlungsblock; eine Kategorie je "
    "Zahlung gibt es dort nicht.";
inline constexpr const char* _MsgSepaTransferOnlyDebit =
    "Eine Überweisung hat weder Gläubiger-Identifikationsnummer noch Mandat.";
inline constexpr const char* _MsgSepaIdKindMissing =
    "Zur Kennung {} fehlt ihre Art (BIC, LEI, Organisation oder Person).";
inline constexpr const char* _MsgSepaIdEmpty = "Die Kennung ist leer.";
inline constexpr const char* _MsgSepaIdBic = "Die Kennung {} ist keine BIC.";
inline constexpr const char* _MsgSepaIdLei =
    "Die Kennung {} ist keine LEI (18 Großbuchstaben oder Ziffern und zwei Prüfziffern).";
inline constexpr const char* _MsgSepaIdScheme =
    "Die Art der Kennung {} ist kein Code aus bis zu vier Großbuchstaben oder Ziffern.";
inline constexpr const char* _MsgSepaIdSchemeBoth =
    "Eine Kennung hat einen Code oder eine eigene Bezeichnung ihrer Art, nicht beides.";
inline constexpr const char* _MsgSepaIdNoOther =
    "Eine BIC oder LEI steht ohne Art und Aussteller der Kennung.";
inline constexpr const char* _MsgSepaUetr =
    "Die UETR {} ist keine UUID der Version 4 in Kleinbuchstaben (z.B. "
    "3f2504e0-4f89-41d3-9a0c-0305e82c3301).";
inline constexpr const char* _MsgSepaReferenceAndText =
    "Eine Zahlung trägt entweder einen Verwendungszweck oder eine strukturierte "
    "Gläubigerreferenz, nicht beides.";
inline constexpr const char* _MsgSepaReferenceIssuerAlone =
    "Zum Aussteller gehört eine Gläubigerreferenz.";
inline constexpr const char* _MsgSepaCreditorIdContradicts =
    "Die Gläubiger-Identifikationsnummer {} der Zahlung widerspricht der des Zahlungsblocks ({}).";
inline constexpr const char* _MsgSepaCreditorIdMissing =
    "Die Gläubiger-Identifikationsnummer fehlt: sie steht im Dateikopf oder bei jeder Zahlung.";
inline constexpr const char* _MsgSepaAmendmentEmpty =
    "Eine Mandatsänderung nennt, was vorher galt: Mandatsreferenz, Gläubiger, Konto oder Bank "
    "des Zahlers.";
inline constexpr const char* _MsgSepaAmendmentNone =
    "Ohne Mandatsänderung (AmdmntInd false) stehen keine Angaben einer Änderung.";
inline constexpr const char* _MsgSepaCategoryPurpose =
    "Die Kategorie {} ist kein Code aus vier Großbuchstaben (z.B. SALA).";

}  // namespace zor::detail::msgsepa
