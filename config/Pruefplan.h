#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class Vesk_DatenFeld;
class Vesk_Feldart;
class Vesk_WerteMenge;
class Vesk_WerteMengeAufzaehlung;

namespace vesk {

// How the technical check walks the fields of one record type, decided once when the record type
// is built: for each field its bytes, the way its kind is tested and what may pass without a
// finding. The walk takes the common case of a well-formed field with a few tests of eight bytes
// at a time and no call through a virtual table; any field it cannot clear that way goes to the
// field's full check, which decides exactly as before. So the plan changes how fast a record is
// checked, never what is found.
// Safe to use from several threads at once: what it remembers between records is kept per thread.
class Pruefplan {
 public:
  // The plan of `felder`, which must outlive it.
  explicit Pruefplan(std::span<const Vesk_DatenFeld> felder);

  // Walks the record `satz` (its 256 bytes) and calls `voll(i)`, in field order, for each field
  // i that may yield a finding, so that the field's full check decides.
  template <class Voll>
  void pruefe(std::span<const unsigned char> satz, Voll&& voll) const {
    Erinnerung* gedaechtnis = erinnerungen();
    const std::size_t anzahl = schritte.size();
    const Schritt* schritt = schritte.data();
    for (std::size_t i = 0; i < anzahl; ++i, ++schritt) {
      if (!istUnauffaellig(*schritt, satz, gedaechtnis)) {
        voll(i);
      }
    }
  }

 private:
  // The bytes of a short field that passed last on this thread, for the field `schluessel`
  // names: the number of its plan and its index.
  struct Erinnerung {
    std::uint64_t schluessel = 0;  // 0: none yet
    std::uint64_t wort = 0;
  };
  static constexpr std::size_t ERINNERUNGEN = 256;
  // This thread's table of ERINNERUNGEN entries.
  [[nodiscard]] static Erinnerung* erinnerungen();

  enum class Weg : std::uint8_t { text, zahl, datum, uhrzeit, voll };
  // How the value set is asked: an interval or a set of short codes directly, any other through
  // its own test.
  enum class Menge : std::uint8_t { keine, intervall, kurzeCodes, andere };
  // 64 bytes, one cache line.
  struct Schritt {
    std::uint16_t start = 0;   // 0-based, within the record
    std::uint16_t laenge = 0;  // at least 1 unless the way is voll
    Weg weg = Weg::voll;
    Menge menge = Menge::keine;
    // Blanks (for a number, zeros) are the initial value, which passes in a field that is not
    // mandatory and has no value set to test the empty value against.
    bool leerOhneFund = false;
    // A field of up to eight bytes is read as one word from `wortAb`, shifted down by `rechts`
    // bits; its bytes are then the low bytes selected by `maske`.
    std::uint8_t rechts = 0;
    std::uint16_t wortAb = 0;
    // Where in a thread's table the field's last passing bytes are kept, and under which key.
    std::uint16_t platz = 0;
    std::int32_t untere = 0;  // the bounds of an interval
    std::int32_t obere = 0;
    std::uint64_t maske = 0;
    std::uint64_t schluessel = 0;
    const Vesk_WerteMenge* werteMenge = nullptr;
    const Vesk_WerteMengeAufzaehlung* codes = nullptr;  // the set of short codes
    const Vesk_Feldart* feldArt = nullptr;
  };

  [[nodiscard]] static bool istUnauffaellig(const Schritt& schritt,
                                            std::span<const unsigned char> satz,
                                            Erinnerung* gedaechtnis);
  // The decision for a field seen through `feld`, one of the two views of Pruefplan.cpp: a field
  // of up to eight bytes as one word, a longer one eight bytes at a time.
  template <class Feld>
  [[nodiscard]] static bool entscheide(const Schritt& schritt, const Feld& feld);
  // The value-set test as the field kinds make it, on the field's bytes from `anfang` on.
  // `nurZiffern`: they are digits only, as a number, date or time that passed its scan.
  [[nodiscard]] static bool imWertebereich(const Schritt& schritt, const unsigned char* anfang,
                                           std::size_t laenge, bool nurZiffern);

  std::vector<Schritt> schritte;
};

}  // namespace vesk
