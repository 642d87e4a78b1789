#include "report/JsonBericht.h"

#include <nlohmann/json.hpp>
#include <string_view>

#include "config/Ausgabe.h"
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

using Json = nlohmann::ordered_json;

// The key beside a text that is no valid UTF-8: its bytes in base64.
constexpr std::string_view ROH_ENDUNG = "_base64";

bool hatUngueltigenText(const Json& json) {
  if (json.is_string()) {
    return !istUtf8(json.get_ref<const std::string&>());
  }
  for (const Json& teil : json) {  // the values of an object, the elements of an array
    if (teil.is_structured() || teil.is_string()) {
      if (hatUngueltigenText(teil)) {
        return true;
      }
    }
  }
  return false;
}

// `text` with each byte that is part of no valid UTF-8 sequence as the four characters \xHH.
std::string alsLesbarerText(std::string_view text) {
  std::string aus;
  aus.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t laenge = utf8Folge(text, i);
    if (laenge > 0) {
      aus.append(text.substr(i, laenge));
      i += laenge;
      continue;
    }
    haengeHexAn(aus, static_cast<unsigned char>(text[i]));
    ++i;
  }
  return aus;
}

std::string alsBase64(std::string_view bytes) {
  static constexpr std::string_view ZEICHEN =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string aus;
  aus.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t rest = bytes.size() - i;
    std::uint32_t block = std::uint32_t{static_cast<unsigned char>(bytes[i])} << 16U;
    if (rest > 1) {
      block |= std::uint32_t{static_cast<unsigned char>(bytes[i + 1])} << 8U;
    }
    if (rest > 2) {
      block |= std::uint32_t{static_cast<unsigned char>(bytes[i + 2])};
    }
    aus += ZEICHEN[(block >> 18U) & 0x3FU];
    aus += ZEICHEN[(block >> 12U) & 0x3FU];
    aus += rest > 1 ? ZEICHEN[(block >> 6U) & 0x3FU] : '=';
    aus += rest > 2 ? ZEICHEN[block & 0x3FU] : '=';
  }
  return aus;
}

// `json` with every text that is no valid UTF-8 (a file name or a definition text in another
// encoding) made readable, so that no byte turns into U+FFFD: in an object, the text's key
// holds it with the faulty bytes as \xHH and the key with "_base64" appended its exact bytes.
Json mitWiederherstellbarenTexten(const Json& json) {
  if (json.is_string()) {
    return alsLesbarerText(json.get_ref<const std::string&>());
  }
  if (json.is_array()) {
    Json liste = Json::array();
    for (const Json& teil : json) {
      liste.push_back(mitWiederherstellbarenTexten(teil));
    }
    return liste;
  }
  if (!json.is_object()) {
    return json;
  }
  Json objekt = Json::object();
  for (const auto& [schluessel, wert] : json.items()) {
    if (wert.is_string() && !istUtf8(wert.get_ref<const std::string&>())) {
      objekt[schluessel] = alsLesbarerText(wert.get_ref<const std::string&>());
      objekt[schluessel + std::string(ROH_ENDUNG)] = alsBase64(wert.get_ref<const std::string&>());
    } else {
      objekt[schluessel] = mitWiederherstellbarenTexten(wert);
    }
  }
  return objekt;
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
  setzeWennDa(objekt, "protokoll", ergebnis.protokollDatei);
  return objekt;
}

std::string alsJsonText(const nlohmann::ordered_json& json, int einzug) {
  // Names and definition texts in another encoding are rare; only then is the document copied.
  std::string text = hatUngueltigenText(json)
                         ? mitWiederherstellbarenTexten(json).dump(einzug, ' ', true)
                         : json.dump(einzug, ' ', true);
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
