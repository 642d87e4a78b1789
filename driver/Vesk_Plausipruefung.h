#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>

#include "errors/Vesk_FehlerListe.h"

class IniFile;
class Vesk_Meldung;
class Vesk_NachrichtenTyp;
class Vesk_Satzart;

namespace vesk {
class Konfiguration;
class NachrichtenTypRegister;
class SatzartenRegister;
class Vorauspruefung;
}  // namespace vesk

// The check of messages: loads the two definition files into the process-wide registries (or
// uses a configuration loaded on its own), then checks a message's frame, splits it into records
// and runs the structure, Muss-Kann and technical checks, each only when everything before it
// passed. Checks nothing but the message it is given, so one instance may check messages on many
// threads at once when its configuration is not the process-wide one.
class Vesk_Plausipruefung {
 public:
  static constexpr int modulcode = 6;

  // Throws Vesk_Exception for an empty name, the file exceptions for a missing file, and
  // whatever the loaders throw for a faulty definition.
  Vesk_Plausipruefung(const std::string& strukturDatei, const std::string& datensatzDatei);
  // Checks on `konfiguration`, which must outlive this object; loads nothing.
  explicit Vesk_Plausipruefung(const vesk::Konfiguration& konfiguration);

  // All findings about `nachricht`; its message type is set once the header was accepted. The
  // checks print their progress lines on standard output.
  // Throws when the message meets a gap of the configuration (an unknown Sendeart, say).
  [[nodiscard]] Vesk_FehlerListe pruefe(std::span<const unsigned char> nachricht) const;
  // Lets the technical check of a large message use up to `anzahl` threads (at least 1); the
  // findings stay the same. By default it uses all cores.
  void setzeFaeden(unsigned anzahl) { faeden = anzahl > 0 ? anzahl : 1; }
  // For a message whose bytes arrive as the check asks for them (a file read in part): the
  // header and the trailer are there from the start, and `nachschub(bis)` makes at least the
  // bytes before `bis` readable and returns up to where they are. The check asks before the
  // frame walk reads each record, and checks no record ahead of the walk; nothing else of the
  // check reads beyond the records the walk has reached. nullptr: all bytes are there.
  void setzeNachschub(std::function<std::size_t(std::size_t bis)> nachschub_) {
    nachschub = std::move(nachschub_);
  }
  // Like the above, with the progress lines on `fortschritt` (nullptr: nowhere).
  [[nodiscard]] Vesk_FehlerListe pruefe(std::span<const unsigned char> nachricht,
                                        std::ostream* fortschritt) const;

 private:
  using Bytes = std::span<const unsigned char>;

  [[nodiscard]] Vesk_FehlerListe pruefeStufen(Bytes nachricht, std::ostream* fortschritt) const;
  [[nodiscard]] std::int32_t analysiereNachsatz(Bytes nachricht, Vesk_FehlerListe& liste) const;
  [[nodiscard]] const Vesk_NachrichtenTyp* analysiereVorsatz(Bytes nachricht,
                                                             Vesk_FehlerListe& liste) const;
  [[nodiscard]] const Vesk_NachrichtenTyp& ermittleNachrichtenTyp(
      Bytes nachricht, const Vesk_Satzart& vorsatz) const;
  // Walks the frame and splits the message into its records; tells `voraus` (if any) how far
  // it has read.
  [[nodiscard]] std::optional<Vesk_Meldung> erzeugeMeldung(Bytes nachricht,
                                                           std::int32_t anzahlDatensaetze,
                                                           Vesk_FehlerListe& liste,
                                                           vesk::Vorauspruefung* voraus) const;
  // The attachment length declared by the description at `start`, record `index`; 0 after a
  // finding.
  [[nodiscard]] std::int32_t analysiereAnhangsBeschreibung(Bytes nachricht,
                                                           const Vesk_Satzart& anhang,
                                                           std::size_t start, std::int64_t index,
                                                           Vesk_FehlerListe& liste) const;
  // Numbers the trailer's place for a finding there that came before the frame was walked.
  void verorteNachsatz(Bytes nachricht, Vesk_FehlerListe& liste) const;
  // The stages after the split message, in their order; the technical check takes the findings
  // of `voraus` where it has them.
  void pruefeInhalt(Bytes nachricht, const Vesk_NachrichtenTyp& typ, const Vesk_Meldung& meldung,
                    Vesk_FehlerListe& liste, std::ostream* fortschritt,
                    vesk::Vorauspruefung* voraus) const;

  const vesk::SatzartenRegister* satzArten;
  const vesk::NachrichtenTypRegister* nachrichtenTypen;
  const vesk::Konfiguration* konfiguration = nullptr;  // nullptr: the process-wide registries
  unsigned faeden;
  std::function<std::size_t(std::size_t)> nachschub;
};
