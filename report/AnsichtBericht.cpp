#include "report/AnsichtBericht.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>
#include <string_view>

#include "config/Ausgabe.h"
#include "fields/MeldungsText.h"
#include "report/JsonBericht.h"
#include "report/Nachrichtenansicht.h"

namespace vesk {

namespace {

constexpr std::array<std::string_view, 5> ZUSTAENDE = {
    "gueltig", "Initialwert", "Falsches Format", "Muss-Feld nicht gefuellt", "Nicht in Wertemenge"};
constexpr std::array<std::string_view, 5> JSON_ZUSTAENDE = {
    "gueltig", "initialwert", "falsches_format", "muss_feld_leer", "nicht_in_wertemenge"};
constexpr std::size_t ZUSTAND_BREITE = 24;  // the longest state

std::string_view zustandsText(FeldZustand zustand, const std::array<std::string_view, 5>& namen) {
  return namen.at(static_cast<std::size_t>(zustand));
}

// Message bytes as the console shows them, except that control characters (C0, DEL and C1),
// which would steer the terminal, appear as \xHH. All message bytes of the text output pass
// here.
std::string lesbar(std::string_view bytes) {
  std::string aus;
  aus.reserve(bytes.size());
  for (const char zeichen : bytes) {
    const auto byte = static_cast<unsigned char>(zeichen);
    if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0)) {
      haengeHexAn(aus, byte);
    } else {
      aus += MeldungsText(std::string_view(&zeichen, 1)).alsUtf8();
    }
  }
  return aus;
}

std::string rechts(const std::string& text, std::size_t breite) {
  return std::string(breite > text.size() ? breite - text.size() : 0, ' ') + text;
}

std::string links(std::string_view text, std::size_t breite) {
  std::string aus(text);
  aus.resize(std::max(breite, text.size()), ' ');
  return aus;
}

// A value in quotes; a long run of trailing blanks (reserve fields, padded texts) is counted
// instead of shown, so that a record's fields stay one line each.
std::string wertText(std::string_view wert) {
  constexpr std::size_t HOECHSTENS = 8;
  const std::size_t ende = wert.find_last_not_of(' ') + 1;  // npos + 1 == 0: blanks only
  if (wert.size() - ende <= HOECHSTENS) {
    return '"' + lesbar(wert) + '"';
  }
  return '"' + lesbar(wert.substr(0, ende)) + "\" + " + std::to_string(wert.size() - ende) +
         " Leerzeichen";
}

void schreibeFehler(std::string& aus, const std::vector<VerorteterFehler>& fehler,
                    std::string_view einzug) {
  for (const VerorteterFehler& eintrag : fehler) {
    aus += std::string(einzug) + "! " + maskiert(eintrag.konsolenZeile) + '\n';
  }
}

void schreibeFelder(std::string& aus, const std::vector<FeldAnsicht>& felder) {
  // Names are escaped before they are padded, so that a control in one keeps the columns.
  std::vector<std::string> namen;
  namen.reserve(felder.size());
  std::size_t breite = 8;
  for (const FeldAnsicht& feld : felder) {
    breite = std::max(breite, namen.emplace_back(maskiert(feld.feldname)).size());
  }
  aus += "   Nr " + links("Feldname", breite) + " Art Typ  Offset Laenge " +
         links("Zustand", ZUSTAND_BREITE) + " Wert\n";
  for (std::size_t i = 0; i < felder.size(); ++i) {
    const FeldAnsicht& feld = felder[i];
    aus += rechts(std::to_string(feld.feldnummer), 5) + ' ' + links(namen[i], breite) + ' ' +
           links(feld.feldart, 3) + ' ' + links(feld.feldtyp, 3) +
           rechts(std::to_string(feld.offset), 8) + rechts(std::to_string(feld.laenge), 7) + ' ' +
           links(zustandsText(feld.zustand, ZUSTAENDE), ZUSTAND_BREITE) + ' ' +
           wertText(feld.wert) + '\n';
    schreibeFehler(aus, feld.fehler, "        ");
  }
}

void schreibeSatz(std::string& aus, const SatzAnsicht& satz) {
  aus += "Datensatz " + std::to_string(satz.datensatz) + ", Offset " + std::to_string(satz.offset) +
         ", Satzart " + satz.satzart.value_or("?") + '\n';
  if (satz.problem) {
    aus += "  " + maskiert(*satz.problem) + '\n';
  }
  schreibeFehler(aus, satz.fehler, "  ");
  if (!satz.satzart) {
    aus += "  " + std::to_string(satz.wert.size()) + " Byte: \"" + lesbar(satz.wert) + "\"\n";
  }
  schreibeFelder(aus, satz.felder);
  if (satz.anhang) {
    aus += "  Anhang: " + std::to_string(satz.anhang->laenge) + " Byte";
    if (satz.anhang->offset) {
      aus += " ab Offset " + std::to_string(*satz.anhang->offset);
    }
    aus += satz.anhang->vollstaendig ? "\n" : ", reicht ueber das Nachrichtenende\n";
  }
}

std::string zusammenfassung(const NachrichtenErgebnis& ergebnis, std::size_t anzahlFehler) {
  std::string aus = maskiert(ergebnis.nachricht) + ": ";
  if (ergebnis.art == NachrichtenErgebnis::Art::abbruch) {
    return aus + "Abbruch: " + maskiert(ergebnis.abbruch) + '\n';
  }
  aus += ergebnis.nachrichtenTyp.value_or("nicht erkannt");
  if (anzahlFehler == 0) {
    return aus + ": OK\n";
  }
  return aus + ": " + std::to_string(anzahlFehler) + " Fehler\n";
}

nlohmann::ordered_json fehlerListe(const std::vector<VerorteterFehler>& fehler) {
  nlohmann::ordered_json liste = nlohmann::ordered_json::array();
  for (const VerorteterFehler& eintrag : fehler) {
    liste.push_back(alsJson(eintrag));
  }
  return liste;
}

nlohmann::ordered_json alsJson(const FeldAnsicht& feld) {
  nlohmann::ordered_json objekt = {{"feldnummer", feld.feldnummer},
                                   {"feldname", feld.feldname},
                                   {"feldart", feld.feldart},
                                   {"feldtyp", feld.feldtyp},
                                   {"offset", feld.offset},
                                   {"laenge", feld.laenge},
                                   {"wert", MeldungsText(feld.wert).alsUtf8()},
                                   {"zustand", zustandsText(feld.zustand, JSON_ZUSTAENDE)}};
  if (!feld.fehler.empty()) {
    objekt["fehler"] = fehlerListe(feld.fehler);
  }
  return objekt;
}

nlohmann::ordered_json alsJson(const SatzAnsicht& satz) {
  nlohmann::ordered_json objekt = {
      {"datensatz", satz.datensatz}, {"offset", satz.offset}, {"satzart", nullptr}};
  if (satz.satzart) {
    objekt["satzart"] = *satz.satzart;
  }
  if (satz.problem) {
    objekt["problem"] = *satz.problem;
  }
  if (!satz.satzart) {
    objekt["laenge"] = satz.wert.size();
    objekt["wert"] = MeldungsText(satz.wert).alsUtf8();
  }
  nlohmann::ordered_json felder = nlohmann::ordered_json::array();
  for (const FeldAnsicht& feld : satz.felder) {
    felder.push_back(alsJson(feld));
  }
  objekt["felder"] = std::move(felder);
  if (satz.anhang) {
    objekt["anhang"] = {{"offset", nullptr},
                        {"laenge", satz.anhang->laenge},
                        {"vollstaendig", satz.anhang->vollstaendig}};
    if (satz.anhang->offset) {
      objekt["anhang"]["offset"] = *satz.anhang->offset;
    }
  }
  objekt["fehler"] = fehlerListe(satz.fehler);
  return objekt;
}

}  // namespace

std::string alsText(const Nachrichtenansicht& ansicht, std::optional<std::size_t> nurSatz) {
  std::string aus;
  if (nurSatz) {
    schreibeSatz(aus, ansicht.datensaetze.at(*nurSatz));
    return aus;
  }
  for (const SatzAnsicht& satz : ansicht.datensaetze) {
    schreibeSatz(aus, satz);
  }
  if (!ansicht.fehler.empty()) {
    aus += "Nachricht\n";
    schreibeFehler(aus, ansicht.fehler, "  ");
  }
  aus += zusammenfassung(ansicht.ergebnis, ansicht.anzahlFehler);
  return aus;
}

nlohmann::ordered_json alsJson(const Nachrichtenansicht& ansicht,
                               std::optional<std::size_t> nurSatz) {
  nlohmann::ordered_json objekt = alsJson(ansicht.ergebnis);
  objekt.erase("fehler");
  nlohmann::ordered_json datensaetze = nlohmann::ordered_json::array();
  for (std::size_t i = 0; i < ansicht.datensaetze.size(); ++i) {
    if (!nurSatz || *nurSatz == i) {
      datensaetze.push_back(alsJson(ansicht.datensaetze[i]));
    }
  }
  objekt["datensaetze"] = std::move(datensaetze);
  objekt["fehler"] = fehlerListe(ansicht.fehler);
  return objekt;
}

}  // namespace vesk
