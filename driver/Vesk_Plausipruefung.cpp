#include "driver/Vesk_Plausipruefung.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iostream>
#include <memory>
#include <string_view>
#include <thread>

#ifdef __linux__
#include <sched.h>
#endif

#include "config/SatzartenRegister.h"
#include "config/Vesk_DatenFeld.h"
#include "config/Vesk_DatensatzDateiException.h"
#include "config/Vesk_Satzart.h"
#include "config/Vesk_SatzartenFabrik.h"
#include "config/Vesk_StrukturDateiException.h"
#include "config/Vesk_TechnischePlausi.h"
#include "driver/Konfiguration.h"
#include "driver/Namensgeber.h"
#include "driver/Vesk_Meldung.h"
#include "driver/Vorauspruefung.h"
#include "errors/Vesk_StrukturFehler.h"
#include "fields/MeldungsText.h"
#include "fields/Vesk_FeldartenFabrik.h"
#include "fields/Vesk_WertemengenFabrik.h"
#include "rules/Vesk_MussKannPlausi.h"
#include "structure/NachrichtenTypRegister.h"
#include "structure/Vesk_NachrichtenTyp.h"
#include "structure/Vesk_NachrichtenTypFabrik.h"
#include "structure/Vesk_StrukturPlausi.h"

namespace {

constexpr std::size_t SATZLAENGE = Vesk_Datensatz::SATZLAENGE;
constexpr std::size_t MINDESTLAENGE = 2 * SATZLAENGE;  // header and trailer

vesk::MeldungsText textBei(std::span<const unsigned char> nachricht, std::size_t start,
                           std::size_t laenge) {
  const auto bytes = nachricht.subspan(start, laenge);
  return vesk::MeldungsText(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

Vesk_Fehler& meldeStruktur(Vesk_FehlerListe& liste, std::int32_t nummer, std::string text) {
  auto fehler = std::make_unique<Vesk_StrukturFehler>(nummer);
  fehler->setzeErklaerendenText(std::move(text));
  return liste.hinzufuegenFehler(std::move(fehler));
}

// The frame walk reads a few bytes of each record and the technical check all of them, on one
// thread just after the walk. Asking for all cache lines of a record a few records ahead lets
// the memory deliver them together rather than one after the other as the check reaches them.
void vorausLesen(std::span<const unsigned char> nachricht, std::size_t satzStart) {
  constexpr std::size_t VORAUS = 4 * SATZLAENGE;
  constexpr std::size_t CACHEZEILE = 64;
  if (satzStart + VORAUS + SATZLAENGE <= nachricht.size()) {
    for (std::size_t zeile = 0; zeile < SATZLAENGE; zeile += CACHEZEILE) {
      __builtin_prefetch(nachricht.data() + satzStart + VORAUS + zeile);
    }
  }
}

// Gives the findings from `ab` on that are about a record of `meldung` that record's byte
// offset.
void verorte(Vesk_FehlerListe& liste, std::size_t ab, const Vesk_Meldung& meldung) {
  for (std::size_t i = ab; i < liste.gibGroesse(); ++i) {
    Vesk_Fehler& fehler = liste.gibFehler(i);
    const std::int64_t index = fehler.gibOrtsSatz().value_or(-1);
    if (index >= 0 && static_cast<std::uint64_t>(index) < meldung.gibAnzahl()) {
      fehler.setzeSatzOffset(
          static_cast<std::int64_t>(meldung.gibStartAdresse(static_cast<std::size_t>(index))));
    }
  }
}

// Compares the records read between header and trailer with the trailer's count, then the
// message length with the one that count and the attachments declare; in 64 bits, so that the
// texts show the exact values also for huge declared counts.
// The trailer, record `nachsatz`, is where the count lies; the length is the whole message's.
void pruefeSummen(std::int64_t gelesen, std::int32_t anzahlDatensaetze, std::int64_t laenge,
                  std::int64_t anhaenge, std::int64_t nachsatz, Vesk_FehlerListe& liste) {
  if (gelesen != anzahlDatensaetze) {
    Vesk_Fehler& fehler =
        meldeStruktur(liste, Vesk_StrukturFehler::SATZANZAHL_UNGUELTIG,
                      "Gelesene Datensatzzahl: " + std::to_string(gelesen) +
                          ", Datensaetze laut Nachsatz:" + std::to_string(anzahlDatensaetze));
    fehler.verorteBeiSatz(nachsatz);
    fehler.setzeSatzOffset(laenge - std::int64_t{SATZLAENGE});
  }
  const std::int64_t erwartet = std::int64_t{anzahlDatensaetze} * std::int64_t{SATZLAENGE} +
                                anhaenge + std::int64_t{MINDESTLAENGE};
  if (laenge != erwartet) {
    meldeStruktur(liste, Vesk_StrukturFehler::NACHRICHT_LAENGE,
                  "Tatsaechliche Nachrichtenlaenge: " + std::to_string(laenge) +
                      ", Erwarete Nachrichtenlaenge: " + std::to_string(erwartet))
        .verorteInDerNachricht();
  }
}

}  // namespace

namespace {

// The cores this process may run on: on Linux those of its affinity mask, so that a run bound
// to one core (taskset, a container's cpuset) starts no threads that would only take turns.
// Asked once: the C library reads a system file for it, which a batch of small messages would
// otherwise pay for each message.
unsigned alleKerne() {
  static const unsigned kerne = [] {
#ifdef __linux__
    cpu_set_t erlaubt;
    CPU_ZERO(&erlaubt);
    if (::sched_getaffinity(0, sizeof erlaubt, &erlaubt) == 0 && CPU_COUNT(&erlaubt) > 0) {
      return static_cast<unsigned>(CPU_COUNT(&erlaubt));
    }
#endif
    return std::max(1U, std::thread::hardware_concurrency());
  }();
  return kerne;
}

// Loads both definition files into the process-wide registries, in the checker's order; returns
// the record types to check with.
const vesk::SatzartenRegister& ladeProzessweit(const std::string& strukturDatei,
                                               const std::string& datensatzDatei) {
  vesk::Konfiguration::pruefeVorhanden({strukturDatei, datensatzDatei});
  const IniFile iniDateiStruktur(strukturDatei);
  const IniFile iniDateiDatensaetze(datensatzDatei);
  Vesk_DatensatzDateiException::setzeDateiname(datensatzDatei);
  Vesk_StrukturDateiException::setzeDateiname(strukturDatei);
  // Fields refer to value sets and field kinds, message types to record types.
  Vesk_WertemengenFabrik::initialisiere(iniDateiDatensaetze);
  Vesk_FeldartenFabrik::initialisiere();
  Vesk_SatzartenFabrik::initialisiere(iniDateiDatensaetze);
  Vesk_NachrichtenTypFabrik::initialisiere(iniDateiStruktur);
  return Vesk_SatzartenFabrik::gibRegister();
}

}  // namespace

Vesk_Plausipruefung::Vesk_Plausipruefung(const std::string& strukturDatei,
                                         const std::string& datensatzDatei)
    : satzArten(&ladeProzessweit(strukturDatei, datensatzDatei)),
      nachrichtenTypen(&Vesk_NachrichtenTypFabrik::gibRegister()),
      faeden(alleKerne()) {}

Vesk_Plausipruefung::Vesk_Plausipruefung(const vesk::Konfiguration& geladen)
    : satzArten(&geladen.gibSatzarten()),
      nachrichtenTypen(&geladen.gibNachrichtenTypen()),
      konfiguration(&geladen),
      faeden(alleKerne()) {}

Vesk_FehlerListe Vesk_Plausipruefung::pruefe(Bytes nachricht) const {
  return pruefe(nachricht, &std::cout);
}

Vesk_FehlerListe Vesk_Plausipruefung::pruefe(Bytes nachricht, std::ostream* fortschritt) const {
  if (konfiguration == nullptr) {
    return pruefeStufen(nachricht, fortschritt);
  }
  try {
    return pruefeStufen(nachricht, fortschritt);
  } catch (Vesk_IniFileException& e) {
    konfiguration->benenneDatei(e);
    throw;
  }
}

Vesk_FehlerListe Vesk_Plausipruefung::pruefeStufen(Bytes nachricht,
                                                   std::ostream* fortschritt) const {
  Vesk_FehlerListe liste;
  if (nachricht.size() < MINDESTLAENGE) {
    meldeStruktur(liste, Vesk_StrukturFehler::NACHRICHT_LAENGE,
                  "Nachrichtenl\xC3\xA4nge < 512 Byte")
        .verorteInDerNachricht();
    return liste;
  }
  const Vesk_NachrichtenTyp* typ = analysiereVorsatz(nachricht, liste);
  if (typ == nullptr || liste.gibGroesse() > 0) {
    return liste;
  }
  liste.setzeNachrichtenTyp(typ->gibBezeichner());
  const std::int32_t anzahl = analysiereNachsatz(nachricht, liste);
  if (anzahl == 0 || liste.gibGroesse() > 0) {
    verorteNachsatz(nachricht, liste);
    return liste;
  }
  std::optional<vesk::Vorauspruefung> voraus;
  // Its checks run ahead of the walk, over bytes a message read in part does not have yet; the
  // trailer's count alone cannot promise that all of them are records, so such a message is
  // checked after the walk.
  if (!nachschub && vesk::Vorauspruefung::lohnt(nachricht.size(), anzahl)) {
    voraus.emplace(*satzArten, nachricht, faeden);
  }
  const std::optional<Vesk_Meldung> meldung =
      erzeugeMeldung(nachricht, anzahl, liste, voraus ? &*voraus : nullptr);
  if (!meldung || liste.gibGroesse() > 0) {
    return liste;
  }
  pruefeInhalt(nachricht, *typ, *meldung, liste, fortschritt, voraus ? &*voraus : nullptr);
  return liste;
}

void Vesk_Plausipruefung::pruefeInhalt(Bytes nachricht, const Vesk_NachrichtenTyp& typ,
                                       const Vesk_Meldung& meldung, Vesk_FehlerListe& liste,
                                       std::ostream* fortschritt,
                                       vesk::Vorauspruefung* voraus) const {
  Vesk_StrukturPlausi struktur(typ, fortschritt);
  const bool strukturOk = struktur.pruefeStruktur(meldung, liste);
  verorte(liste, 0, meldung);
  if (!strukturOk) {
    return;
  }
  const bool schadenmeldung =
      &typ == &nachrichtenTypen->gib(Vesk_NachrichtenTypFabrik::SCHADENMELDUNG);
  if (schadenmeldung && !Vesk_MussKannPlausi(nachrichtenTypen->gibDatei(), satzArten, fortschritt)
                             .pruefeMussKann(nachricht, liste)) {
    return;
  }
  const std::size_t vorher = liste.gibGroesse();
  if (voraus == nullptr || !voraus->vollende(meldung, liste).has_value()) {
    static_cast<void>(Vesk_TechnischePlausi().pruefeDatensaetze(meldung, liste, faeden));
  }
  verorte(liste, vorher, meldung);
}

const Vesk_NachrichtenTyp* Vesk_Plausipruefung::analysiereVorsatz(Bytes nachricht,
                                                                  Vesk_FehlerListe& liste) const {
  const Vesk_Satzart& vorsatz = satzArten->gib(Vesk_SatzartenFabrik::VORSATZ);
  if (!textBei(nachricht, 0, 4).gleicht(vorsatz.gibBezeichner())) {
    liste
        .hinzufuegenFehler(std::make_unique<Vesk_StrukturFehler>(Vesk_StrukturFehler::VORSATZ_FEHLT,
                                                                 vorsatz.gibBezeichner()))
        .setzeSatzOffset(0);
    return nullptr;
  }
  return &ermittleNachrichtenTyp(nachricht, vorsatz);
}

const Vesk_NachrichtenTyp& Vesk_Plausipruefung::ermittleNachrichtenTyp(
    Bytes nachricht, const Vesk_Satzart& vorsatz) const {
  const vesk::MeldungsText sendeArt = vorsatz.gibBenoetigtesDatenFeld(2).gibWert(nachricht, 0);
  return nachrichtenTypen->gibSendeArt(sendeArt);
}

void Vesk_Plausipruefung::verorteNachsatz(Bytes nachricht, Vesk_FehlerListe& liste) const {
  // Only a finding at the trailer's place, which the walk of the frame alone can number: the
  // attachments before it are counted in bytes, not in records.
  Vesk_Fehler* amNachsatz = nullptr;
  for (std::size_t i = 0; i < liste.gibGroesse(); ++i) {
    const auto offset = liste.gibFehler(i).gibSatzOffset();
    if (offset && static_cast<std::size_t>(*offset) == nachricht.size() - SATZLAENGE) {
      amNachsatz = &liste.gibFehler(i);
    }
  }
  if (amNachsatz == nullptr) {
    return;
  }
  std::optional<Vesk_Meldung> meldung;
  try {
    Vesk_FehlerListe verworfen;
    meldung = erzeugeMeldung(nachricht, 0, verworfen, nullptr);
  } catch (const Vesk_IniFileException&) {
    // A record type the walk meets is faulty: the place stays unnumbered. A message that cannot
    // be read further ends the check, as it would end the walk itself.
  }
  if (meldung) {
    amNachsatz->verorteBeiSatz(static_cast<std::int64_t>(meldung->gibAnzahl()) - 1);
  } else {
    amNachsatz->verorteInDerNachricht();
  }
}

std::int32_t Vesk_Plausipruefung::analysiereNachsatz(Bytes nachricht,
                                                     Vesk_FehlerListe& liste) const {
  const Vesk_Satzart& nachsatz = satzArten->gib(Vesk_SatzartenFabrik::NACHSATZ);
  const std::size_t start = nachricht.size() - SATZLAENGE;
  if (!textBei(nachricht, start, 4).gleicht(nachsatz.gibBezeichner())) {
    liste
        .hinzufuegenFehler(std::make_unique<Vesk_StrukturFehler>(
            Vesk_StrukturFehler::NACHSATZ_FEHLT, nachsatz.gibBezeichner()))
        .setzeSatzOffset(static_cast<std::int64_t>(start));
    return 0;
  }
  const std::int32_t anzahl =
      nachsatz.gibBenoetigtesDatenFeld(2).gibWert(nachricht, start).alsGanzzahl().value_or(0);
  if (anzahl == 0) {
    liste
        .hinzufuegenFehler(std::make_unique<Vesk_StrukturFehler>(
            Vesk_StrukturFehler::SATZANZAHL_UNGUELTIG, nachsatz.gibBezeichner()))
        .setzeSatzOffset(static_cast<std::int64_t>(start));
  }
  return anzahl;
}

std::optional<Vesk_Meldung> Vesk_Plausipruefung::erzeugeMeldung(
    Bytes nachricht, std::int32_t anzahlDatensaetze, Vesk_FehlerListe& liste,
    vesk::Vorauspruefung* voraus) const {
  Vesk_Meldung meldung;
  const std::size_t moeglich = nachricht.size() / SATZLAENGE + 1;
  meldung.reserviere(std::min<std::size_t>(
      moeglich, static_cast<std::size_t>(std::max<std::int64_t>(anzahlDatensaetze, 0)) + 2));
  // 64-bit frame arithmetic: attachment lengths add up to more than 32 bits.
  const auto laenge = static_cast<std::int64_t>(nachricht.size());
  std::int64_t start = 0;
  std::int64_t index = 0;
  std::int64_t anhaenge = 0;
  vesk::Namensgeber namen(*satzArten);
  std::size_t gesichert = nachschub ? 0 : nachricht.size();
  do {
    const auto satzStart = static_cast<std::size_t>(start);
    if (satzStart + SATZLAENGE > gesichert) {
      gesichert = nachschub(satzStart + SATZLAENGE);
    }
    vorausLesen(nachricht, satzStart);
    const auto [satzart, gefunden] = namen.benenne(nachricht.subspan(satzStart, SATZLAENGE));
    if (satzart == nullptr) {
      auto fehler =
          std::make_unique<Vesk_StrukturFehler>(Vesk_StrukturFehler::DATENSAETZE_VERSCHOBEN);
      fehler->setzeErklaerendenText(" Unbekannte Satzart: " + gefunden.alsUtf8());
      fehler->setzeDatensatzNummer(index);
      fehler->setzeSatzOffset(start);
      liste.hinzufuegenFehler(std::move(fehler));
      return std::nullopt;
    }
    meldung.satzAnfuegen(gefunden.roh(), *satzart, nachricht, satzStart);
    if (gefunden.size() == 4 &&
        std::memcmp(gefunden.roh().data(), Vesk_SatzartenFabrik::ANHANGSBESCHREIBUNG.data(), 4) ==
            0) {
      const std::int32_t anhang =
          analysiereAnhangsBeschreibung(nachricht, *satzart, satzStart, index, liste);
      if (anhang == 0) {
        return std::nullopt;
      }
      anhaenge += anhang;
    }
    start += static_cast<std::int64_t>(SATZLAENGE);
    ++index;
    if (voraus != nullptr) {
      voraus->schritthalten(static_cast<std::size_t>(index));
    }
  } while (anhaenge + start + static_cast<std::int64_t>(MINDESTLAENGE) <= laenge);

  meldung.satzAnfuegen(Vesk_SatzartenFabrik::NACHSATZ,
                       satzArten->gib(Vesk_SatzartenFabrik::NACHSATZ), nachricht,
                       nachricht.size() - SATZLAENGE);
  pruefeSummen(index - 1, anzahlDatensaetze, laenge, anhaenge, index, liste);
  return meldung;
}

std::int32_t Vesk_Plausipruefung::analysiereAnhangsBeschreibung(Bytes nachricht,
                                                                const Vesk_Satzart& anhang,
                                                                std::size_t start,
                                                                std::int64_t index,
                                                                Vesk_FehlerListe& liste) const {
  const auto laenge = anhang.gibBenoetigtesDatenFeld(12).gibWert(nachricht, start).alsGanzzahl();
  // A negative length would move the frame backwards; it is as invalid as no number.
  const auto offset = static_cast<std::int64_t>(start);
  if (!laenge || *laenge < 0) {
    Vesk_Fehler& fehler = meldeStruktur(liste, Vesk_StrukturFehler::ANHANGBESCHREIBUNG_UNGUELTIG,
                                        "Datenformat der Anhanglaenge ungueltig");
    fehler.verorteBeiSatz(index);
    fehler.setzeSatzOffset(offset);
    return 0;
  }
  if (*laenge == 0) {
    Vesk_Fehler& fehler = meldeStruktur(liste, Vesk_StrukturFehler::ANHANGBESCHREIBUNG_UNGUELTIG,
                                        "Anhang mit der Laenge 0 nicht zugelassen");
    fehler.verorteBeiSatz(index);
    fehler.setzeSatzOffset(offset);
  }
  return *laenge;
}
