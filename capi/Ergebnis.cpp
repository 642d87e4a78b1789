#include "capi/Ergebnis.h"

#include <optional>

#include "report/JsonBericht.h"

namespace vesk::capi {

namespace {

const char* zeigerAuf(const std::optional<std::string>& text) {
  return text ? text->c_str() : nullptr;
}

template <class Zahl>
Zahl oderMinusEins(const std::optional<Zahl>& zahl) {
  return zahl.value_or(Zahl{-1});
}

vesk_fehler alsC(const VerorteterFehler& gefunden) {
  vesk_fehler c{};
  c.art = gefunden.art.c_str();
  c.nummer = gefunden.nummer;
  c.beschreibung = gefunden.beschreibung.c_str();
  c.text = zeigerAuf(gefunden.text);
  c.satzart = zeigerAuf(gefunden.satzart);
  c.feldnummer = oderMinusEins(gefunden.feldnummer);
  c.feldname = zeigerAuf(gefunden.feldname);
  c.datensatz = oderMinusEins(gefunden.datensatz);
  c.offset = oderMinusEins(gefunden.offset);
  c.laenge = oderMinusEins(gefunden.laenge);
  if (gefunden.wert) {
    // The field's bytes were taken from the message unchanged; C readers see them as such.
    c.wert = reinterpret_cast<const unsigned char*>(gefunden.wert->data());
    c.wert_laenge = gefunden.wert->size();
  }
  return c;
}

}  // namespace

Ergebnis::Ergebnis(NachrichtenErgebnis ergebnisDerPruefung)
    : ergebnis(std::move(ergebnisDerPruefung)), json(alsJsonZeile(ergebnis)) {
  fehler.reserve(ergebnis.fehler.size());
  for (const VerorteterFehler& gefunden : ergebnis.fehler) {
    fehler.push_back(alsC(gefunden));
  }
}

const vesk_fehler* Ergebnis::gibFehler(std::size_t index) const {
  return index < fehler.size() ? &fehler[index] : nullptr;
}

}  // namespace vesk::capi
