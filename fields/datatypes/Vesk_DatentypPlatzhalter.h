#pragma once
#include <string>
#include <string_view>
#include <utility>

#include "fields/datatypes/Vesk_Datentyp.h"

// The common shell of the date and time types: a text value stored exactly as given, neither
// trimmed nor checked. Every value is accepted, no value set applies, and no value counts as the
// initial value, not even the empty text.
class Vesk_DatentypPlatzhalter : public Vesk_Datentyp {
 public:
  [[nodiscard]] bool wertebereichEingehalten() const override { return true; }
  // Ignores `definition`; returns and keeps ok.
  std::int32_t wertemengeDefinieren(std::string_view /*definition*/) override {
    setzeStatus(ok);
    return ok;
  }
  // Returns and keeps ok.
  std::int32_t zuweisen(std::string_view text) override {
    datum = text;
    setzeStatus(ok);
    return ok;
  }
  [[nodiscard]] bool istInitialwert() const override { return false; }
  [[nodiscard]] const std::string& gibDatum() const { return datum; }

 protected:
  Vesk_DatentypPlatzhalter(std::string typ, std::string_view wert)
      : Vesk_Datentyp(std::move(typ)), datum(wert) {}

 private:
  std::string datum;
};
