#include "fields/datatypes/Vesk_DatentypNumerisch.h"

#include <algorithm>
#include <string>
#include <utility>

#include "fields/datatypes/DatentypText.h"

namespace {

using vesk::datentyp::leseGanzzahl;
using vesk::datentyp::trimme;

// Prints the value after an assignment of `text`, or a failure line when it was not accepted.
void zeigeZuweisung(std::ostream& out, Vesk_DatentypNumerisch& zahl, std::string_view text) {
  if (zahl.zuweisen(text) == Vesk_Datentyp::ok) {
    out << std::to_string(zahl.gibDatum()) << '\n';
  } else {
    out << "Fehler aufgetreten\n";
  }
}

}  // namespace

Vesk_DatentypNumerisch::Vesk_DatentypNumerisch() : Vesk_DatentypNumerisch("0", "") {}

Vesk_DatentypNumerisch::Vesk_DatentypNumerisch(std::string_view wert)
    : Vesk_DatentypNumerisch(wert, "") {}

Vesk_DatentypNumerisch::Vesk_DatentypNumerisch(std::string_view wert, std::string_view definition)
    : Vesk_Datentyp("numerisch") {
  wertemengeDefinieren(definition);
  if (gibStatus() == ok) {
    zuweisen(wert);
  }
}

bool Vesk_DatentypNumerisch::wertebereichEingehalten() const {
  if (datum == 0 || !wertemenge) {
    return true;
  }
  if (istListe) {
    return std::ranges::find(*wertemenge, datum) != wertemenge->end();
  }
  return untereGrenze <= datum && datum <= obereGrenze;
}

std::int32_t Vesk_DatentypNumerisch::wertemengeDefinieren(std::string_view definition) {
  wertemenge.reset();
  istListe = false;
  untereGrenze = 0;
  obereGrenze = 0;
  if (definition.empty()) {
    setzeStatus(ok);
    return ok;
  }
  const bool mitKomma = definition.find(',') != std::string_view::npos;
  const std::size_t strich = definition.find('-');
  if (mitKomma && strich != std::string_view::npos) {
    setzeStatus(wertemengeFalschDefiniert);
    return wertemengeFalschDefiniert;
  }
  if (strich != std::string_view::npos) {
    const auto unten = leseGanzzahl(trimme(definition.substr(0, strich)));
    const auto oben = leseGanzzahl(trimme(definition.substr(strich + 1)));
    if (!unten || !oben) {
      return falschesFormat;
    }
    untereGrenze = *unten;
    obereGrenze = *oben;
    wertemenge.emplace();
    return ok;
  }
  std::vector<std::int32_t> zahlen;
  for (const std::string_view teil : vesk::datentyp::teileAmKomma(definition)) {
    const auto zahl = leseGanzzahl(teil);
    if (!zahl) {
      return falschesFormat;
    }
    zahlen.push_back(*zahl);
  }
  wertemenge = std::move(zahlen);
  istListe = true;
  return ok;
}

std::int32_t Vesk_DatentypNumerisch::zuweisen(std::string_view text) {
  setzeStatus(ok);
  if (const auto zahl = leseGanzzahl(trimme(text))) {
    datum = *zahl;
  } else {
    setzeStatus(falschesFormat);
  }
  if (!wertebereichEingehalten()) {
    setzeStatus(nichtImWertebereich);
  }
  return gibStatus();
}

int Vesk_DatentypNumerisch::main(std::ostream& out) {
  Vesk_DatentypNumerisch liste("001", "1,2,3");
  out << "Status: " << std::to_string(liste.gibStatus()) << '\n';
  out << "Datum: " << std::to_string(liste.gibDatum()) << '\n';
  zeigeZuweisung(out, liste, "123abc");

  Vesk_DatentypNumerisch intervall("2", "1-3");
  out << "Status: " << std::to_string(intervall.gibStatus()) << '\n';
  zeigeZuweisung(out, intervall, "3");
  return 0;
}
