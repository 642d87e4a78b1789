#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "report/NachrichtenErgebnis.h"
#include "report/VerorteterFehler.h"

namespace vesk {

class Konfiguration;

// How the technical check judges a field's bytes, named after what it reports: an initial value
// is a finding only in a Muss field, and there it is "Muss-Feld nicht gefuellt".
enum class FeldZustand { gueltig, initialwert, falschesFormat, mussFeldLeer, nichtInWertemenge };

// One field of a record as the record definition names it, with its bytes.
struct FeldAnsicht {
  std::int32_t feldnummer = 0;  // from 1, as on the console
  std::string feldname;
  std::string feldart;      // as written in the definition: n, an, d6, d8, u4, u6
  std::string feldtyp;      // m, mk or k
  std::int64_t offset = 0;  // absolute, in the message
  std::int32_t laenge = 0;
  std::string wert;  // the raw bytes
  FeldZustand zustand = FeldZustand::gueltig;
  std::vector<VerorteterFehler> fehler;  // what the check reported for this field
};

// The attachment an attachment description declares, placed behind the last data record.
struct AnhangAnsicht {
  std::optional<std::int64_t> offset;  // absent when a broken frame leaves its place unknown
  std::int64_t laenge = 0;
  bool vollstaendig = false;  // whether it ends before the trailer
};

// One record of the message: its fields when its record type is known and builds, else its raw
// bytes (`wert`) with the reason in `problem`.
struct SatzAnsicht {
  std::int64_t datensatz = 0;  // 0 = header, as the check counts
  std::int64_t offset = 0;
  std::optional<std::string> satzart;  // absent when the bytes name no usable record type
  std::optional<std::string> problem;  // why the record is shown raw, or a definition fault
  std::string wert;                    // the raw bytes; empty when the fields are shown
  std::vector<FeldAnsicht> felder;
  std::optional<AnhangAnsicht> anhang;
  std::vector<VerorteterFehler> fehler;  // what the check reported for the record itself
};

// A message read by field names, with the check's findings tied to the records and fields they
// name. Owns copies of everything, so it outlives the message bytes.
struct Nachrichtenansicht {
  NachrichtenErgebnis ergebnis;  // the check's outcome; its findings are moved to the places below
  std::size_t anzahlFehler = 0;  // all findings of the check
  std::vector<SatzAnsicht> datensaetze;
  std::vector<VerorteterFehler> fehler;  // findings that lie in no record shown
};

// Walks `bytes` as the check's frame does (header, records, attachment descriptions and their
// attachments, trailer) and checks them, reading as much of a damaged message as can be read:
// a broken frame ends the walk, and the trailer is still shown. Never reads beyond `bytes`.
[[nodiscard]] Nachrichtenansicht zeigeBytes(const Konfiguration& konfiguration,
                                            std::span<const unsigned char> bytes, std::string name);
// Like zeigeBytes, reading the message file `pfad`. Throws Vesk_Exception when it cannot be read.
[[nodiscard]] Nachrichtenansicht zeigeDatei(const Konfiguration& konfiguration,
                                            const std::string& pfad);

}  // namespace vesk
