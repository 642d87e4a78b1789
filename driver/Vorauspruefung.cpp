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

bool Vorauspruefung::lohnt(std::size_t laenge, std::int64_t anzahl, unsigned faeden) {
  return faeden > 1 && anzahl >= std::int64_t{Vesk_TechnischePlausi::SAETZE_FUER_FAEDEN} &&
         laenge / SATZLAENGE == static_cast<std::size_t>(anzahl) + 2 && laenge % SATZLAENGE == 0;
}

Vorauspruefung::Vorauspruefung(const SatzartenRegister& satzArten_,
                               std::span<const unsigned char> nachricht_, unsigned faeden)
    : satzArten(satzArten_),
      nachricht(nachricht_),
      anzahlSaetze(nachricht_.size() / SATZLAENGE),
      anzahlBloecke((anzahlSaetze + BLOCK - 1) / BLOCK),
      listen(anzahlBloecke),
      fehlerfrei(anzahlBloecke, 1) {
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

void Vorauspruefung::arbeite() {
  Namensgeber namen(satzArten);
  for (std::size_t block = naechsterBlock.fetch_add(1); block < anzahlBloecke;
       block = naechsterBlock.fetch_add(1)) {
    Vesk_FehlerListe& liste = listen[block];
    const std::size_t ende = std::min(anzahlSaetze, (block + 1) * BLOCK);
    try {
      for (std::size_t i = block * BLOCK; i < ende; ++i) {
        const std::span<const unsigned char> satz = nachricht.subspan(i * SATZLAENGE, SATZLAENGE);
        const Vesk_Satzart* satzart = namen.benenne(satz).satzart;
        if (satzart == nullptr) {
          unbrauchbar.store(true);
          naechsterBlock.store(anzahlBloecke);
          return;
        }
        const std::size_t vorher = liste.gibGroesse();
        if (!satzart->pruefe(satz, 0, liste)) {
          fehlerfrei[block] = 0;
          for (std::size_t j = vorher; j < liste.gibGroesse(); ++j) {
            liste.gibFehler(j).setzeDatensatzNummer(static_cast<std::int64_t>(i));
          }
        }
      }
    } catch (...) {  // the usual check meets the same fault and reports it
      unbrauchbar.store(true);
      naechsterBlock.store(anzahlBloecke);
      return;
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
  for (std::size_t block = 0; block < anzahlBloecke; ++block) {
    ohneFund = ohneFund && fehlerfrei[block] != 0;
    liste.uebernehmeFehler(std::move(listen[block]));
  }
  return ohneFund;
}

}  // namespace vesk
