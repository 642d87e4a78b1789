#include "report/JsonBericht.h"

#include <nlohmann/json.hpp>

#include "fields/MeldungsText.h"
#include "report/NachrichtenErgebnis.h"

namespace vesk {

namespace {

template <class T>
void setzeWennDa(nlohmann::ordered_json& objekt, const char* schluessel,
                 const std::optional<T>& wert) {
  if (wert) {
    objekt[schluessel] = *wert;
  }
}

const char* artName(NachrichtenErgebnis::Art art) {
  switch (art) {
    case NachrichtenErgebnis::Art::ok:
      return "ok";
    case NachrichtenErgebnis::Art::fehler:
      return "fehler";
    case NachrichtenErgebnis::Art::abbruch:
      break;
  }
  return "abbruch";
}

}  // namespace

nlohmann::ordered_json alsJson(const VerorteterFehler& fehler) {
  nlohmann::ordered_json objekt = {
      {"art", fehler.art}, {"nummer", fehler.nummer}, {"beschreibung", fehler.beschreibung}};
  setzeWennDa(objekt, "text", fehler.text);
  setzeWennDa(objekt, "satzart", fehler.satzart);
  setzeWennDa(objekt, "feldnummer", fehler.feldnummer);
  setzeWennDa(objekt, "feldname", fehler.feldname);
  setzeWennDa(objekt, "datensatz", fehler.datensatz);
  setzeWennDa(objekt, "offset", fehler.offset);
  setzeWennDa(objekt, "laenge", fehler.laenge);
  if (fehler.wert) {
    objekt["wert"] = MeldungsText(*fehler.wert).alsUtf8();
  }
  return objekt;
}

nlohmann::ordered_json alsJson(const NachrichtenErgebnis& ergebnis) {
  nlohmann::ordered_json objekt = {{"nachricht", ergebnis.nachricht},
                                   {"ergebnis", artName(ergebnis.art)},
                                   {"nachrichtentyp", nullptr}};
  setzeWennDa(objekt, "nachrichtentyp", ergebnis.nachrichtenTyp);
  if (ergebnis.art == NachrichtenErgebnis::Art::abbruch) {
    objekt["abbruch"] = ergebnis.abbruch;
  }
  nlohmann::ordered_json fehler = nlohmann::ordered_json::array();
  for (const VerorteterFehler& eintrag : ergebnis.fehler) {
    fehler.push_back(alsJson(eintrag));
  }
  objekt["fehler"] = std::move(fehler);
  return objekt;
}

std::string alsJsonText(const nlohmann::ordered_json& json, int einzug) {
  std::string text = json.dump(einzug, ' ', true, nlohmann::ordered_json::error_handler_t::replace);
  // Only DEL passes the ASCII escaping unchanged; it can stand only inside a string.
  std::string ergebnis;
  ergebnis.reserve(text.size());
  for (const char zeichen : text) {
    if (zeichen == '\x7F') {
      ergebnis += "\\u007f";
    } else {
      ergebnis += zeichen;
    }
  }
  return ergebnis;
}

std::string alsJsonZeile(const NachrichtenErgebnis& ergebnis) {
  return alsJsonText(alsJson(ergebnis), -1);
}

}  // namespace vesk
