#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "driver/Namensgeber.h"
#include "errors/Vesk_FehlerListe.h"

class Vesk_Meldung;

namespace vesk {

class SatzartenRegister;

// The technical check of a large message, begun before the frame and the structure are proven,
// which on their own take a good part of the time and must finish before the technical check may
// report anything. With several threads, the others check while the calling thread walks the
// frame. On one thread, the frame walk checks each block of records it has just read, while
// their bytes are still in the processor's cache, so that a message too large for the cache is
// read from memory once rather than twice.
// It is begun only for a message whose length is that of its header, trailer and the records
// the trailer counts: once the frame has passed, such a message has no attachment, and its
// records lie at every 256 bytes, where the check names and checks them. Its findings count only
// when every stage before the technical check has passed and the frame found the records exactly
// there; they are then, in record order, the findings of the technical check. Otherwise they are
// dropped.
class Vorauspruefung {
 public:
  // Whether a message of `laenge` bytes whose trailer counts `anzahl` records is worth it.
  [[nodiscard]] static bool lohnt(std::size_t laenge, std::int64_t anzahl);

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

  // The frame walk has read the records before index `gelesen` (the header is record 0). On one
  // thread, checks the blocks among them that are not checked yet.
  void schritthalten(std::size_t gelesen) {
    if (threads.empty() &&
        (naechsterBlock.load(std::memory_order_relaxed) + 1) * block <= gelesen) {
      holeAuf(gelesen);
    }
  }

 private:
  // Checks the records of block `nummer`; false when the check cannot be used.
  bool pruefeBlock(std::size_t nummer, Namensgeber& namen);
  // Takes blocks of records until none is left.
  void arbeite();
  void holeAuf(std::size_t gelesen);
  void halteAn();

  const SatzartenRegister& satzArten;
  std::span<const unsigned char> nachricht;
  std::size_t anzahlSaetze;
  // Records taken at a time by a thread, or on one thread: a few, whose 2 KiB are still in the
  // fastest cache when the walk has read them.
  static constexpr std::size_t BLOCK_JE_FADEN = 4096;
  static constexpr std::size_t BLOCK_OHNE_FAEDEN = 8;
  std::size_t block;
  std::size_t anzahlBloecke;
  std::vector<Vesk_FehlerListe> listen;  // the findings of each block, or on one thread of all
  std::vector<char> fehlerfrei;          // per list: no finding
  Namensgeber namenBeimSchritthalten;    // the calling thread's, kept from block to block
  std::atomic<std::size_t> naechsterBlock{0};
  std::atomic<bool> unbrauchbar{false};
  std::vector<std::jthread> threads;  // last: started when everything else is there
};

}  // namespace vesk
