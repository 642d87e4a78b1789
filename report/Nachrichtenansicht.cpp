#include "report/Nachrichtenansicht.h"

#include <algorithm>
#include <string_view>

#include "config/IniFile.h"
#include "config/SatzartenRegister.h"
#include "config/Vesk_DatenFeld.h"
#include "config/Vesk_Exception.h"
#include "config/Vesk_IniFileException.h"
#include "config/Vesk_Satzart.h"
#include "config/Vesk_SatzartenFabrik.h"
#include "driver/Konfiguration.h"
#include "driver/NachrichtenDatei.h"
#include "fields/MeldungsText.h"
#include "fields/Vesk_Feldart.h"

namespace vesk {

namespace {

using Bytes = std::span<const unsigned char>;

constexpr std::size_t SATZLAENGE = Vesk_Satzart::SATZLAENGE;
constexpr std::size_t TEILSATZ_ZEICHEN = 66;  // the sub-type character of a partial record
constexpr std::int32_t ANHANGSLAENGE_FELD = 12;

std::string alsZeichen(Bytes bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The record type named `name` (message characters), as the frame looks it up; a faulty
// definition counts as none, and its report, naming its file, goes to `problem`.
const Vesk_Satzart* sucheSatzart(const Konfiguration& konfiguration, const std::string& name,
                                 std::optional<std::string>& problem) {
  if (!MeldungsText(name).istAscii()) {
    return nullptr;
  }
  try {
    return konfiguration.gibSatzarten().suche(name);
  } catch (Vesk_IniFileException& e) {
    konfiguration.benenneDatei(e);
    problem = e.toString();
    return nullptr;
  }
}

// The field kind as the definition writes it: the second of its comma-separated parameters.
std::string feldartAus(std::string_view definition) {
  std::string parameter;
  int n = 0;
  for (const char zeichen : definition) {
    if (zeichen == ',') {
      ++n;
    } else if (n == 1 && zeichen != ' ' && zeichen != '\t') {
      parameter.push_back(zeichen);
    }
  }
  return parameter;
}

std::string feldtypAus(std::int32_t feldTyp) {
  if (feldTyp == Vesk_DatenFeld::MUSS) {
    return "m";
  }
  return feldTyp == Vesk_DatenFeld::MUSS_KANN ? "mk" : "k";
}

// The state of a field, mapped from its kind's status exactly as the field check maps it to a
// finding, so that a viewer and the check never disagree.
FeldZustand zustandVon(const Vesk_DatenFeld& feld, Bytes bytes, std::size_t anfang) {
  const int status =
      feld.gibFeldArt().pruefe(bytes, anfang, feld.gibAnzahlBytes(), feld.gibWerteMenge());
  const bool muss = feld.gibFeldTyp() == Vesk_DatenFeld::MUSS;
  switch (status) {
    case Vesk_Feldart::INITIALWERT:
      return muss ? FeldZustand::mussFeldLeer : FeldZustand::initialwert;
    case Vesk_Feldart::UNGUELTIG:
      return FeldZustand::falschesFormat;
    case Vesk_Feldart::INITIALWERT_NICHT_IM_WERTEBEREICH:
      return muss ? FeldZustand::nichtInWertemenge : FeldZustand::initialwert;
    case Vesk_Feldart::NICHT_IM_WERTEBEREICH:
      return FeldZustand::nichtInWertemenge;
    default:
      return FeldZustand::gueltig;
  }
}

// Fills in the fields of a record of `satzart` starting at `start`, which holds 256 bytes.
void zeigeFelder(SatzAnsicht& satz, const Vesk_Satzart& satzart, const IniFile& definitionen,
                 Bytes bytes, std::size_t start) {
  const std::string& name = satzart.gibBezeichner();
  const auto variablen = definitionen.variablesOf(name);
  satz.felder.reserve(satzart.gibAnzahlFelder());
  for (std::int32_t nummer = 1; const Vesk_DatenFeld* feld = satzart.gibDatenFeld(nummer);
       ++nummer) {
    FeldAnsicht& ansicht = satz.felder.emplace_back();
    const auto index = static_cast<std::size_t>(nummer - 1);
    ansicht.feldnummer = nummer;
    if (index < variablen.size()) {
      ansicht.feldname = variablen[index];
      ansicht.feldart = feldartAus(definitionen.getValue(name, ansicht.feldname));
    }
    ansicht.feldtyp = feldtypAus(feld->gibFeldTyp());
    // The record definition keeps every field within the 256 bytes of its record.
    const std::size_t anfang = start + static_cast<std::size_t>(feld->gibAdresse());
    ansicht.laenge = std::max(feld->gibAnzahlBytes(), 0);
    ansicht.offset = static_cast<std::int64_t>(anfang);
    ansicht.wert = alsZeichen(bytes.subspan(anfang, static_cast<std::size_t>(ansicht.laenge)));
    ansicht.zustand = zustandVon(*feld, bytes, anfang);
  }
}

// Shows the record at `start`, which holds at least 256 bytes, named as the frame names it: by
// its first 4 characters, else by those + "." + the sub-type character.
SatzAnsicht& zeigeSatz(Nachrichtenansicht& ansicht, const Konfiguration& konfiguration, Bytes bytes,
                       std::size_t start, std::int64_t index) {
  SatzAnsicht& satz = ansicht.datensaetze.emplace_back();
  satz.datensatz = index;
  satz.offset = static_cast<std::int64_t>(start);
  const Bytes satzBytes = bytes.subspan(start, SATZLAENGE);
  std::string name = alsZeichen(satzBytes.first(4));
  const Vesk_Satzart* satzart = sucheSatzart(konfiguration, name, satz.problem);
  if (satzart == nullptr) {
    name += '.';
    name += static_cast<char>(satzBytes[TEILSATZ_ZEICHEN]);
    satzart = sucheSatzart(konfiguration, name, satz.problem);
  }
  if (satzart == nullptr) {
    if (!satz.problem) {
      satz.problem = "Unbekannte Satzart";
    }
    satz.wert = alsZeichen(satzBytes);
    return satz;
  }
  satz.satzart = name;
  zeigeFelder(satz, *satzart, konfiguration.gibSatzarten().gibDatei(), bytes, start);
  return satz;
}

// The attachment length an attachment description declares, when it is one the frame accepts.
std::optional<std::int32_t> anhangsLaenge(const Konfiguration& konfiguration, Bytes bytes,
                                          std::size_t start) {
  const Vesk_Satzart& satzart =
      konfiguration.gibSatzarten().gib(Vesk_SatzartenFabrik::ANHANGSBESCHREIBUNG);
  const Vesk_DatenFeld* feld = satzart.gibDatenFeld(ANHANGSLAENGE_FELD);
  if (feld == nullptr) {
    return std::nullopt;
  }
  const auto laenge = feld->gibWert(bytes, start).alsGanzzahl();
  if (!laenge || *laenge <= 0) {
    return std::nullopt;
  }
  return laenge;
}

// Places the attachments, in the order of their descriptions, from `ende` (behind the last
// data record) on; each is complete when it ends before the trailer at `nachsatz`.
void platziereAnhaenge(Nachrichtenansicht& ansicht, std::int64_t ende, std::int64_t nachsatz) {
  for (SatzAnsicht& satz : ansicht.datensaetze) {
    if (satz.anhang) {
      satz.anhang->offset = ende;
      ende += satz.anhang->laenge;
      satz.anhang->vollstaendig = ende <= nachsatz;
    }
  }
}

// A message too short for header and trailer: its whole records, then the rest raw.
void zeigeBruchstueck(Nachrichtenansicht& ansicht, const Konfiguration& konfiguration,
                      Bytes bytes) {
  std::int64_t index = 0;
  std::size_t start = 0;
  for (; start + SATZLAENGE <= bytes.size(); start += SATZLAENGE) {
    zeigeSatz(ansicht, konfiguration, bytes, start, index++);
  }
  if (start < bytes.size()) {
    SatzAnsicht& rest = ansicht.datensaetze.emplace_back();
    rest.datensatz = index;
    rest.offset = static_cast<std::int64_t>(start);
    rest.problem = "Unvollstaendiger Datensatz";
    rest.wert = alsZeichen(bytes.subspan(start));
  }
}

// Walks the records as the frame does: records follow each other while, with the attachments
// declared so far, there is room for one more record and the trailer; then the trailer, the
// last 256 bytes. A record the frame would stop at ends the walk.
void wandere(Nachrichtenansicht& ansicht, const Konfiguration& konfiguration, Bytes bytes) {
  if (bytes.size() < 2 * SATZLAENGE) {
    zeigeBruchstueck(ansicht, konfiguration, bytes);
    return;
  }
  // 64-bit sums: declared attachment lengths add up to more than 32 bits.
  const auto laenge = static_cast<std::int64_t>(bytes.size());
  const std::int64_t nachsatz = laenge - static_cast<std::int64_t>(SATZLAENGE);
  std::int64_t start = 0;
  std::int64_t index = 0;
  std::int64_t anhaenge = 0;
  bool heil = true;
  do {
    const auto satzStart = static_cast<std::size_t>(start);
    SatzAnsicht& satz = zeigeSatz(ansicht, konfiguration, bytes, satzStart, index++);
    start += static_cast<std::int64_t>(SATZLAENGE);
    if (!satz.satzart) {
      heil = false;
    } else if (*satz.satzart == Vesk_SatzartenFabrik::ANHANGSBESCHREIBUNG) {
      const auto anhang = anhangsLaenge(konfiguration, bytes, satzStart);
      heil = anhang.has_value();
      if (heil) {
        satz.anhang = AnhangAnsicht{std::nullopt, *anhang, false};
        anhaenge += *anhang;
      }
    }
  } while (heil && anhaenge + start + 2 * static_cast<std::int64_t>(SATZLAENGE) <= laenge);
  if (heil) {
    platziereAnhaenge(ansicht, start, nachsatz);
  }
  zeigeSatz(ansicht, konfiguration, bytes, static_cast<std::size_t>(nachsatz), index);
}

// Whether `offset` lies in the bytes `satz` shows.
bool enthaelt(const SatzAnsicht& satz, std::int64_t offset) {
  const auto laenge = static_cast<std::int64_t>(satz.wert.empty() ? SATZLAENGE : satz.wert.size());
  return offset >= satz.offset && offset < satz.offset + laenge;
}

// Ties each finding to the record its offset lies in and, for a field finding, to the field;
// the rest (the rules', the frame's sums) belong to the message.
void ordneZu(Nachrichtenansicht& ansicht, std::vector<VerorteterFehler> fehler) {
  for (VerorteterFehler& eintrag : fehler) {
    SatzAnsicht* satz = nullptr;
    for (SatzAnsicht& kandidat : ansicht.datensaetze) {
      if (eintrag.offset && enthaelt(kandidat, *eintrag.offset)) {
        satz = &kandidat;
        break;
      }
    }
    if (satz == nullptr) {
      ansicht.fehler.push_back(std::move(eintrag));
      continue;
    }
    const std::int32_t nummer = eintrag.feldnummer.value_or(0);
    if (nummer >= 1 && static_cast<std::size_t>(nummer) <= satz->felder.size() &&
        eintrag.satzart == satz->satzart) {
      satz->felder[static_cast<std::size_t>(nummer - 1)].fehler.push_back(std::move(eintrag));
    } else {
      satz->fehler.push_back(std::move(eintrag));
    }
  }
}

}  // namespace

Nachrichtenansicht zeigeBytes(const Konfiguration& konfiguration, Bytes bytes, std::string name) {
  Nachrichtenansicht ansicht;
  ansicht.ergebnis = pruefeBytes(konfiguration, bytes, std::move(name));
  std::vector<VerorteterFehler> fehler = std::move(ansicht.ergebnis.fehler);
  ansicht.ergebnis.fehler.clear();
  ansicht.anzahlFehler = fehler.size();
  try {
    wandere(ansicht, konfiguration, bytes);
  } catch (const Vesk_Exception&) {
    // A record type the frame needs (the attachment description) is faulty: the check has
    // reported it as its abbruch, and the walk shows what it read before.
  }
  ordneZu(ansicht, std::move(fehler));
  return ansicht;
}

Nachrichtenansicht zeigeDatei(const Konfiguration& konfiguration, const std::string& pfad) {
  const NachrichtenDatei datei(pfad);
  // zeigeBytes turns every fault of the message into its abbruch.
  Nachrichtenansicht ansicht = zeigeBytes(konfiguration, datei.bytes(), pfad);
  datei.pruefeUnversehrt();
  return ansicht;
}

}  // namespace vesk
