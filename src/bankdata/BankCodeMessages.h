// Messages of the bank-code file and the German IBAN (UTF-8). Each "{}" is
// replaced by the next value, in the order the text names them.
#pragma once

namespace zor::detail::msgbank {

inline constexpr const char* _MsgBankFileUnreadable =
    "Die Bankleitzahlendatei „{}“ kann nicht gelesen werden.";
inline constexpr const char* _MsgBankFileEmpty =
    "Die Bankleitzahlendatei enthält keinen Datensatz.";
inline constexpr const char* _MsgBankFileLine = "Bankleitzahlendatei, Zeile {}: {}";
inline constexpr const char* _MsgBankLineLength =
    "Ein Datensatz hat 168 Zeichen (174 mit IBAN-Regel), dieser hat {}.";
inline constexpr const char* _MsgBankLineLengthMixed =
    "Der Datensatz hat {} Zeichen, der erste der Datei {}.";
inline constexpr const char* _MsgBankLineCharacter =
    "An Stelle {} steht ein Steuerzeichen (Byte {}).";
inline constexpr const char* _MsgBankField = "Das Feld {} (Stelle {} bis {}) ist ungültig: „{}“.";
inline constexpr const char* _MsgBankDuplicate =
    "Die Bankleitzahl {} hat schon in Zeile {} einen Hauptdatensatz (Merkmal 1).";

inline constexpr const char* _MsgBankCodeForm = "Eine Bankleitzahl hat 8 Ziffern, nicht „{}“.";
inline constexpr const char* _MsgAccountForm = "Eine Kontonummer hat 1 bis 10 Ziffern, nicht „{}“.";
inline constexpr const char* _MsgAccountZero = "Die Kontonummer „{}“ besteht nur aus Nullen.";
inline constexpr const char* _MsgUnknownBankCode =
    "Die Bankleitzahl {} steht nicht in der Bankleitzahlendatei.";
inline constexpr const char* _MsgDeletedWithSuccessor =
    "Die Bankleitzahl {} ({}) ist gelöscht oder zur Löschung vorgesehen; sie wird ersetzt durch "
    "{}.";
inline constexpr const char* _MsgDeleted =
    "Die Bankleitzahl {} ({}) ist gelöscht oder zur Löschung vorgesehen und hat keinen "
    "Nachfolger.";
// The account screen's: the file named, the bank's name as PrintableText.
inline constexpr const char* _MsgScreenUnknownBank =
    "Die Bankleitzahl {} gibt es nicht (Bankleitzahlendatei {}).";
inline constexpr const char* _MsgScreenFailsMethod =
    "Die Kontonummer {} passt nicht zum Prüfverfahren {} der Bank „{}“ (Prüfziffer falsch).";
inline constexpr const char* _MsgSpecialIbanRule =
    "Für die Bankleitzahl {} ({}) gilt die IBAN-Regel {}, Version {}: die IBAN wird nicht nach "
    "der Standardregel gebildet; sie ist bei der Bank zu erfragen.";
inline constexpr const char* _MsgIbanRuleUnknown =
    "Die Bankleitzahlendatei nennt keine IBAN-Regeln (Fassung mit 168 Zeichen je Datensatz); ob "
    "für die Bankleitzahl {} ({}) die Standardregel gilt, ist nicht bekannt.";

}  // namespace zor::detail::msgbank
