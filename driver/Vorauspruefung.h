#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "errors/Vesk_FehlerListe.h"

class Vesk_Meldung;

namespace vesk {

class SatzartenRegister;

// The technical check of a large message, begun on other threads while the calling thread still
// proves the frame and the structure, which on their own take a good part of the time and must
// finish before the technical check may report anything. It is begun only for a message whose
// length is that of its header, trailer and the records the trailer counts: once the frame has
// passed, such a message has no attachment, and its records lie at every 256 bytes, where the
// check names and checks them. Its findings count only when every stage before the technical
// check has passed and the frame found the records exactly there; they are then, in record order,
// the findings of the technical check. Otherwise they are dropped.
class Vorauspruefung {
 public:
  // Whether a message of `laenge` bytes whose trailer counts `anzahl` records is worth it on
  // `faeden` threads.
  [[nodiscard]] static bool lohnt(std::size_t laenge, std::int64_t anzahl, unsigned faeden);

  // Starts `faeden` - 1 threads on `nachricht`, which must outlive this object.
  Vorauspruefung(const SatzartenRegister& satzArten, std::span<const unsigned char> nachricht,
                 unsigned faeden);
  // Stops the threads after the records they are checking and waits for them.
  ~Vorauspruefung();
  Vorauspruefung(const Vorauspruefung&) = delete;
  Vorauspruefung& operator=(const Vorauspruefung&) = delete;

  // The technical check is due for `meldung`: checks what is left on the calling thread too,
  // then appends the findings to `liste` in record order. Nothing is appended, and nullopt
  // returned, when the records of `meldung` are not those the check assumed or a record could
  // not be named; the caller then checks as usual. Otherwise true when there was no finding.
  [[nodiscard]] std::optional<bool> vollende(const Vesk_Meldung& meldung, Vesk_FehlerListe& liste);

 private:
  static constexpr std::size_t BLOCK = 4096;  // records a thread takes at a time

  // Takes blocks of records until none is left.
  void arbeite();
  void halteAn();

  const SatzartenRegister& satzArten;
  std::span<const unsigned char> nachricht;
  std::size_t anzahlSaetze;
  std::size_t anzahlBloecke;
  std::vector<Vesk_FehlerListe> listen;  // the findings of each block
  std::vector<char> fehlerfrei;          // per block: no finding
  std::atomic<std::size_t> naechsterBlock{0};
  std::atomic<bool> unbrauchbar{false};
  std::vector<std::jthread> threads;  // last: started when everything else is there
};

}  // namespace vesk
