#include "lint/DefinitionsPruefung.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

#include "config/IniFile.h"
#include "config/SatzartenRegister.h"
#include "config/Text.h"
#include "config/Vesk_DatenFeld.h"
#include "config/Vesk_DatensatzDateiException.h"
#include "config/Vesk_Satzart.h"
#include "config/Vesk_StrukturDateiException.h"
#include "driver/Konfiguration.h"
#include "fields/Vesk_WerteMenge.h"
#include "fields/Vesk_WerteMengeAufzaehlung.h"
#include "fields/Vesk_WertemengenFabrik.h"
#include "fields/WertemengenRegister.h"
#include "lint/Zeilenverzeichnis.h"
#include "rules/Vesk_MussKannPlausi.h"
#include "structure/Vesk_NachrichtenFeld.h"
#include "structure/Vesk_NachrichtenTyp.h"

namespace vesk {

namespace {

constexpr std::string_view WERTEMENGEN = "Wertemengen";
constexpr std::string_view NACHRICHTENTYPEN = "Nachrichtentypen";
constexpr std::string_view MUSS_KANN = "muss-kann-Plausis";
constexpr std::size_t SATZLAENGE = Vesk_Satzart::SATZLAENGE;

// The field kinds report an unknown code on standard error while a record type is built; the
// lint builds record types more than once and reports the fault itself.
class OhneFehlerausgabe {
 public:
  OhneFehlerausgabe() : alt(std::cerr.rdbuf(senke.rdbuf())) {}
  ~OhneFehlerausgabe() { std::cerr.rdbuf(alt); }
  OhneFehlerausgabe(const OhneFehlerausgabe&) = delete;
  OhneFehlerausgabe& operator=(const OhneFehlerausgabe&) = delete;

 private:
  std::ostringstream senke;
  std::streambuf* alt;
};

// The parameters of a field definition as the field reads them: split at the first four commas,
// blanks and tabs dropped.
std::vector<std::string> parameter(std::string_view definition) {
  std::vector<std::string> teile(1);
  for (const char zeichen : definition) {
    if (zeichen == ' ' || zeichen == '\t') {
      continue;
    }
    if (zeichen == ',' && teile.size() < 5) {
      teile.emplace_back();
    } else {
      teile.back().push_back(zeichen);
    }
  }
  return teile;
}

std::string bytes(std::int64_t von, std::int64_t bis) {
  return von == bis ? std::to_string(von) : std::to_string(von) + "-" + std::to_string(bis);
}

// Collects the report while the configuration is built.
class Pruefer {
 public:
  Pruefer(const IniFile& strukturIni, const IniFile& datensatzIni, const std::string& strukturName,
          const std::string& datensatzName, bool kartenZeichnen)
      : mitKarten(kartenZeichnen),
        struktur(strukturIni),
        datensaetze(datensatzIni),
        strukturDatei(strukturName),
        datensatzDatei(datensatzName),
        strukturZeilen(strukturIni),
        datensatzZeilen(datensatzIni) {}

  void pruefe() {
    const OhneFehlerausgabe still;
    pruefeWertemengen();
    pruefeSatzarten();
    pruefeNachrichtentypen();
    pruefeMussKann();
    pruefeGelesen();
    warneUngenutzte();
  }

  std::vector<Definitionsbefund> befunde;
  std::vector<Satzkarte> karten;

 private:
  void melde(const std::string& datei, std::size_t zeile, Definitionsbefund::Art art,
             std::string text) {
    befunde.push_back({datei, zeile, art, std::move(text)});
  }
  // A fault as the checker's report shows it, naming the file it lies in: the file its class
  // names, or `datei` where the caller knows better (a field's address beyond the record is
  // thrown as a fault of the structure-definition file).
  void meldeFehler(Vesk_IniFileException& e, std::size_t zeile,
                   const std::string* datei = nullptr) {
    if (datei == nullptr) {
      datei = dynamic_cast<Vesk_StrukturDateiException*>(&e) != nullptr ? &strukturDatei
                                                                        : &datensatzDatei;
    }
    e.setzeEigeneDatei(*datei);
    melde(*datei, zeile, Definitionsbefund::Art::fehler, e.toString());
  }

  void pruefeWertemengen() {
    const auto namen = datensaetze.variablesOf(WERTEMENGEN);
    if (namen.empty()) {
      Vesk_DatensatzDateiException fehlt("Gruppe [Wertemengen] fehlt");
      meldeFehler(fehlt, 1);
    }
    WertemengenRegister::Mengen mengen;
    for (const std::string& name : namen) {
      const std::string definition = datensaetze.getValue(WERTEMENGEN, name);
      const std::size_t zeile = datensatzZeilen.variable(WERTEMENGEN, name);
      benannteMengen.emplace(name, zeile);
      try {
        mengen.insert_or_assign(
            name, Vesk_WertemengenFabrik::erzeugeBenannteWerteMenge(name, definition));
      } catch (Vesk_IniFileException& e) {
        meldeFehler(e, zeile);
        weiseAufGrenzenHin(definition, zeile);
        // Stands in for the faulty set, so that the fields naming it do not fail as well.
        mengen.insert_or_assign(
            name, std::make_unique<Vesk_WerteMengeAufzaehlung>(name, std::vector<std::string>{}));
      }
    }
    werteMengen = std::make_unique<WertemengenRegister>(std::move(mengen));
  }

  void weiseAufGrenzenHin(std::string_view definition, std::size_t zeile) {
    const std::size_t minus = definition.find('-');
    if (minus == std::string_view::npos ||
        definition.find_first_of(",<") != std::string_view::npos) {
      return;
    }
    for (const std::string_view grenze :
         {definition.substr(0, minus), definition.substr(minus + 1)}) {
      std::string ohneLeer;
      for (const char zeichen : grenze) {
        if (zeichen != ' ' && zeichen != '\t') {
          ohneLeer += zeichen;
        }
      }
      if (!leseGanzzahl(ohneLeer) && ohneLeer.find('-') == std::string::npos) {
        melde(datensatzDatei, zeile, Definitionsbefund::Art::hinweis,
              "Die Grenze '" + ohneLeer + "' ist keine ganze Zahl von 0 bis 2147483647");
      }
    }
  }

  void pruefeSatzarten() {
    for (const std::string& gruppe : datensaetze.getSubjects()) {
      if (gruppe == WERTEMENGEN) {
        continue;
      }
      const auto variablen = datensaetze.variablesOf(gruppe);
      std::vector<std::string> definitionen;
      for (const std::string& variable : variablen) {
        definitionen.push_back(datensaetze.getValue(gruppe, variable));
        const auto teile = parameter(definitionen.back());
        if (teile.size() == 5) {
          genutzteMengen.insert(teile[4]);
        }
      }
      warneMehrfache(gruppe);
      pruefeLaengen(gruppe, variablen, definitionen);
      try {
        const Vesk_Satzart satzart(gruppe, definitionen, *werteMengen);
        zeichneKarte(gruppe, variablen, satzart);
      } catch (Vesk_IniFileException& e) {
        fehlerhafteSatzarten.insert_or_assign(gruppe, e.gibBeschreibung());
        ortFehlerhafteSatzart(gruppe, variablen, definitionen, e);
      }
    }
  }

  // A field written twice: the store keeps the last definition and drops the others silently.
  void warneMehrfache(const std::string& gruppe) {
    for (const auto& [name, zuweisungen] : datensatzZeilen.mehrfache(gruppe)) {
      std::string zeilen;
      for (std::size_t i = 0; i < zuweisungen.size(); ++i) {
        if (i > 0) {
          zeilen += i + 1 == zuweisungen.size() ? " und " : ", ";
        }
        zeilen += std::to_string(zuweisungen[i].zeile);
      }
      melde(datensatzDatei, zuweisungen.front().zeile, Definitionsbefund::Art::warnung,
            "Das Feld " + name + " der Satzart " + gruppe + " ist in den Zeilen " + zeilen +
                " definiert; es gilt nur Zeile " + std::to_string(zuweisungen.back().zeile));
    }
  }

  // The length as the field reads it: a negative one the field accepts, yet it covers no byte
  // and fails in every record; one of 0 is legal, yet fails in every record as well.
  void pruefeLaengen(const std::string& gruppe, std::span<const std::string> variablen,
                     std::span<const std::string> definitionen) {
    for (std::size_t i = 0; i < definitionen.size(); ++i) {
      const auto teile = parameter(definitionen[i]);
      const std::optional<std::int32_t> laenge =
          teile.size() < 4 ? std::nullopt : leseGanzzahl(teile[3]);
      if (!laenge || *laenge > 0) {
        continue;
      }
      const std::size_t zeile = datensatzZeilen.variable(gruppe, variablen[i]);
      if (*laenge < 0) {
        Vesk_DatensatzDateiException negativ(
            "Ungueltiger Wert " + teile[3] + " (Laenge darf nicht negativ sein)", gruppe);
        meldeFehler(negativ, zeile, &datensatzDatei);
        continue;
      }
      melde(datensatzDatei, zeile, Definitionsbefund::Art::warnung,
            "Das Feld " + variablen[i] + " der Satzart " + gruppe +
                " hat die Laenge 0: jeder Satz dieser Satzart ist darin fehlerhaft (" +
                leerBefund(definitionen[i]) + ")");
    }
  }

  // The checker's finding for a field of no bytes: "Falsches Format", unless a value set that
  // lacks the empty text is checked first.
  [[nodiscard]] std::string leerBefund(const std::string& definition) const {
    try {
      const Vesk_DatenFeld feld(definition, *werteMengen);
      if (feld.gibWerteMenge() != nullptr && !feld.gibWerteMenge()->inDerMenge(MeldungsText())) {
        return "Nicht in Wertemenge";
      }
    } catch (const Vesk_IniFileException&) {
      // Its own fault is reported; the kind decides nothing here.
    }
    return "Falsches Format";
  }

  // Finds the definition to blame for a record type that failed to build: the first field that
  // fails on its own, else the overlap or the gap the record type reports.
  void ortFehlerhafteSatzart(const std::string& gruppe, std::span<const std::string> variablen,
                             std::span<const std::string> definitionen, Vesk_IniFileException& e) {
    std::vector<std::unique_ptr<Vesk_DatenFeld>> felder;
    for (std::size_t i = 0; i < definitionen.size(); ++i) {
      try {
        felder.push_back(std::make_unique<Vesk_DatenFeld>(definitionen[i], *werteMengen));
      } catch (const Vesk_IniFileException&) {
        meldeFehler(e, datensatzZeilen.variable(gruppe, variablen[i]), &datensatzDatei);
        return;
      }
    }
    std::array<int, SATZLAENGE> belegt{};
    belegt.fill(-1);
    for (std::size_t i = 0; i < felder.size(); ++i) {
      const auto anfang = static_cast<std::size_t>(felder[i]->gibAdresse());
      const std::int64_t ende = std::int64_t{felder[i]->gibAdresse()} + felder[i]->gibAnzahlBytes();
      for (std::size_t j = anfang; static_cast<std::int64_t>(j) < ende && j < SATZLAENGE; ++j) {
        if (belegt[j] >= 0) {
          const auto erster = static_cast<std::size_t>(belegt[j]);
          const std::size_t zeile = datensatzZeilen.variable(gruppe, variablen[i]);
          meldeFehler(e, zeile, &datensatzDatei);
          melde(datensatzDatei, zeile, Definitionsbefund::Art::hinweis,
                "Byte " + std::to_string(j + 1) + " liegt in " + variablen[erster] + " (Bytes " +
                    feldBytes(*felder[erster]) + ") und in " + variablen[i] + " (Bytes " +
                    feldBytes(*felder[i]) + ")");
          return;
        }
        belegt[j] = static_cast<int>(i);
      }
    }
    const std::size_t zeile = datensatzZeilen.gruppe(gruppe);
    meldeFehler(e, zeile, &datensatzDatei);
    std::string luecken;
    for (std::size_t j = 0; j < SATZLAENGE; ++j) {
      if (belegt[j] < 0) {
        std::size_t bis = j;
        while (bis + 1 < SATZLAENGE && belegt[bis + 1] < 0) {
          ++bis;
        }
        luecken += (luecken.empty() ? "" : ", ") +
                   bytes(static_cast<std::int64_t>(j) + 1, static_cast<std::int64_t>(bis) + 1);
        j = bis;
      }
    }
    if (!luecken.empty()) {
      melde(datensatzDatei, zeile, Definitionsbefund::Art::hinweis,
            "Kein Feld deckt die Bytes " + luecken + " ab");
      weiseAufVerworfeneHin(gruppe, belegt, zeile);
    }
  }

  // A field written twice may leave the gap: the bytes its dropped definition covers.
  void weiseAufVerworfeneHin(const std::string& gruppe, const std::array<int, SATZLAENGE>& belegt,
                             std::size_t zeile) {
    for (const auto& [name, zuweisungen] : datensatzZeilen.mehrfache(gruppe)) {
      for (std::size_t i = 0; i + 1 < zuweisungen.size(); ++i) {
        std::unique_ptr<Vesk_DatenFeld> feld;
        try {
          feld = std::make_unique<Vesk_DatenFeld>(zuweisungen[i].wert, *werteMengen);
        } catch (const Vesk_IniFileException&) {
          continue;  // dropped, and faulty besides: it would not cover the gap either
        }
        const std::int64_t anfang = feld->gibAdresse();
        const std::int64_t ende =
            std::min(anfang + feld->gibAnzahlBytes(), static_cast<std::int64_t>(SATZLAENGE));
        bool inLuecke = false;
        for (std::int64_t j = anfang; j < ende && !inLuecke; ++j) {
          inLuecke = belegt[static_cast<std::size_t>(j)] < 0;
        }
        if (inLuecke) {
          melde(datensatzDatei, zeile, Definitionsbefund::Art::hinweis,
                "Die Bytes " + feldBytes(*feld) + " deckt " + name + " in Zeile " +
                    std::to_string(zuweisungen[i].zeile) + " ab, doch fuer " + name +
                    " gilt nur Zeile " + std::to_string(zuweisungen.back().zeile));
        }
      }
    }
  }

  static std::string feldBytes(const Vesk_DatenFeld& feld) {
    return bytes(std::int64_t{feld.gibAdresse()} + 1,
                 std::int64_t{feld.gibAdresse()} + feld.gibAnzahlBytes());
  }

  void zeichneKarte(const std::string& gruppe, std::span<const std::string> variablen,
                    const Vesk_Satzart& satzart) {
    gebauteSatzarten.insert(gruppe);
    warneErstesFeld(gruppe, variablen, satzart);
    if (!mitKarten) {
      return;
    }
    Satzkarte& karte = karten.emplace_back();
    karte.satzart = gruppe;
    karte.feldnamen.assign(variablen.begin(), variablen.end());
    karte.feld.fill(-1);
    for (std::size_t i = 0; i < satzart.gibAnzahlFelder(); ++i) {
      const Vesk_DatenFeld& feld = *satzart.gibDatenFeld(static_cast<std::int64_t>(i) + 1);
      for (std::int32_t j = 0; j < feld.gibAnzahlBytes(); ++j) {
        karte.feld[static_cast<std::size_t>(feld.gibAdresse() + j)] = static_cast<int>(i);
      }
    }
  }

  void warneErstesFeld(const std::string& gruppe, std::span<const std::string> variablen,
                       const Vesk_Satzart& satzart) {
    const Vesk_DatenFeld& erstes = *satzart.gibDatenFeld(1);
    if (erstes.gibAdresse() != 0 || erstes.gibAnzahlBytes() < 4) {
      melde(datensatzDatei, datensatzZeilen.variable(gruppe, variablen.front()),
            Definitionsbefund::Art::warnung,
            "Das erste Feld der Satzart " + gruppe +
                " deckt nicht die Bytes 1-4 ab, die die Satzart einer Nachricht nennen");
    }
  }

  void pruefeNachrichtentypen() {
    satzArten = std::make_unique<SatzartenRegister>(datensaetze, *werteMengen);
    const auto typen = struktur.variablesOf(NACHRICHTENTYPEN);
    if (typen.empty()) {
      Vesk_StrukturDateiException fehlt("Gruppe [Nachrichtentypen] fehlt fehlt");
      meldeFehler(fehlt, 1);
    }
    std::set<std::string, std::less<>> geprueft;
    for (const std::string& name : typen) {
      const std::size_t zeile = strukturZeilen.variable(NACHRICHTENTYPEN, name);
      if (trimme(struktur.getValue(NACHRICHTENTYPEN, name)).empty()) {
        Vesk_StrukturDateiException ohne(name + " : keine Sendeart angegeben");
        meldeFehler(ohne, zeile);
      }
      if (geprueft.insert(name).second) {
        pruefeNachrichtentyp(name, zeile);
      }
    }
    pruefeSendearten(typen);
    // Every check of a claim report asks for this type by name.
    if (!geprueft.contains("Schadenmeldung")) {
      pruefeNachrichtentyp("Schadenmeldung", 1);
    }
  }

  // The checker finds a message's type by its Sendeart, the last type listed with it winning: a
  // message of an earlier type with that Sendeart is checked as the last one.
  void pruefeSendearten(std::span<const std::string> typen) {
    std::map<std::string, std::vector<std::string>, std::less<>> nachSendeart;
    for (const std::string& name : typen) {
      const std::string wert = struktur.getValue(NACHRICHTENTYPEN, name);
      const std::string_view sendeart = trimme(wert);
      if (!sendeart.empty()) {
        nachSendeart[std::string(sendeart)].push_back(name);
      }
    }
    const auto mitZeile = [&](const std::string& name) {
      return name + " (Zeile " + std::to_string(strukturZeilen.variable(NACHRICHTENTYPEN, name)) +
             ")";
    };
    for (const auto& [sendeart, namen] : nachSendeart) {
      for (std::size_t i = 1; i < namen.size(); ++i) {
        Vesk_StrukturDateiException doppelt(
            "Sendeart " + sendeart + " doppelt vergeben: " + mitZeile(namen.front()) + " und " +
                mitZeile(namen[i]) + "; Nachrichten mit Sendeart " + sendeart +
                " prueft der Pruefer als " + namen.back(),
            std::string(NACHRICHTENTYPEN));
        meldeFehler(doppelt, strukturZeilen.variable(NACHRICHTENTYPEN, namen[i]));
      }
    }
  }

  void pruefeNachrichtentyp(const std::string& name, std::size_t zeile) {
    const auto felder = struktur.variablesOf(name);
    if (felder.empty()) {
      Vesk_StrukturDateiException fehlt("Nachrichtentyp " + name + " nicht gefunden");
      meldeFehler(fehlt, zeile);
      return;
    }
    for (const std::string& feld : felder) {
      const std::string beschreibung = struktur.getValue(name, feld);
      const std::size_t feldZeile = strukturZeilen.variable(name, feld);
      try {
        const Vesk_NachrichtenFeld nachrichtenFeld(feld, beschreibung, *satzArten);
        erlaubeSatzarten(feld, nachrichtenFeld.gibAnzahlTeilDatensaetze());
      } catch (Vesk_StrukturDateiException& e) {
        if (istFehlerEinerSatzart(e)) {
          erlaubeTrotzFehler(feld, beschreibung);
          continue;
        }
        e.setzeGruppe(name);
        meldeFehler(e, feldZeile);
      } catch (const Vesk_IniFileException&) {
        erlaubeTrotzFehler(feld, beschreibung);
      }
    }
  }

  // Whether the fault is the one a record type failed with: a field's address beyond the record
  // is thrown as a fault of the structure-definition file and named by the record type.
  [[nodiscard]] bool istFehlerEinerSatzart(const Vesk_IniFileException& e) const {
    if (!e.gibGruppe()) {
      return false;
    }
    const auto fehler = fehlerhafteSatzarten.find(*e.gibGruppe());
    return fehler != fehlerhafteSatzarten.end() && fehler->second == e.gibBeschreibung();
  }

  // A faulty record type, reported at its own definition; the field still allows its partial
  // records ("1,2": two of them).
  void erlaubeTrotzFehler(const std::string& feld, std::string_view beschreibung) {
    const std::size_t komma = beschreibung.find(',');
    const auto teile = komma == std::string_view::npos
                           ? std::optional<std::int32_t>(1)
                           : leseGanzzahl(trimme(beschreibung.substr(komma + 1)));
    erlaubeSatzarten(feld, teile.value_or(1));
  }

  void erlaubeSatzarten(const std::string& name, std::int32_t teile) {
    if (teile <= 1) {
      erlaubteSatzarten.insert(name);
      return;
    }
    for (std::int32_t i = 1; i <= teile && i <= 1000; ++i) {
      erlaubteSatzarten.insert(name + "." + std::to_string(i));
    }
  }

  void pruefeMussKann() {
    std::optional<Vesk_MussKannPlausi> regeln;
    try {
      regeln.emplace(struktur, satzArten.get(), nullptr);
    } catch (Vesk_IniFileException& e) {
      meldeFehler(e, strukturZeilen.gruppe(MUSS_KANN));
      return;
    }
    if (struktur.getValue(MUSS_KANN, "Regel1") == "ein") {
      braucheFelder("4001", {9});
      braucheFelder("4100.1", {3, 4, 8, 12, 13, 14, 15});
    }
    if (struktur.getValue(MUSS_KANN, "Regel2") == "ein") {
      braucheFelder("4001", {3, 9});
    }
  }

  // The fields the frame reads of the header, the trailer and an attachment description.
  void pruefeGelesen() {
    braucheFelder("4001", {2});
    braucheFelder("4999", {2});
    if (datensaetze.hasVariables("4900")) {
      braucheFelder("4900", {12});
    }
  }

  void braucheFelder(const std::string& satzart, std::initializer_list<std::int32_t> nummern) {
    if (!datensaetze.hasVariables(satzart)) {
      Vesk_DatensatzDateiException fehlt("Satzart " + satzart + " nicht definiert", satzart);
      if (gemeldet.insert(fehlt.toString()).second) {
        meldeFehler(fehlt, 1);
      }
      return;
    }
    if (!gebauteSatzarten.contains(satzart)) {
      return;  // its own fault is reported
    }
    for (const std::int32_t nummer : nummern) {
      try {
        static_cast<void>(satzArten->gib(satzart).gibBenoetigtesDatenFeld(nummer));
      } catch (Vesk_IniFileException& e) {
        if (gemeldet.insert(e.toString()).second) {
          meldeFehler(e, datensatzZeilen.gruppe(satzart));
        }
      }
    }
  }

  void warneUngenutzte() {
    for (const auto& [name, zeile] : benannteMengen) {
      if (!genutzteMengen.contains(name)) {
        melde(datensatzDatei, zeile, Definitionsbefund::Art::warnung,
              "Die Wertemenge " + name + " nutzt kein Feld");
      }
    }
    for (const std::string& gruppe : gebauteSatzarten) {
      if (!erlaubteSatzarten.contains(gruppe)) {
        melde(datensatzDatei, datensatzZeilen.gruppe(gruppe), Definitionsbefund::Art::warnung,
              "Die Satzart " + gruppe + " erlaubt kein Nachrichtentyp");
      }
    }
  }

  bool mitKarten;
  const IniFile& struktur;
  const IniFile& datensaetze;
  const std::string& strukturDatei;
  const std::string& datensatzDatei;
  Zeilenverzeichnis strukturZeilen;
  Zeilenverzeichnis datensatzZeilen;
  std::unique_ptr<WertemengenRegister> werteMengen;
  std::unique_ptr<SatzartenRegister> satzArten;
  std::map<std::string, std::size_t, std::less<>> benannteMengen;  // name, line
  std::set<std::string, std::less<>> genutzteMengen;
  std::set<std::string, std::less<>> gebauteSatzarten;
  std::map<std::string, std::string, std::less<>> fehlerhafteSatzarten;  // name, description
  std::set<std::string, std::less<>> erlaubteSatzarten;
  std::set<std::string, std::less<>> gemeldet;
};

}  // namespace

DefinitionsPruefung DefinitionsPruefung::ausHauptdatei(const std::string& hauptDatei,
                                                       bool mitKarten) {
  const Konfiguration::Dateien dateien = Konfiguration::leseHauptdatei(hauptDatei);
  DefinitionsPruefung pruefung;
  try {
    Konfiguration::pruefeVorhanden(dateien);
  } catch (const Vesk_Exception& e) {
    const Zeilenverzeichnis zeilen{IniFile(hauptDatei)};
    const bool struktur = dynamic_cast<const Vesk_StrukturDateiException*>(&e) != nullptr;
    pruefung.befunde.push_back(
        {hauptDatei, zeilen.variable("PLAUSIPRUEFUNG", struktur ? "STRUKTUR" : "DATENSAETZE"),
         Definitionsbefund::Art::fehler, e.toString()});
    return pruefung;
  }
  return DefinitionsPruefung(IniFile(dateien.struktur), IniFile(dateien.datensaetze),
                             dateien.struktur, dateien.datensaetze, mitKarten);
}

DefinitionsPruefung::DefinitionsPruefung(const IniFile& struktur, const IniFile& datensaetze,
                                         const std::string& strukturName,
                                         const std::string& datensatzName, bool mitKarten) {
  Pruefer pruefer(struktur, datensaetze, strukturName, datensatzName, mitKarten);
  pruefer.pruefe();
  befunde = std::move(pruefer.befunde);
  karten = std::move(pruefer.karten);
  std::stable_sort(befunde.begin(), befunde.end(),
                   [&](const Definitionsbefund& a, const Definitionsbefund& b) {
                     const bool aDatensatz = a.datei == datensatzName;
                     const bool bDatensatz = b.datei == datensatzName;
                     if (aDatensatz != bDatensatz) {
                       return aDatensatz;
                     }
                     return a.zeile < b.zeile;
                   });
}

std::size_t DefinitionsPruefung::gibAnzahlFehler() const {
  return static_cast<std::size_t>(
      std::count_if(befunde.begin(), befunde.end(), [](const Definitionsbefund& befund) {
        return befund.art == Definitionsbefund::Art::fehler;
      }));
}

std::string alsZeile(const Definitionsbefund& befund) {
  constexpr std::array<std::string_view, 3> ARTEN = {"Fehler", "Hinweis", "Warnung"};
  return befund.datei + ":" + std::to_string(befund.zeile) + ": " +
         std::string(ARTEN[static_cast<std::size_t>(befund.art)]) + ": " + befund.text;
}

std::string alsText(const Satzkarte& karte) {
  constexpr std::string_view ZEICHEN =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  const auto zeichen = [&](int feld) {
    if (feld < 0) {
      return '.';
    }
    const auto index = static_cast<std::size_t>(feld);
    return index < ZEICHEN.size() ? ZEICHEN[index] : '*';
  };
  std::string text = "Satzart " + karte.satzart + "\n";
  text += std::string(10, ' ');
  for (std::size_t spalte = 0; spalte < 64; spalte += 8) {
    const std::string nummer = std::to_string(spalte + 1);
    text += nummer + std::string(8 - nummer.size(), ' ');
  }
  text.erase(text.find_last_not_of(' ') + 1);
  text += '\n';
  for (std::size_t zeile = 0; zeile < SATZLAENGE / 64; ++zeile) {
    const std::string von = std::to_string(zeile * 64 + 1);
    text += std::string(6 - von.size(), ' ') + von + "    ";
    for (std::size_t i = 0; i < 64; ++i) {
      text += zeichen(karte.feld[zeile * 64 + i]);
    }
    text += '\n';
  }
  for (std::size_t i = 0; i < karte.feldnamen.size(); ++i) {
    const auto erster = std::find(karte.feld.begin(), karte.feld.end(), static_cast<int>(i));
    const auto letzter = std::find(karte.feld.rbegin(), karte.feld.rend(), static_cast<int>(i));
    std::string bereich = "leer";
    if (erster != karte.feld.end()) {
      bereich = bytes(erster - karte.feld.begin() + 1, karte.feld.rend() - letzter);
    }
    text += "  " + std::string(1, zeichen(static_cast<int>(i))) + " " + karte.feldnamen[i] + " (" +
            bereich + ")\n";
  }
  return text;
}

}  // namespace vesk
