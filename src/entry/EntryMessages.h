// The messages about payments given as text: what their file makes of a text,
// and why a value is refused.
#pragma once

namespace zor {

// What a DTAUS or DTAZV file makes of a text.
inline constexpr const char* _MsgEntryReplaced = "„{}“ wird zu „{}“";
inline constexpr const char* _MsgEntryReplacedStrict = "„{}“ würde zu „{}“";
inline constexpr const char* _MsgEntryDropped = "Diese Zeichen fallen weg: {}.";
inline constexpr const char* _MsgEntryDroppedStrict = "Diese Zeichen fielen weg: {}.";
inline constexpr const char* _MsgEntryTooLong =
    "„{}“ ist zu lang: in der Datei {} Zeichen, das Feld fasst {}.";
inline constexpr const char* _MsgEntryBlank = "Von „{}“ bleibt in der Datei nichts übrig.";

// Amounts, execution dates, currencies.
inline constexpr const char* _MsgEntryNoAmount = "Betrag fehlt.";
inline constexpr const char* _MsgEntryNotAnAmount =
    "„{}“ ist kein Betrag (z.B. 1234,56 oder 1234.56, ohne Tausenderpunkte).";
inline constexpr const char* _MsgEntryExecutionWindow =
    "Das Ausführungsdatum {} muss zwischen heute und heute + {} Tagen liegen.";
inline constexpr const char* _MsgEntryNotACurrency =
    "„{}“ ist kein Währungscode (drei Buchstaben, z.B. USD).";
inline constexpr const char* _MsgEntryCurrencyNotPayable =
    "„{}“ ist keine Währung, in der gezahlt werden kann (ein Code für Edelmetall, "
    "Rechnungseinheit, Test oder „keine Währung“).";
inline constexpr const char* _MsgEntryUnknownCurrency =
    "„{}“ ist keine gültige Währung nach ISO 4217 (z.B. EUR, USD, CHF).";

// DTAUS payment keys.
inline constexpr const char* _MsgEntryNotAKey =
    "„{}“ ist kein Zahlungsschlüssel (fünf Ziffern, z.B. 53000).";
inline constexpr const char* _MsgEntryUnknownKey =
    "„{}“ ist kein bekannter Zahlungsschlüssel: Lastschriften beginnen mit {}, Gutschriften mit "
    "{}.";
inline constexpr const char* _MsgEntryDebitKeyInCredits =
    "Der Zahlungsschlüssel {} ist eine Lastschrift; die Datei enthält Gutschriften ({}).";
inline constexpr const char* _MsgEntryCreditKeyInDebits =
    "Der Zahlungsschlüssel {} ist eine Gutschrift; die Datei enthält Lastschriften ({}).";

// IBANs.
inline constexpr const char* _MsgEntryNoIban = "Die IBAN fehlt.";
inline constexpr const char* _MsgEntryIbanCharacter =
    "Eine IBAN besteht aus Buchstaben und Ziffern; „{}“ gehört nicht hinein.";
inline constexpr const char* _MsgEntryIbanCountry =
    "„{}“ ist kein Land mit IBAN (eine IBAN beginnt mit dem Ländercode, z.B. DE).";
inline constexpr const char* _MsgEntryIbanLength = "Eine IBAN aus {} hat {} Zeichen, diese hat {}.";
inline constexpr const char* _MsgEntryIbanCheckDigitPlace =
    "Auf den Ländercode folgen zwei Prüfziffern, nicht „{}“.";
inline constexpr const char* _MsgEntryIbanStructure =
    "An Stelle {} gehört in eine IBAN aus {} {}, nicht „{}“.";
inline constexpr const char* _MsgEntryIbanDigit = "eine Ziffer";
inline constexpr const char* _MsgEntryIbanCapital = "ein Buchstabe";
inline constexpr const char* _MsgEntryIbanCapitalOrDigit = "ein Buchstabe oder eine Ziffer";
inline constexpr const char* _MsgEntryIbanNoSuchCheckDigits =
    "Die Prüfziffern {} gibt es nicht; sie liegen zwischen 02 und 98.";
inline constexpr const char* _MsgEntryIbanCheckDigits =
    "Die Prüfziffern {} passen nicht zur IBAN: ein Zeichen ist falsch oder vertauscht.";

// BICs.
inline constexpr const char* _MsgEntryNoBic = "Die BIC fehlt.";
inline constexpr const char* _MsgEntryBicCharacter =
    "Eine BIC besteht aus Buchstaben und Ziffern; „{}“ gehört nicht hinein.";
inline constexpr const char* _MsgEntryBicLength = "Eine BIC hat 8 oder 11 Zeichen, diese hat {}.";
inline constexpr const char* _MsgEntryBicStructure =
    "Eine BIC beginnt mit sechs Buchstaben (Bank und Land), nicht mit „{}“.";
inline constexpr const char* _MsgEntryBicCountry =
    "Zeichen 5 und 6 einer BIC nennen das Land der Bank; „{}“ ist kein Land (ISO 3166, z.B. DE).";

}  // namespace zor
