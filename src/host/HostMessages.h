// Messages of the host layer (UTF-8; converted to interface text when raised).
#pragma once

namespace zor::detail::hostmsg {

inline constexpr const char* kListIndexError = "Listenindex überschreitet das Maximum (%d).";
inline constexpr const char* kInvalidInteger = "'%s' ist kein gültiger Integerwert.";
inline constexpr const char* kInvalidFloat = "'%s' ist kein gültiger Gleitkommawert.";
inline constexpr const char* kInvalidFormat =
    "Format '%s' ungültig oder nicht kompatibel mit Argument.";
inline constexpr const char* kDateEncodeError = "Ungültiges Argument zum Codieren des Datums.";
inline constexpr const char* kInvalidDate = "Ungültiger Datumswert.";
inline constexpr const char* kFileCreateError = "Die Datei \"%s\" kann nicht erstellt werden. %s";
inline constexpr const char* kFileOpenError = "Die Datei \"%s\" kann nicht geöffnet werden. %s";
inline constexpr const char* kFileInUse =
    "Die Datei \"%s\" wird von einem anderen Prozess verwendet.";
inline constexpr const char* kStreamReadError = "Stream-Lesefehler.";
inline constexpr const char* kStreamWriteError = "Stream-Schreibfehler.";
inline constexpr const char* kRegistryWriteError =
    "Der Registrierungsschlüssel \"%s\" kann nicht geschrieben werden. %s";
inline constexpr const char* kNoPrinter = "Es ist kein Drucker installiert.";
inline constexpr const char* kPdfWriteError = "Die PDF-Datei \"%s\" kann nicht geschrieben werden.";
inline constexpr const char* kPrinterNotFound = "Der Drucker \"%s\" ist nicht vorhanden.";
inline constexpr const char* kPrintJobFailed = "Der Druckauftrag konnte nicht gesendet werden: %s";
inline constexpr const char* kCannotPrint =
    "Diese Ausgabe der Bibliothek kann nicht drucken (ohne cairo/CUPS gebaut).";
inline constexpr const char* kPageRenderError = "Die Seite konnte nicht gezeichnet werden.";

// Palette, component names and the text form of components.
inline constexpr const char* kClassExists = "Eine Klasse mit dem Namen %s existiert bereits.";
inline constexpr const char* kInvalidComponentName = "'%s' ist kein gültiger Komponentenname.";
inline constexpr const char* kDuplicateComponentName =
    "Eine Komponente mit der Bezeichnung %s existiert bereits.";
inline constexpr const char* kTextObjectExpected = "Zeile %d: 'object' erwartet.";
inline constexpr const char* kTextClassMismatch =
    "Zeile %d: Die Klasse %s passt nicht zur Komponente der Klasse %s.";
inline constexpr const char* kTextEqualsExpected = "Zeile %d: '=' erwartet.";
inline constexpr const char* kTextUnknownProperty = "Zeile %d: Eigenschaft %s existiert nicht.";
inline constexpr const char* kTextDuplicateProperty =
    "Zeile %d: Eigenschaft %s ist mehrfach angegeben.";
inline constexpr const char* kTextInvalidValue =
    "Zeile %d: Ungültiger Wert für die Eigenschaft %s.";
inline constexpr const char* kTextEventNotStored =
    "Zeile %d: Das Ereignis %s kann nicht aus Text geladen werden.";
inline constexpr const char* kTextEndExpected = "Zeile %d: 'end' erwartet.";
inline constexpr const char* kTextAfterEnd = "Zeile %d: Text nach 'end'.";
inline constexpr const char* kTextSetterFailed = "Zeile %d: Eigenschaft %s: %s";

}  // namespace zor::detail::hostmsg
