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

}  // namespace zor::detail::hostmsg
