#include "driver/Vorauspruefung.h"

#include "config/Vesk_Satzart.h"
#include "config/Vesk_TechnischePlausi.h"
#include "driver/Namensgeber.h"
#include "driver/Vesk_Datensatz.h"
#include "driver/Vesk_Meldung.h"
#include "errors/Vesk_Fehler.h"

namespace vesk {

namespace {

constexpr std::size_t SATZLAENGE = Vesk_Datensatz::SATZLAENGE;

}  // namespace

bool Vorauspruefung::lohnt(std::size_t laenge, std::int64_t anzahl) {
  return anzahl >= std::int64_t{Vesk_TechnischePlausi::SAETZE_FUER_FAEDEN} &&
         laenge / SATZLAENGE == static_cast<std::size_t>(anzahl) + 2 && laenge % SATZLAENGE == 0;
}

Vorauspruefung::Vorauspruefung(const SatzartenRegister& satzArten_,
                               std::span<const unsigned char> nachricht_, unsigned faeden)
    : satzArten(satzArten_),
      nachricht(nachricht_),
      anzahlSaetze(nachricht_.size() / SATZLAENGE),
      block(faeden > 1 ? BLOCK_JE_FADEN : BLOCK_OHNE_FAEDEN),
      anzahlBloecke((anzahlSaetze + block - 1) / block),
      listen(faeden > 1 ? anzahlBloecke : 1),
      fehlerfrei(listen.size(), 1),
      namenBeimSchritthalten(satzArten_) {
  threads.reserve(faeden - 1);
  for (unsigned f = 1; f < faeden; ++f) {
    threads.emplace_back([this] { arbeite(); });
  }
}

Vorauspruefung::~Vorauspruefung() {
  halteAn();
}

void Vorauspruefung::halteAn() {
  naechsterBlock.store(anzahlBloecke);
  threads.clear();
}

bool Vorauspruefung::pruefeBlock(std::size_t nummer, Namensgeber& namen) {
  // On one thread the blocks come in order, and their findings go to one list.
  const std::size_t teil = listen.size() == 1 ? 0 : nummer;
  Vesk_FehlerListe& liste = listen[teil];
  const std::size_t ende = std::min(anzahlSaetze, (nummer + 1) * block);
  try {
    for (std::size_t i = nummer * block; i < ende; ++i) {
      const std::span<const unsigned char> satz = nachricht.subspan(i * SATZLAENGE, SATZLAENGE);
      const Vesk_Satzart* satzart = namen.benenne(satz).satzart;
      if (satzart == nullptr) {
        return false;
      }
      const std::size_t vorher = liste.gibGroesse();
      if (!satzart->pruefe(satz, 0, liste)) {
        fehlerfrei[teil] = 0;
        for (std::size_t j = vorher; j < liste.gibGroesse(); ++j) {
          liste.gibFehler(j).setzeDatensatzNummer(static_cast<std::int64_t>(i));
        }
      }
    }
  } catch (...) {  // the usual check meets the same fault and reports it
    return false;
  }
  return true;
}

void Vorauspruefung::arbeite() {
  Namensgeber namenDesFadens(satzArten);
  for (std::size_t nummer = naechsterBlock.fetch_add(1); nummer < anzahlBloecke;
       nummer = naechsterBlock.fetch_add(1)) {
    if (!pruefeBlock(nummer, namenDesFadens)) {
      unbrauchbar.store(true);
      naechsterBlock.store(anzahlBloecke);
      return;
    }
  }
}

void Vorauspruefung::holeAuf(std::size_t gelesen) {
  // On one thread this thread alone takes the blocks, in order; a block that cannot be used
  // takes all that are left.
  for (std::size_t nummer = naechsterBlock.load();
       nummer < anzahlBloecke && (nummer + 1) * block <= gelesen; nummer = naechsterBlock.load()) {
    naechsterBlock.store(nummer + 1);
    if (!pruefeBlock(nummer, namenBeimSchritthalten)) {
      unbrauchbar.store(true);
      naechsterBlock.store(anzahlBloecke);
    }
  }
}

std::optional<bool> Vorauspruefung::vollende(const Vesk_Meldung& meldung, Vesk_FehlerListe& liste) {
  const bool passend = meldung.gibAnzahl() == anzahlSaetze && meldung.liegtLueckenlos();
  if (passend) {
    arbeite();
  }
  halteAn();
  if (!passend || unbrauchbar.load()) {
    return std::nullopt;
  }
  bool ohneFund = true;
  for (std::size_t teil = 0; teil < listen.size(); ++teil) {
    ohneFund = ohneFund && fehlerfrei[teil] != 0;
    liste.uebernehmeFehler(std::move(listen[teil]));
  }
  return ohneFund;
}

}  // namespace vesk
