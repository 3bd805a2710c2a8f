// Messages of the DTAUS writer's refusals (UTF-8).
#pragma once

namespace zor::detail::msg {

inline constexpr const char* _MsgWriterBankCode =
    "Die Bankleitzahl der Buchung passt nicht in ihr Feld (0 bis 99999999).";
inline constexpr const char* _MsgWriterAccount =
    "Die Kontonummer der Buchung passt nicht in ihr Feld (0 bis 9999999999).";
inline constexpr const char* _MsgWriterAmount =
    "Der Betrag passt nicht in sein Feld (0 bis 999999999,99 EUR).";
inline constexpr const char* _MsgWriterPurposeLines =
    "Ein Datensatz C trägt höchstens 19 Verwendungszwecke.";
inline constexpr const char* _MsgWriterKey = "Der Zahlungsschlüssel muss fünf Zeichen haben.";
inline constexpr const char* _MsgWriterText =
    "Ein Name oder Verwendungszweck ist länger als sein Feld (27 Zeichen).";
inline constexpr const char* _MsgWriterClientBankCode =
    "Die Bankleitzahl des Auftraggebers passt nicht in ihr Feld (0 bis 99999999).";
inline constexpr const char* _MsgWriterClientAccount =
    "Die Kontonummer des Auftraggebers passt nicht in ihr Feld (0 bis 9999999999).";
inline constexpr const char* _MsgWriterCount = "Datensatz E zählt höchstens 9999999 Buchungen.";
inline constexpr const char* _MsgWriterSum =
    "Die Summe der Beträge passt nicht in Datensatz E (höchstens 99999999999,99 EUR).";
inline constexpr const char* _MsgWriterDate =
    "Ein Datum oder die Diskettennummer passt nicht in Datensatz A.";
inline constexpr const char* _MsgWriterFinished =
    "Die Datei ist abgeschlossen: Datensatz E ist geschrieben.";

}  // namespace zor::detail::msg
