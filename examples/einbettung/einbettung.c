/* Checks messages with the checker's C library, as an application embeds it.
 *
 *   einbettung [--json] <Ini-Datei> <Nachricht>...
 *
 * Loads the configuration once, then checks each message: a file name, or "-" for a message read
 * from standard input (as a gateway checks the bytes it has just received). Prints one summary
 * line per message and one line per finding, or with --json the JSON object of each message
 * (the lines of `vesk pruefen --json`). Exits with the highest status of the checker's (0 clean,
 * 1 findings, 2 a fault). */
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

static void zeige_fehler(const vesk_fehler* f) {
  printf("  %s %d %s", f->art, (int)f->nummer, f->beschreibung);
  if (f->text != NULL) {
    printf(" %s", f->text);
  }
  if (f->satzart != NULL) {
    printf(" | Satzart %s", f->satzart);
  }
  if (f->feldnummer >= 0) {
    printf(" Feld %d (%s)", (int)f->feldnummer, f->feldname != NULL ? f->feldname : "?");
  }
  if (f->datensatz >= 0) {
    printf(" Datensatz %lld", (long long)f->datensatz);
  }
  if (f->offset >= 0) {
    printf(" Offset %lld", (long long)f->offset);
  }
  if (f->wert != NULL) {
    /* The bytes come from the sender and may hold anything: only printable ASCII reaches the
     * terminal as it is. */
    size_t i;
    printf(" = \"");
    for (i = 0; i < f->wert_laenge; ++i) {
      unsigned char b = f->wert[i];
      if (b >= 0x20 && b < 0x7F && b != '\\') {
        putchar(b);
      } else {
        printf("\\x%02X", b);
      }
    }
    printf("\"");
  }
  printf("\n");
}

static void zeige(const vesk_ergebnis* ergebnis) {
  const char* typ = vesk_ergebnis_nachrichtentyp(ergebnis);
  size_t i;
  printf("%s: %s: ", vesk_ergebnis_nachricht(ergebnis), typ != NULL ? typ : "nicht erkannt");
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
      printf("Abbruch: %s\n", vesk_ergebnis_abbruch(ergebnis));
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
    fprintf(stderr, "Ausnahmefehler aufgetreten:\n%s\nProgrammabbruch.\n",
            fehlertext != NULL ? fehlertext : "Nicht genug Arbeitsspeicher");
    vesk_text_freigeben(fehlertext);
    return 2;
  }
  for (i = erstes + 1; i < argc; ++i) {
    vesk_ergebnis* ergebnis = pruefe(konfiguration, argv[i]);
    int diese = vesk_ergebnis_exit_status(ergebnis); /* 2 for NULL */
    if (ergebnis == NULL) {
      fprintf(stderr, "%s: Nicht genug Arbeitsspeicher\n", argv[i]);
    } else if (json) {
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
