#include "config/Pruefplan.h"

#include <array>
#include <atomic>
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

// The word Vesk_WerteMengeAufzaehlung::alsWort makes of `feld` (a text of at most eight bytes,
// in the low bytes of a word, the first lowest, the bytes above it zero) once its trailing bytes up
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

constexpr bool istSchaltjahr(int jahr) {
  return jahr % 4 == 0 && (jahr % 100 != 0 || jahr % 400 == 0);
}

constexpr int tageImMonat(int monat, int jahr) {
  constexpr int tage[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return monat == 2 && istSchaltjahr(jahr) ? 29 : tage[monat - 1];
}

// Whether digits are a valid date as the date kind decides it.
bool istDatumDerArt(const Vesk_Feldart* art, std::string_view ziffern) {
  return static_cast<const Vesk_FeldartDatum*>(art)->pruefeGesamt(
             Vesk_Feldart::GUELTIG, MeldungsText(ziffern)) == Vesk_Feldart::GUELTIG;
}

constexpr std::uint64_t LEERZEICHEN = ' ' * achtfach::EINS;

// A field of up to eight bytes as one word: its bytes in the low bytes, the first lowest, the
// rest zero. Each whole-field test is then a few operations on that word, with no loop.
class KurzesFeld {
 public:
  // The digits of a field of digits as two-digit numbers: paar[k] of the digits 2k and 2k + 1.
  class Paare {
   public:
    Paare(std::uint64_t wort, std::uint64_t maske) {
      // Each byte becomes ten times its digit plus the next digit; no sum leaves its byte.
      const std::uint64_t ziffern = wort - (achtfach::NULLEN & maske);
      paare = ziffern * 10 + (ziffern >> 8);
    }
    int operator[](unsigned k) const { return static_cast<int>((paare >> (16 * k)) & 0xFF); }

   private:
    std::uint64_t paare;
  };

  KurzesFeld(const unsigned char* feldAnfang, std::size_t feldLaenge, std::uint64_t feldWort,
             std::uint64_t feldMaske)
      : anfang(feldAnfang), laenge(feldLaenge), wort(feldWort), maske(feldMaske) {}

  [[nodiscard]] const unsigned char* bytes() const { return anfang; }
  [[nodiscard]] std::size_t size() const { return laenge; }
  [[nodiscard]] bool beginntMitLeerzeichen() const { return (wort & 0xFF) == ' '; }
  [[nodiscard]] bool nurLeerzeichen() const { return wort == (LEERZEICHEN & maske); }
  [[nodiscard]] bool nurZiffern() const {
    return achtfach::alleZiffern(wort | (achtfach::NULLEN & ~maske));
  }
  // The index of the first byte that is no '0', or size().
  [[nodiscard]] std::size_t ersteZiffer() const {
    const std::uint64_t andere = wort ^ (achtfach::NULLEN & maske);
    return andere == 0 ? laenge : static_cast<std::size_t>(std::countr_zero(andere)) / 8;
  }
  // The number of the field's digits. Precondition: nurZiffern().
  [[nodiscard]] std::optional<std::int32_t> zahl() const {
    return static_cast<std::int32_t>(achtfach::zahlAus(wort, laenge));
  }
  // Whether the digits are a valid date. The common shapes ddMMyyyy and MMyyyy without leading
  // "00" are decided here, as the date kind decides them (the proleptic Gregorian calendar, years
  // from 1); every other shape is left to the kind itself. Precondition: nurZiffern().
  [[nodiscard]] bool istDatum(const Vesk_Feldart* art) const {
    const Paare paar(wort, maske);
    if (laenge == 8 && paar[0] != 0) {
      const int jahr = paar[2] * 100 + paar[3];
      return jahr >= 1 && paar[1] >= 1 && paar[1] <= 12 && paar[0] <= tageImMonat(paar[1], jahr);
    }
    if (laenge == 6 && paar[0] != 0) {
      return paar[0] <= 12 && paar[1] * 100 + paar[2] >= 1;
    }
    return istDatumDerArt(art, alsText(anfang, laenge));
  }
  // Whether the digits are a valid time: mmss or HHmmss; other lengths are invalid.
  // Precondition: nurZiffern().
  [[nodiscard]] bool istUhrzeit() const {
    const Paare paar(wort, maske);
    switch (laenge) {
      case 4:
        return paar[0] <= 59 && paar[1] <= 59;
      case 6:
        return paar[0] <= 23 && paar[1] <= 59 && paar[2] <= 59;
      default:
        return false;
    }
  }
  // Whether the text is one of `codes`, looked up by its word, trimmed where it stands; nullopt
  // for a text whose first byte is 0x20 or below, which trimming would shorten at the front.
  [[nodiscard]] std::optional<bool> inCodes(const Vesk_WerteMengeAufzaehlung& codes) const {
    if ((wort & 0xFF) <= 0x20) {
      return std::nullopt;
    }
    const std::optional<std::uint64_t> getrimmt = getrimmtesWort(wort);
    return getrimmt && codes.enthaeltWort(*getrimmt);
  }

 private:
  const unsigned char* anfang;
  std::size_t laenge;
  std::uint64_t wort;
  std::uint64_t maske;
};

// A field of more than eight bytes, tested eight bytes at a time; where the length is no
// multiple of eight, the last word overlaps the one before it.
class LangesFeld {
 public:
  LangesFeld(const unsigned char* feldAnfang, std::size_t feldLaenge)
      : anfang(feldAnfang), laenge(feldLaenge) {}

  [[nodiscard]] const unsigned char* bytes() const { return anfang; }
  [[nodiscard]] std::size_t size() const { return laenge; }
  [[nodiscard]] bool beginntMitLeerzeichen() const { return anfang[0] == ' '; }
  [[nodiscard]] bool nurLeerzeichen() const {
    // A long field is mostly a reserve of blanks: all its words are read, without a branch per
    // word, and their differences collected.
    std::uint64_t abweichung = wortBei(laenge - 8) ^ LEERZEICHEN;
    for (std::size_t i = 0; i + 8 < laenge; i += 8) {
      abweichung |= wortBei(i) ^ LEERZEICHEN;
    }
    return abweichung == 0;
  }
  [[nodiscard]] bool nurZiffern() const {
    for (std::size_t i = 0; i + 8 < laenge; i += 8) {
      if (!achtfach::alleZiffern(wortBei(i))) {
        return false;
      }
    }
    return achtfach::alleZiffern(wortBei(laenge - 8));
  }
  [[nodiscard]] std::size_t ersteZiffer() const { return ersteAndere(text(), 0, '0'); }
  // Left to the value-set test, which reads up to nine digits as a number.
  [[nodiscard]] static std::optional<std::int32_t> zahl() { return std::nullopt; }
  [[nodiscard]] bool istDatum(const Vesk_Feldart* art) const { return istDatumDerArt(art, text()); }
  [[nodiscard]] static bool istUhrzeit() { return false; }  // longer than HHmmss
  // Left to the value-set test, which trims a copy.
  [[nodiscard]] static std::optional<bool> inCodes(const Vesk_WerteMengeAufzaehlung& /*codes*/) {
    return std::nullopt;
  }

 private:
  [[nodiscard]] std::uint64_t wortBei(std::size_t i) const {
    return achtfach::lade(reinterpret_cast<const char*>(anfang) + i);
  }
  [[nodiscard]] std::string_view text() const { return alsText(anfang, laenge); }

  const unsigned char* anfang;
  std::size_t laenge;
};

}  // namespace

Pruefplan::Pruefplan(std::span<const Vesk_DatenFeld> felder) {
  static std::atomic<std::uint64_t> naechsteNummer{1};
  const std::uint64_t nummer = naechsteNummer.fetch_add(1);
  schritte.reserve(felder.size());
  for (const Vesk_DatenFeld& feld : felder) {
    const std::size_t index = schritte.size();
    Schritt& schritt = schritte.emplace_back();
    // Plans numbered one after the other take their fields' entries from different places.
    schritt.platz = static_cast<std::uint16_t>((nummer * 61 + index) % ERINNERUNGEN);
    schritt.schluessel = nummer << 32U | index;
    schritt.werteMenge = feld.gibWerteMenge();
    schritt.leerOhneFund =
        feld.gibFeldTyp() != Vesk_DatenFeld::MUSS && schritt.werteMenge == nullptr;
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
    if (schritt.laenge <= 8) {
      // The eight bytes from the field's start, or at the record's end the last eight.
      const unsigned oben = 8 * (8U - schritt.laenge);
      const bool amEnde = schritt.start + 8U > Vesk_Satzart::SATZLAENGE;
      schritt.wortAb =
          amEnde ? static_cast<std::uint16_t>(schritt.start + schritt.laenge - 8) : schritt.start;
      schritt.rechts = static_cast<std::uint8_t>(amEnde ? oben : 0);
      schritt.maske = ~std::uint64_t{0} >> oben;
    }
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

// The value-set test as the field kinds make it, on the collected characters, trimmed. Digits
// need no trimming, and up to nine of them are a number within 32 bits; an interval and a set of
// short codes answer here, without a call through the value set's virtual table.
bool Pruefplan::imWertebereich(const Schritt& schritt, const unsigned char* anfang,
                               std::size_t laenge, bool nurZiffern) {
  if (schritt.menge == Menge::intervall && nurZiffern && laenge <= 9) {
    const std::int32_t zahl = zahlAus(alsText(anfang, laenge));
    return schritt.untere <= zahl && zahl <= schritt.obere;
  }
  if (schritt.menge == Menge::kurzeCodes) {
    const std::string_view text =
        nurZiffern ? alsText(anfang, laenge) : trimme(alsText(anfang, laenge));
    return text.size() <= Vesk_WerteMengeAufzaehlung::KURZ &&
           schritt.codes->enthaeltWort(Vesk_WerteMengeAufzaehlung::alsWort(text));
  }
  return schritt.werteMenge->inDerMenge(MeldungsText(trimme(alsText(anfang, laenge))));
}

// Inlined into the walk: a call per field would cost as much as the tests it makes.
template <class Feld>
[[gnu::always_inline]] inline bool Pruefplan::entscheide(const Schritt& schritt, const Feld& feld) {
  const auto passt = [&schritt](const unsigned char* anfang, std::size_t laenge, bool ziffern) {
    return schritt.menge == Menge::keine || imWertebereich(schritt, anfang, laenge, ziffern);
  };
  if (schritt.weg == Weg::text) {
    // Text from the first byte on is collected whole; a leading blank means blanks only or bad.
    if (feld.beginntMitLeerzeichen()) {
      return schritt.leerOhneFund && feld.nurLeerzeichen();
    }
    if (schritt.menge == Menge::kurzeCodes) {
      if (const std::optional<bool> drin = feld.inCodes(*schritt.codes)) {
        return *drin;
      }
    }
    return passt(feld.bytes(), feld.size(), false);
  }
  if (!feld.nurZiffern()) {
    // Not all digits: blanks only can still be the initial value of a date or a time.
    return schritt.weg != Weg::zahl && schritt.leerOhneFund && feld.nurLeerzeichen();
  }
  switch (schritt.weg) {
    case Weg::zahl: {
      // Leading zeros are not collected; zeros only are the initial value.
      const std::size_t ersteZiffer = feld.ersteZiffer();
      if (ersteZiffer == feld.size()) {
        return schritt.leerOhneFund;
      }
      if (schritt.menge == Menge::intervall) {
        if (const std::optional<std::int32_t> zahl = feld.zahl()) {
          return schritt.untere <= *zahl && *zahl <= schritt.obere;
        }
      }
      return passt(feld.bytes() + ersteZiffer, feld.size() - ersteZiffer, true);
    }
    case Weg::datum:
      return feld.istDatum(schritt.feldArt) && passt(feld.bytes(), feld.size(), true);
    case Weg::uhrzeit:
      return feld.istUhrzeit() && passt(feld.bytes(), feld.size(), true);
    case Weg::text:
    case Weg::voll:
      break;
  }
  return false;
}

// Fields mostly repeat from record to record: the record type's number, dates, a currency, a
// code. Each thread keeps, per short field, the bytes that passed last, and a field with the
// same bytes passes without its tests: its decision depends on its bytes alone. A plan's number
// is never reused, so that no entry left by a plan that is gone can stand for another.
Pruefplan::Erinnerung* Pruefplan::erinnerungen() {
  thread_local std::array<Erinnerung, ERINNERUNGEN> tabelle{};
  return tabelle.data();
}

bool Pruefplan::istUnauffaellig(const Schritt& schritt, std::span<const unsigned char> satz,
                                Erinnerung* gedaechtnis) {
  if (schritt.weg == Weg::voll) {
    return false;
  }
  const unsigned char* anfang = satz.data() + schritt.start;
  if (schritt.laenge <= 8) {
    const std::uint64_t wort =
        (achtfach::lade(reinterpret_cast<const char*>(satz.data()) + schritt.wortAb) >>
         schritt.rechts) &
        schritt.maske;
    Erinnerung& zuletzt = gedaechtnis[schritt.platz];
    if (zuletzt.schluessel == schritt.schluessel && zuletzt.wort == wort) {
      return true;
    }
    if (!entscheide(schritt, KurzesFeld(anfang, schritt.laenge, wort, schritt.maske))) {
      return false;
    }
    zuletzt = {schritt.schluessel, wort};
    return true;
  }
  return entscheide(schritt, LangesFeld(anfang, schritt.laenge));
}

}  // namespace vesk
