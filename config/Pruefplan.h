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
class Pruefplan {
 public:
  // The plan of `felder`, which must outlive it.
  explicit Pruefplan(std::span<const Vesk_DatenFeld> felder);

  // Walks the record `satz` (its 256 bytes) and calls `voll(i)`, in field order, for each field
  // i that may yield a finding, so that the field's full check decides.
  template <class Voll>
  void pruefe(std::span<const unsigned char> satz, Voll&& voll) const {
    const std::size_t anzahl = schritte.size();
    const Schritt* schritt = schritte.data();
    for (std::size_t i = 0; i < anzahl; ++i, ++schritt) {
      if (!istUnauffaellig(*schritt, satz)) {
        voll(i);
      }
    }
  }
  // Whether field `i` of the record `satz` certainly yields no finding.
  [[nodiscard]] bool istUnauffaellig(std::size_t i, std::span<const unsigned char> satz) const {
    return istUnauffaellig(schritte[i], satz);
  }

 private:
  enum class Weg : std::uint8_t { text, zahl, datum, uhrzeit, voll };
  // How the value set is asked: an interval or a set of short codes directly, any other through
  // its own test.
  enum class Menge : std::uint8_t { keine, intervall, kurzeCodes, andere };
  struct Schritt {
    std::uint16_t start = 0;   // 0-based, within the record
    std::uint16_t laenge = 0;  // at least 1 unless the way is voll
    Weg weg = Weg::voll;
    Menge menge = Menge::keine;
    bool muss = false;
    std::int32_t untere = 0;  // the bounds of an interval
    std::int32_t obere = 0;
    const Vesk_WerteMenge* werteMenge = nullptr;
    const Vesk_WerteMengeAufzaehlung* codes = nullptr;  // the set of short codes
    const Vesk_Feldart* feldArt = nullptr;
  };

  [[nodiscard]] bool istUnauffaellig(const Schritt& schritt,
                                     std::span<const unsigned char> satz) const;
  [[nodiscard]] bool ohneFundAlsInitialwert(const Schritt& schritt) const;
  // `nurZiffern`: the text holds digits only, as a number, date or time that passed its scan.
  [[nodiscard]] bool imWertebereich(const Schritt& schritt, const unsigned char* anfang,
                                    std::size_t laenge, bool nurZiffern) const;
  [[nodiscard]] bool passt(const Schritt& schritt, const unsigned char* anfang, std::size_t laenge,
                           bool nurZiffern) const;

  std::vector<Schritt> schritte;
};

}  // namespace vesk
