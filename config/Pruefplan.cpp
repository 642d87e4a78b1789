#include "config/Pruefplan.h"

#include <bit>
#include <optional>
#include <string_view>

#include "config/Text.h"
#include "config/Vesk_DatenFeld.h"
#include "config/Vesk_Satzart.h"
#include "fields/MeldungsText.h"
#include "fields/Vesk_Feldart.h"
#include "fields/Vesk_FeldartDatum.h"
#include "fields/Vesk_FeldartUhrzeit.h"
#include "fields/Vesk_WerteMenge.h"
#include "fields/Vesk_WerteMengeAufzaehlung.h"
#include "fields/Vesk_WerteMengeIntervall.h"
#include "fields/Ziffern.h"

namespace vesk {

namespace {

std::string_view alsText(const unsigned char* anfang, std::size_t laenge) {
  return {reinterpret_cast<const char*>(anfang), laenge};
}

// Whole-field tests, eight bytes at a time. A field lies within its 256-byte record, so the
// eight bytes around a short field, or the last eight of a longer one, can always be read within
// the record; bytes outside the field are replaced by `fuellung` before the test.
class Feldworte {
 public:
  Feldworte(std::span<const unsigned char> satzBytes, std::size_t feldStart, std::size_t feldLaenge)
      : satz(satzBytes), start(feldStart), laenge(feldLaenge) {}

  // Calls `test(word)` for words that together cover the field exactly; false at the first
  // word it rejects.
  template <class Test>
  bool alle(unsigned char fuellung, Test&& test) const {
    const char* feld = reinterpret_cast<const char*>(satz.data()) + start;
    if (laenge >= 8) {
      for (std::size_t i = 0; i + 8 < laenge; i += 8) {
        if (!test(achtfach::lade(feld + i))) {
          return false;
        }
      }
      return test(achtfach::lade(feld + laenge - 8));
    }
    const std::uint64_t fuellwort = fuellung * achtfach::EINS;
    const std::uint64_t maske = (std::uint64_t{1} << (8 * laenge)) - 1;
    if (start + 8 <= satz.size()) {
      const std::uint64_t wort = achtfach::lade(feld);
      return test((wort & maske) | (fuellwort & ~maske));
    }
    // At the record's end: the field is the top bytes of the last eight.
    const unsigned verschiebung = static_cast<unsigned>(8 * (8 - laenge));
    const std::uint64_t wort = achtfach::lade(feld + laenge - 8) >> verschiebung;
    return test((wort & maske) | (fuellwort & ~maske));
  }

  // The field's bytes in the low bytes of a word, the rest zero. Precondition: length <= 8.
  [[nodiscard]] std::uint64_t kurz() const {
    std::uint64_t wort = 0;
    alle(0, [&wort](std::uint64_t feldwort) {
      wort = feldwort;
      return true;
    });
    return wort;
  }

  [[nodiscard]] bool nurZiffern() const {
    return alle('0', [](std::uint64_t wort) { return achtfach::alleZiffern(wort); });
  }
  [[nodiscard]] bool nur(unsigned char zeichen) const {
    const std::uint64_t muster = zeichen * achtfach::EINS;
    return alle(zeichen, [muster](std::uint64_t wort) { return wort == muster; });
  }

 private:
  std::span<const unsigned char> satz;
  std::size_t start;
  std::size_t laenge;
};

}  // namespace

Pruefplan::Pruefplan(std::span<const Vesk_DatenFeld> felder) {
  schritte.reserve(felder.size());
  for (const Vesk_DatenFeld& feld : felder) {
    Schritt& schritt = schritte.emplace_back();
    schritt.muss = feld.gibFeldTyp() == Vesk_DatenFeld::MUSS;
    schritt.werteMenge = feld.gibWerteMenge();
    if (const auto* intervall = dynamic_cast<const Vesk_WerteMengeIntervall*>(schritt.werteMenge)) {
      schritt.menge = Menge::intervall;
      schritt.untere = intervall->gibUntereGrenze();
      schritt.obere = intervall->gibObereGrenze();
    } else if (const auto* codes =
                   dynamic_cast<const Vesk_WerteMengeAufzaehlung*>(schritt.werteMenge);
               codes != nullptr && codes->hatNurKurzeWerte()) {
      schritt.menge = Menge::kurzeCodes;
      schritt.codes = codes;
    } else if (schritt.werteMenge != nullptr) {
      schritt.menge = Menge::andere;
    }
    schritt.feldArt = &feld.gibFeldArt();
    const std::int64_t ende = std::int64_t{feld.gibAdresse()} + feld.gibAnzahlBytes();
    if (feld.gibAnzahlBytes() < 1 || ende > std::int64_t{Vesk_Satzart::SATZLAENGE}) {
      continue;  // an empty or odd field: the full check judges it
    }
    schritt.start = static_cast<std::uint16_t>(feld.gibAdresse());
    schritt.laenge = static_cast<std::uint16_t>(feld.gibAnzahlBytes());
    switch (feld.gibArt()) {
      case Vesk_DatenFeld::Art::alphanumerisch:
        schritt.weg = Weg::text;
        break;
      case Vesk_DatenFeld::Art::numerisch:
        schritt.weg = Weg::zahl;
        break;
      case Vesk_DatenFeld::Art::datum:
        schritt.weg = Weg::datum;
        break;
      case Vesk_DatenFeld::Art::uhrzeit:
        schritt.weg = Weg::uhrzeit;
        break;
      case Vesk_DatenFeld::Art::andere:
        break;
    }
  }
}

namespace {

// The two digits from `i` on as a number.
constexpr int zweiStellen(std::string_view ziffern, std::size_t i) {
  return (ziffern[i] - '0') * 10 + (ziffern[i + 1] - '0');
}

constexpr bool istSchaltjahr(int jahr) {
  return jahr % 4 == 0 && (jahr % 100 != 0 || jahr % 400 == 0);
}

constexpr int tageImMonat(int monat, int jahr) {
  constexpr int tage[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return monat == 2 && istSchaltjahr(jahr) ? 29 : tage[monat - 1];
}

// Whether the digits start with "00" (a day or a month of zero, or a shape the kind decides).
constexpr bool beginntMitNullNull(std::string_view ziffern) {
  return ziffern[0] == '0' && ziffern[1] == '0';
}

// Whether a field of digits only is a valid date. The common shapes ddMMyyyy and MMyyyy without
// leading "00" are decided here, as the date kind decides them (the proleptic Gregorian calendar,
// years from 1); every other shape is left to the kind itself.
bool istDatum(const Vesk_Feldart* art, std::string_view ziffern) {
  if (ziffern.size() == 8 && !beginntMitNullNull(ziffern)) {
    const int tag = zweiStellen(ziffern, 0);
    const int monat = zweiStellen(ziffern, 2);
    const int jahr = zweiStellen(ziffern, 4) * 100 + zweiStellen(ziffern, 6);
    return jahr >= 1 && monat >= 1 && monat <= 12 && tag >= 1 && tag <= tageImMonat(monat, jahr);
  }
  if (ziffern.size() == 6 && !beginntMitNullNull(ziffern)) {
    const int monat = zweiStellen(ziffern, 0);
    return monat <= 12 && zweiStellen(ziffern, 2) * 100 + zweiStellen(ziffern, 4) >= 1;
  }
  return static_cast<const Vesk_FeldartDatum*>(art)->pruefeGesamt(
             Vesk_Feldart::GUELTIG, MeldungsText(ziffern)) == Vesk_Feldart::GUELTIG;
}

// Whether a field of digits only is a valid time: mmss or HHmmss; other lengths are invalid.
bool istUhrzeit(std::string_view ziffern) {
  switch (ziffern.size()) {
    case 4:
      return zweiStellen(ziffern, 0) <= 59 && zweiStellen(ziffern, 2) <= 59;
    case 6:
      return zweiStellen(ziffern, 0) <= 23 && zweiStellen(ziffern, 2) <= 59 &&
             zweiStellen(ziffern, 4) <= 59;
    default:
      return false;
  }
}

// The word Vesk_WerteMengeAufzaehlung::alsWort makes of `feld` (a text of at most eight bytes,
// in the low bytes of a little-endian word, the bytes above it zero) once its trailing bytes up
// to 0x20 are trimmed, or nullopt when more than KURZ bytes remain. The first byte must be above
// 0x20, so that nothing is trimmed at the front; the zero bytes above the text count as trimmed.
std::optional<std::uint64_t> getrimmtesWort(std::uint64_t feld) {
  constexpr std::uint64_t hoch = 0x80 * achtfach::EINS;
  // A byte is above 0x20 when its top bit is set or its low seven bits plus 0x5F reach 0x80;
  // no carry leaves a byte, since 0x7F + 0x5F < 0x100.
  const std::uint64_t ueber = (feld | ((feld & ~hoch) + 0x5F * achtfach::EINS)) & hoch;
  if (ueber == 0) {
    return 0;  // the empty text
  }
  const std::size_t bleibt = (63 - static_cast<std::size_t>(std::countl_zero(ueber))) / 8 + 1;
  if (bleibt > Vesk_WerteMengeAufzaehlung::KURZ) {
    return std::nullopt;
  }
  return (feld & ((std::uint64_t{1} << (8 * bleibt)) - 1)) | (std::uint64_t{bleibt} << 56);
}

}  // namespace

// A field of blanks (or, for a number, of zeros) is the initial value: no finding in a field that
// is not mandatory and has no value set to test the empty value against.
bool Pruefplan::ohneFundAlsInitialwert(const Schritt& schritt) const {
  return !schritt.muss && schritt.werteMenge == nullptr;
}

// The value-set test as the field kinds make it, on the collected characters, trimmed. Digits
// need no trimming, and up to nine of them are a number within 32 bits; an interval and a set of
// short codes answer here, without a call through the value set's virtual table.
bool Pruefplan::imWertebereich(const Schritt& schritt, const unsigned char* anfang,
                               std::size_t laenge, bool nurZiffern) const {
  switch (schritt.menge) {
    case Menge::keine:
      return true;
    case Menge::intervall:
      if (nurZiffern && laenge <= 9) {
        const std::int32_t zahl = zahlAus(alsText(anfang, laenge));
        return schritt.untere <= zahl && zahl <= schritt.obere;
      }
      break;
    case Menge::kurzeCodes: {
      const std::string_view text =
          nurZiffern ? alsText(anfang, laenge) : trimme(alsText(anfang, laenge));
      return text.size() <= Vesk_WerteMengeAufzaehlung::KURZ &&
             schritt.codes->enthaeltWort(Vesk_WerteMengeAufzaehlung::alsWort(text));
    }
    case Menge::andere:
      break;
  }
  return schritt.werteMenge->inDerMenge(MeldungsText(trimme(alsText(anfang, laenge))));
}

// Most fields have no value set; they pass without a call.
inline bool Pruefplan::passt(const Schritt& schritt, const unsigned char* anfang,
                             std::size_t laenge, bool nurZiffern) const {
  return schritt.menge == Menge::keine || imWertebereich(schritt, anfang, laenge, nurZiffern);
}

bool Pruefplan::istUnauffaellig(const Schritt& schritt, std::span<const unsigned char> satz) const {
  if (schritt.weg == Weg::voll) {
    return false;
  }
  const unsigned char* anfang = satz.data() + schritt.start;
  const std::string_view feld = alsText(anfang, schritt.laenge);
  const Feldworte worte(satz, schritt.start, schritt.laenge);
  if (schritt.weg == Weg::text) {
    // Text from the first byte on is collected whole; a leading blank means blanks only or bad.
    if (feld.front() != ' ') {
      // A code of a few letters: its word straight from the bytes, trimmed there.
      if (std::endian::native == std::endian::little && schritt.menge == Menge::kurzeCodes &&
          feld.size() <= 8 && anfang[0] > 0x20) {
        const std::optional<std::uint64_t> wort = getrimmtesWort(worte.kurz());
        return wort && schritt.codes->enthaeltWort(*wort);
      }
      return passt(schritt, anfang, feld.size(), false);
    }
    return ohneFundAlsInitialwert(schritt) && worte.nur(' ');
  }
  if (!worte.nurZiffern()) {
    // Not all digits: blanks only can still be the initial value of a date or a time.
    return schritt.weg != Weg::zahl && ohneFundAlsInitialwert(schritt) && worte.nur(' ');
  }
  switch (schritt.weg) {
    case Weg::zahl: {
      // Leading zeros are not collected; zeros only are the initial value.
      const std::size_t ersteZiffer = ersteAndere(feld, 0, '0');
      if (ersteZiffer == feld.size()) {
        return ohneFundAlsInitialwert(schritt);
      }
      return passt(schritt, anfang + ersteZiffer, feld.size() - ersteZiffer, true);
    }
    case Weg::datum:
      return istDatum(schritt.feldArt, feld) && passt(schritt, anfang, feld.size(), true);
    case Weg::uhrzeit:
      return istUhrzeit(feld) && passt(schritt, anfang, feld.size(), true);
    case Weg::text:
    case Weg::voll:
      break;
  }
  return false;
}

}  // namespace vesk
