#include "fields/datatypes/Vesk_DatentypAlphanumerisch.h"

#include <algorithm>
#include <string>
#include <utility>

#include "fields/datatypes/DatentypText.h"

namespace {

// Prints the value and the status of `text`, as the entry point shows them.
void zeige(std::ostream& out, const Vesk_DatentypAlphanumerisch& text) {
  out << "Datum:  " << text.gibDatum() << '\n';
  out << "Status: " << std::to_string(text.gibStatus()) << '\n';
}

}  // namespace

Vesk_DatentypAlphanumerisch::Vesk_DatentypAlphanumerisch() : Vesk_DatentypAlphanumerisch("", "") {}

Vesk_DatentypAlphanumerisch::Vesk_DatentypAlphanumerisch(std::string_view wert)
    : Vesk_DatentypAlphanumerisch(wert, "") {}

Vesk_DatentypAlphanumerisch::Vesk_DatentypAlphanumerisch(std::string_view wert,
                                                         std::string_view definition)
    : Vesk_Datentyp("alphanumerisch") {
  wertemengeDefinieren(definition);
  if (gibStatus() == ok) {
    zuweisen(wert);
  }
}

bool Vesk_DatentypAlphanumerisch::wertebereichEingehalten() const {
  return datum.empty() || !wertemenge || std::ranges::find(*wertemenge, datum) != wertemenge->end();
}

std::int32_t Vesk_DatentypAlphanumerisch::wertemengeDefinieren(std::string_view definition) {
  if (definition.empty()) {
    wertemenge.reset();
    setzeStatus(ok);
    return ok;
  }
  std::vector<std::string> eintraege;
  for (const std::string_view teil : vesk::datentyp::teileAmKomma(definition)) {
    eintraege.emplace_back(teil);
  }
  wertemenge = std::move(eintraege);
  return ok;
}

std::int32_t Vesk_DatentypAlphanumerisch::zuweisen(std::string_view text) {
  setzeStatus(ok);
  datum = vesk::datentyp::trimme(text);
  if (!wertebereichEingehalten()) {
    setzeStatus(nichtImWertebereich);
  }
  return gibStatus();
}

int Vesk_DatentypAlphanumerisch::main(std::ostream& out) {
  const Vesk_DatentypAlphanumerisch liste("a", "a, b,   c");
  zeige(out, liste);
  const Vesk_DatentypAlphanumerisch bereich("2", "1-3");
  zeige(out, bereich);
  return 0;
}
