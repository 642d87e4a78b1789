/* Checks messages with the checker's C library, as an application embeds it.
 *
 *   einbettung [--json] <Ini-Datei> <Nachricht>...
 *
 * Loads the configuration once, then checks each message: a file name, or "-" for a message read
 * from standard input (as a gateway checks the bytes it has just received). Prints one summary
 * line per message and one line per finding, or with --json the JSON object of each message
 * (the lines of `vesk pruefen --json`). Exits with the highest status of the checker's (0 clean,
 * 1 findings, 2 a fault).
 *
 * Every text the library hands out may hold control characters taken from a message, a file
 * name or a definition file; the example writes them as the checker's own output does (see
 * zeige_maskiert), so that a hostile message cannot drive the terminal or break a line. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vesk.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

/* The bytes of standard input in `*bytes` (to be freed), or NULL when out of memory. */
static unsigned char* lese_eingabe(size_t* laenge) {
  size_t platz = 65536;
  unsigned char* bytes = malloc(platz);
  *laenge = 0;
#ifdef _WIN32
  /* The message's bytes as they are: Windows would otherwise turn CR LF into LF. */
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  while (bytes != NULL) {
    *laenge += fread(bytes + *laenge, 1, platz - *laenge, stdin);
    if (*laenge < platz) {
      return bytes;
    }
    unsigned char* groesser = realloc(bytes, platz * 2);
    if (groesser == NULL) {
      free(bytes);
      return NULL;
    }
    bytes = groesser;
    platz *= 2;
  }
  return NULL;
}

/* The length of the valid UTF-8 sequence at `s` (of `rest` bytes, rest > 0), or 0 when none
 * starts there: no overlong form, no surrogate, nothing above U+10FFFF. */
static size_t utf8_laenge(const unsigned char* s, size_t rest) {
  unsigned char zweites_min = 0x80, zweites_max = 0xBF;
  size_t laenge, i;
  if (s[0] < 0x80) {
    return 1;
  } else if (s[0] >= 0xC2 && s[0] <= 0xDF) {
    laenge = 2;
  } else if (s[0] >= 0xE0 && s[0] <= 0xEF) {
    laenge = 3;
    zweites_min = s[0] == 0xE0 ? 0xA0 : 0x80;
    zweites_max = s[0] == 0xED ? 0x9F : 0xBF;
  } else if (s[0] >= 0xF0 && s[0] <= 0xF4) {
    laenge = 4;
    zweites_min = s[0] == 0xF0 ? 0x90 : 0x80;
    zweites_max = s[0] == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  if (rest < laenge || s[1] < zweites_min || s[1] > zweites_max) {
    return 0;
  }
  for (i = 2; i < laenge; ++i) {
    if (s[i] < 0x80 || s[i] > 0xBF) {
      return 0;
    }
  }
  return laenge;
}

/* Writes the `laenge` bytes at `text` to `aus` with every control character as the four
 * characters \xHH (upper-case hex): the bytes 0x00-0x1F and 0x7F, the characters U+0080-U+009F
 * (C2 80 to C2 9F, written \x80 to \x9F), and a byte 0x80-0x9F outside valid UTF-8, which a
 * terminal of 8-bit controls would obey. Every other byte, a backslash too, is copied. */
static void zeige_maskiert(FILE* aus, const unsigned char* text, size_t laenge) {
  size_t i = 0;
  while (i < laenge) {
    size_t folge = utf8_laenge(text + i, laenge - i);
    unsigned char code = text[i];
    int steuerzeichen;
    if (folge == 0) {
      folge = 1; /* a byte 0x80-0xFF outside valid UTF-8 */
      steuerzeichen = code <= 0x9F;
    } else if (folge == 1) {
      steuerzeichen = code < 0x20 || code == 0x7F;
    } else {
      steuerzeichen = code == 0xC2 && text[i + 1] <= 0x9F;
      code = text[i + 1];
    }
    if (steuerzeichen) {
      fprintf(aus, "\\x%02X", (unsigned)code);
    } else {
      fwrite(text + i, 1, folge, aus);
    }
    i += folge;
  }
}

/* A text of the library, escaped as zeige_maskiert does. */
static void zeige_text(FILE* aus, const char* text) {
  zeige_maskiert(aus, (const unsigned char*)text, strlen(text));
}

static void zeige_fehler(const vesk_fehler* f) {
  printf("  ");
  zeige_text(stdout, f->art);
  printf(" %d ", (int)f->nummer);
  zeige_text(stdout, f->beschreibung);
  if (f->text != NULL) {
    printf(" ");
    zeige_text(stdout, f->text);
  }
  if (f->satzart != NULL) {
    printf(" | Satzart ");
    zeige_text(stdout, f->satzart);
  }
  if (f->feldnummer >= 0) {
    printf(" Feld %d (", (int)f->feldnummer);
    zeige_text(stdout, f->feldname != NULL ? f->feldname : "?");
    printf(")");
  }
  if (f->datensatz >= 0) {
    printf(" Datensatz %lld", (long long)f->datensatz);
  }
  if (f->offset >= 0) {
    printf(" Offset %lld", (long long)f->offset);
  }
  if (f->wert != NULL) {
    /* Each raw byte as the Latin-1 character of the same code, as the texts show message
     * bytes. */
    size_t i;
    printf(" = \"");
    for (i = 0; i < f->wert_laenge; ++i) {
      unsigned char b = f->wert[i];
      unsigned char utf8[2];
      utf8[0] = b < 0x80 ? b : (unsigned char)(0xC0 | b >> 6);
      utf8[1] = (unsigned char)(0x80 | (b & 0x3F));
      zeige_maskiert(stdout, utf8, b < 0x80 ? 1 : 2);
    }
    printf("\"");
  }
  printf("\n");
}

static void zeige(const vesk_ergebnis* ergebnis) {
  const char* typ = vesk_ergebnis_nachrichtentyp(ergebnis);
  size_t i;
  zeige_text(stdout, vesk_ergebnis_nachricht(ergebnis));
  printf(": ");
  zeige_text(stdout, typ != NULL ? typ : "nicht erkannt");
  printf(": ");
  switch (vesk_ergebnis_exit_status(ergebnis)) {
    case 0:
      printf("OK\n");
      break;
    case 1:
      printf("%zu Fehler\n", vesk_ergebnis_anzahl_fehler(ergebnis));
      for (i = 0; i < vesk_ergebnis_anzahl_fehler(ergebnis); ++i) {
        zeige_fehler(vesk_ergebnis_fehler(ergebnis, i));
      }
      break;
    default:
      printf("Abbruch: ");
      zeige_text(stdout, vesk_ergebnis_abbruch(ergebnis));
      printf("\n");
  }
}

/* Checks one message; NULL when out of memory. */
static vesk_ergebnis* pruefe(const vesk_konfiguration* konfiguration, const char* nachricht) {
  size_t laenge = 0;
  unsigned char* bytes;
  vesk_ergebnis* ergebnis;
  if (strcmp(nachricht, "-") != 0) {
    return vesk_pruefe_datei(konfiguration, nachricht);
  }
  bytes = lese_eingabe(&laenge);
  if (bytes == NULL) {
    return NULL;
  }
  ergebnis = vesk_pruefe_bytes(konfiguration, bytes, laenge, "Standardeingabe");
  free(bytes); /* the result holds copies of what it shows */
  return ergebnis;
}

int main(int argc, char** argv) {
  int json = argc > 1 && strcmp(argv[1], "--json") == 0;
  int erstes = json ? 2 : 1;
  int status = 0;
  int i;
  char* fehlertext = NULL;
  vesk_konfiguration* konfiguration;
  if (argc - erstes < 2) {
    fprintf(stderr, "usage: einbettung [--json] <Ini-Datei> <Nachricht>...  (vesk %s)\n",
            vesk_version());
    return 2;
  }
  konfiguration = vesk_konfiguration_laden(argv[erstes], &fehlertext);
  if (konfiguration == NULL) {
    fprintf(stderr, "Ausnahmefehler aufgetreten:\n");
    zeige_text(stderr, fehlertext != NULL ? fehlertext : "Nicht genug Arbeitsspeicher");
    fprintf(stderr, "\nProgrammabbruch.\n");
    vesk_text_freigeben(fehlertext);
    return 2;
  }
  for (i = erstes + 1; i < argc; ++i) {
    vesk_ergebnis* ergebnis = pruefe(konfiguration, argv[i]);
    int diese = vesk_ergebnis_exit_status(ergebnis); /* 2 for NULL */
    if (ergebnis == NULL) {
      zeige_text(stderr, argv[i]);
      fprintf(stderr, ": Nicht genug Arbeitsspeicher\n");
    } else if (json) {
      /* JSON-escaped by the library, in ASCII: no control character is left in it. */
      printf("%s\n", vesk_ergebnis_json(ergebnis));
    } else {
      zeige(ergebnis);
    }
    vesk_ergebnis_freigeben(ergebnis);
    status = diese > status ? diese : status;
  }
  vesk_konfiguration_freigeben(konfiguration);
  return status;
}
