#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "config/IniFile.h"
#include "errors/Vesk_FehlerListe.h"

class Vesk_Meldung;
class Vesk_NachrichtenTyp;
class Vesk_Satzart;

// The check of one message: loads the two definition files into the process-wide registries,
// then checks a message's frame, splits it into records and runs the structure, Muss-Kann and
// technical checks, each only when everything before it passed.
class Vesk_Plausipruefung {
 public:
  static constexpr int modulcode = 6;

  // Throws Vesk_Exception for an empty name, the file exceptions for a missing file, and
  // whatever the loaders throw for a faulty definition.
  Vesk_Plausipruefung(const std::string& strukturDatei, const std::string& datensatzDatei);

  // All findings about `nachricht`; its message type is set once the header was accepted.
  // Throws when the message meets a gap of the configuration (an unknown Sendeart, say).
  [[nodiscard]] Vesk_FehlerListe pruefe(std::span<const unsigned char> nachricht) const;

 private:
  using Bytes = std::span<const unsigned char>;

  [[nodiscard]] std::int32_t analysiereNachsatz(Bytes nachricht, Vesk_FehlerListe& liste) const;
  [[nodiscard]] const Vesk_NachrichtenTyp* analysiereVorsatz(Bytes nachricht,
                                                             Vesk_FehlerListe& liste) const;
  [[nodiscard]] const Vesk_NachrichtenTyp& ermittleNachrichtenTyp(
      Bytes nachricht, const Vesk_Satzart& vorsatz) const;
  [[nodiscard]] std::optional<Vesk_Meldung> erzeugeMeldung(Bytes nachricht,
                                                           std::int32_t anzahlDatensaetze,
                                                           Vesk_FehlerListe& liste) const;
  // The attachment length declared by the description at `start`; 0 after a finding.
  [[nodiscard]] std::int32_t analysiereAnhangsBeschreibung(Bytes nachricht,
                                                           const Vesk_Satzart& anhang,
                                                           std::size_t start,
                                                           Vesk_FehlerListe& liste) const;
  // The stages after the split message, in their order.
  void pruefeInhalt(Bytes nachricht, const Vesk_NachrichtenTyp& typ, const Vesk_Meldung& meldung,
                    Vesk_FehlerListe& liste) const;

  IniFile iniDateiStruktur;
  IniFile iniDateiDatensaetze;
};
