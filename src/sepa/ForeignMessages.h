// Messages of the foreign transfers' writer (UTF-8). "{}" stands for the value
// named in the text.
#pragma once

namespace zor::detail::msgforeign {

inline constexpr const char* _MsgForeignAmount =
    "Der Betrag muss zwischen 0,01 und 999.999.999.999.999,99 Einheiten der Währung liegen.";
inline constexpr const char* _MsgForeignCurrency =
    "{} ist keine Währung, in der gezahlt werden kann (ISO 4217, z.B. USD).";
inline constexpr const char* _MsgForeignSameCurrency =
    "Der Betrag lautet schon auf {}; ein Gegenwert in derselben Währung ist keiner.";
inline constexpr const char* _MsgForeignNoAgent =
    "Die Bank des Zahlungsempfängers fehlt: ihre BIC oder ihr Name mit Ort und Land.";
inline constexpr const char* _MsgForeignAgentAddress =
    "Eine Bank ohne BIC braucht eine Anschrift mit Ort und Land.";
inline constexpr const char* _MsgForeignCreditorAddress =
    "Die Anschrift des Zahlungsempfängers braucht Ort und Land.";
inline constexpr const char* _MsgForeignNoAccount =
    "Das Konto des Zahlungsempfängers fehlt: IBAN oder Kontonummer.";
inline constexpr const char* _MsgForeignTwoAccounts =
    "Ein Konto ist entweder eine IBAN oder eine andere Kontonummer, nicht beides.";
inline constexpr const char* _MsgForeignAccountLength =
    "Die Kontonummer {} ist länger als 34 Zeichen; Kontonummern werden nicht gekürzt.";
inline constexpr const char* _MsgForeignCode =
    "{} ist kein Code aus ein bis vier Großbuchstaben oder Ziffern.";
inline constexpr const char* _MsgForeignInstructionTwice =
    "Die Weisung {} an die Bank des Zahlungsempfängers steht zweimal.";
inline constexpr const char* _MsgForeignInstructionsExclude =
    "Die Weisungen {} und {} an die Bank des Zahlungsempfängers schließen einander aus.";
inline constexpr const char* _MsgForeignTooManyReports =
    "Eine Zahlung trägt höchstens 10 Meldungen, hier {}.";
inline constexpr const char* _MsgForeignReportText =
    "Die Angabe {} einer Meldung ist länger als {} Zeichen; Meldungen werden nicht gekürzt.";
inline constexpr const char* _MsgForeignEmptyReport = "Die Meldung ist leer.";

}  // namespace zor::detail::msgforeign
