/* The plausibility checker for insurance-claim messages as a C library.
 *
 * A program loads a configuration (the main INI file with its two definition files) once, then
 * checks as many messages as it likes on it, given as bytes in memory or as a file name. Each
 * check gives a result: the exit status the command-line checker would return for the message,
 * the message type, the located findings and the whole result as the JSON object that
 * `vesk pruefen --json` prints.
 *
 * Handles are opaque. Everything the library returns belongs to the library and stays valid
 * until the handle it came from is freed, except the error text of vesk_konfiguration_laden,
 * which the caller frees with vesk_text_freigeben. Texts are UTF-8 and end in NUL: characters
 * taken from message bytes are written as the checker writes them (0x80-0xFF as the Latin-1
 * character of the same code), texts from definition files are passed through as they are.
 * So a text may hold any control character a message, a file name or a definition file put
 * there (ESC, CR, LF, U+0080-U+009F), and a program that prints it to a terminal or a log read
 * line by line escapes it first, as examples/einbettung does: each byte 0x00-0x1F and 0x7F, each
 * character U+0080-U+009F (C2 80 to C2 9F) and each byte 0x80-0x9F outside valid UTF-8 as the
 * four characters \xHH, every other byte as it is. The JSON of vesk_ergebnis_json is ASCII with
 * every control character escaped and may be printed as it is.
 * Message bytes themselves (a field's value) are given as pointer and length, since they may
 * hold NUL. No function throws or aborts; a function that cannot do its work (a NULL handle,
 * out of memory) returns NULL, 0 or the value its comment names. The library sets no signal
 * handler and reads no environment variable. It prints nothing of its own; two diagnostics of
 * the checker's configuration still go where the checker writes them: "IniFile load failed"
 * (standard output and error) for a definition file that exists but cannot be read, and
 * "Feldart: <code> nicht gefunden" (standard error) for a field kind that does not exist.
 *
 * Threads: a configuration is immutable once loaded, so any number of threads may check
 * messages on one configuration at the same time, and configurations loaded from different
 * files (two versions of the definitions, say) live and are used side by side in one process.
 * A result is immutable too and may be read from several threads; each handle is freed exactly
 * once, after every thread has stopped using it. A result owns copies of all it shows, so it
 * may be kept after its configuration is freed.
 *
 * Relative file names (the main INI file, the definition and value-set files it names, a
 * message file) are resolved against the process's current directory, as the checker does.
 *
 * Compatibility: within major version 1 functions are only added, and vesk_fehler only grows
 * at its end; the library allocates every vesk_fehler, so a program built against an older
 * header keeps working.
 */
#ifndef VESK_H
#define VESK_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && defined(VESK_DLL_BAUEN)
#define VESK_API __declspec(dllexport)
#elif defined(_WIN32)
#define VESK_API
#elif defined(__GNUC__)
#define VESK_API __attribute__((visibility("default")))
#else
#define VESK_API
#endif

/* For C++ callers: the functions throw nothing. */
#ifdef __cplusplus
#define VESK_NOEXCEPT noexcept
#else
#define VESK_NOEXCEPT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A loaded configuration. */
typedef struct vesk_konfiguration vesk_konfiguration;
/* The outcome of checking one message. */
typedef struct vesk_ergebnis vesk_ergebnis;

/* One finding, with the fields of a finding in `vesk pruefen --json`. Strings are NULL and
 * numbers -1 where the field does not apply to the finding. */
typedef struct vesk_fehler {
  const char* art;           /* "Struktur", "Muss", "Technisch" or "MussKann" */
  int32_t nummer;            /* catalogue number */
  const char* beschreibung;  /* catalogue text of the number */
  const char* text;          /* explanatory text */
  const char* satzart;       /* record type */
  int32_t feldnummer;        /* counted from 1, as on the checker's console */
  const char* feldname;      /* the field's name in the record definition */
  int64_t datensatz;         /* the record's index in the message; 0 is the header */
  int64_t offset;            /* byte offset in the message: of the field, else of the record */
  int32_t laenge;            /* the field's length in bytes */
  const unsigned char* wert; /* the field's bytes, raw; NULL when not given */
  size_t wert_laenge;        /* the number of bytes at `wert` */
} vesk_fehler;

/* The library's version, "major.minor". */
VESK_API const char* vesk_version(void) VESK_NOEXCEPT;

/* Loads the configuration named by the main INI file `ini_datei` (NULL counts as an empty
 * name). Returns NULL when it cannot be loaded; then, when `fehlertext` is not NULL,
 * `*fehlertext` is set to the text the checker prints between "Ausnahmefehler aufgetreten:" and
 * "Programmabbruch." (to be freed with vesk_text_freigeben), or to NULL when even that text
 * could not be allocated. On success `*fehlertext` is set to NULL. */
VESK_API vesk_konfiguration* vesk_konfiguration_laden(const char* ini_datei,
                                                      char** fehlertext) VESK_NOEXCEPT;
/* Frees a configuration; NULL is ignored. */
VESK_API void vesk_konfiguration_freigeben(vesk_konfiguration* konfiguration) VESK_NOEXCEPT;
/* Frees a text the library handed over; NULL is ignored. */
VESK_API void vesk_text_freigeben(char* text) VESK_NOEXCEPT;

/* Checks the `laenge` bytes at `bytes` as the checker checks a message file of these bytes;
 * `name` (NULL: "") names the message in texts and in the JSON object. No bytes (laenge 0) are
 * treated like an empty file: the check ends with exit status 2 and the abbruch text
 * "Nachrichtendatei <name> nicht gefunden". The bytes are read only during the call. Returns
 * NULL when `konfiguration` is NULL, when `bytes` is NULL while `laenge` is not 0, or when out
 * of memory. */
VESK_API vesk_ergebnis* vesk_pruefe_bytes(const vesk_konfiguration* konfiguration,
                                          const unsigned char* bytes, size_t laenge,
                                          const char* name) VESK_NOEXCEPT;
/* Checks the message file `pfad` as the checker does; a missing, empty or unreadable file
 * ends the check with exit status 2 and the checker's text. Only what the check reads is read
 * during the call: the header, the trailer and the records, never the attachment bytes, so that
 * time and memory follow the records, not the file (a message with a 2 GiB attachment costs a few
 * milliseconds and about a mebibyte). The file is never mapped, so that no signal handler of the
 * process is touched. Returns NULL when an argument is NULL or when out of memory. */
VESK_API vesk_ergebnis* vesk_pruefe_datei(const vesk_konfiguration* konfiguration,
                                          const char* pfad) VESK_NOEXCEPT;
/* Frees a result and everything taken from it; NULL is ignored. */
VESK_API void vesk_ergebnis_freigeben(vesk_ergebnis* ergebnis) VESK_NOEXCEPT;

/* The checker's exit status for the message: 0 clean, 1 findings, 2 the check ended in a fault
 * (the configuration's or the message file's); 2 for NULL. */
VESK_API int vesk_ergebnis_exit_status(const vesk_ergebnis* ergebnis) VESK_NOEXCEPT;
/* The message's name: the path, or the name given with the bytes. */
VESK_API const char* vesk_ergebnis_nachricht(const vesk_ergebnis* ergebnis) VESK_NOEXCEPT;
/* The message type, or NULL when it was not recognised. */
VESK_API const char* vesk_ergebnis_nachrichtentyp(const vesk_ergebnis* ergebnis) VESK_NOEXCEPT;
/* The text of the checker's exception report when the exit status is 2, else NULL. */
VESK_API const char* vesk_ergebnis_abbruch(const vesk_ergebnis* ergebnis) VESK_NOEXCEPT;
/* The number of findings, in the order the checker lists them. */
VESK_API size_t vesk_ergebnis_anzahl_fehler(const vesk_ergebnis* ergebnis) VESK_NOEXCEPT;
/* The finding at `index` (from 0), or NULL when there is none. */
VESK_API const vesk_fehler* vesk_ergebnis_fehler(const vesk_ergebnis* ergebnis,
                                                 size_t index) VESK_NOEXCEPT;
/* The result as the JSON object `vesk pruefen --json` prints for the message, on one line
 * without a line end. */
VESK_API const char* vesk_ergebnis_json(const vesk_ergebnis* ergebnis) VESK_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
