#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// A typed value holder: one value given as text, converted and checked on assignment, with a
// status code and an optional value set written in a small syntax of its own. The family stands
// on its own; the checker neither creates nor calls any of its classes. No operation throws for
// bad input: conversion failures and range violations are status codes.
class Vesk_Datentyp {
 public:
  // Status codes, kept in `status` and returned by `zuweisen` and `wertemengeDefinieren`.
  static constexpr std::int32_t ok = 0;
  static constexpr std::int32_t falschesFormat = 1;             // the text is no number
  static constexpr std::int32_t nichtImWertebereich = 2;        // the value is not in the set
  static constexpr std::int32_t wertemengeFalschDefiniert = 3;  // the set mixes list and interval

  virtual ~Vesk_Datentyp();

  [[nodiscard]] virtual std::int32_t gibStatus() const;
  [[nodiscard]] virtual const std::string& gibTyp() const;
  virtual void setzeTyp(std::string typ);
  // Returns true if the current value satisfies the value set.
  [[nodiscard]] virtual bool wertebereichEingehalten() const = 0;
  // Sets the value set from `definition` and returns a status code; each class says which
  // results it also keeps in `status`.
  virtual std::int32_t wertemengeDefinieren(std::string_view definition) = 0;
  // Assigns a value and returns the resulting status, which is also kept.
  virtual std::int32_t zuweisen(std::string_view text) = 0;
  // Returns true if the current value is the type's initial value.
  [[nodiscard]] virtual bool istInitialwert() const = 0;

 protected:
  explicit Vesk_Datentyp(std::string typ) : datentyp(std::move(typ)) {}
  // Copying is left to the concrete classes, so that no holder is sliced through its base.
  Vesk_Datentyp(const Vesk_Datentyp&) = default;
  Vesk_Datentyp(Vesk_Datentyp&&) = default;
  Vesk_Datentyp& operator=(const Vesk_Datentyp&) = default;
  Vesk_Datentyp& operator=(Vesk_Datentyp&&) = default;

  void setzeStatus(std::int32_t neuerStatus) { status = neuerStatus; }

 private:
  std::int32_t status = ok;
  std::string datentyp;  // the type's name, e.g. "numerisch"
};
