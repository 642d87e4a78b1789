#include "config/Vesk_DatenFeld.h"

#include <string>

#include "config/Text.h"
#include "config/Vesk_DatensatzDateiException.h"
#include "config/Vesk_Satzart.h"
#include "config/Vesk_StrukturDateiException.h"
#include "errors/Vesk_DatenFeldFehler.h"
#include "errors/Vesk_FehlerListe.h"
#include "fields/Vesk_Feldart.h"
#include "fields/Vesk_FeldartAlphaNumerisch.h"
#include "fields/Vesk_FeldartDatum.h"
#include "fields/Vesk_FeldartNumerisch.h"
#include "fields/Vesk_FeldartUhrzeit.h"
#include "fields/Vesk_FeldartenFabrik.h"
#include "fields/Vesk_WerteMenge.h"
#include "fields/Vesk_WertemengenFabrik.h"
#include "fields/WertemengenRegister.h"

namespace {

constexpr auto SATZLAENGE = static_cast<std::int64_t>(Vesk_Satzart::SATZLAENGE);

std::int32_t leseZahl(std::string_view text) {
  const auto zahl = vesk::leseGanzzahl(text);
  if (!zahl) {
    throw Vesk_DatensatzDateiException("Ungueltiger Wert " + std::string(text) +
                                       " (nur ganze Zahlen erlaubt)");
  }
  return *zahl;
}

Vesk_DatenFeld::Art artVon(const Vesk_Feldart& feldArt) {
  if (dynamic_cast<const Vesk_FeldartNumerisch*>(&feldArt) != nullptr) {
    return Vesk_DatenFeld::Art::numerisch;
  }
  if (dynamic_cast<const Vesk_FeldartAlphaNumerisch*>(&feldArt) != nullptr) {
    return Vesk_DatenFeld::Art::alphanumerisch;
  }
  if (dynamic_cast<const Vesk_FeldartDatum*>(&feldArt) != nullptr) {
    return Vesk_DatenFeld::Art::datum;
  }
  if (dynamic_cast<const Vesk_FeldartUhrzeit*>(&feldArt) != nullptr) {
    return Vesk_DatenFeld::Art::uhrzeit;
  }
  return Vesk_DatenFeld::Art::andere;
}

}  // namespace

Vesk_DatenFeld::Vesk_DatenFeld(std::string_view definition)
    : Vesk_DatenFeld(definition, Vesk_WertemengenFabrik::gibRegister()) {}

Vesk_DatenFeld::Vesk_DatenFeld(std::string_view definition,
                               const vesk::WertemengenRegister& benannteMengen)
    : werteMengen(&benannteMengen) {
  int n = 0;
  std::string parameter;
  for (const char zeichen : definition) {
    if (zeichen == ' ' || zeichen == '\t') {
      continue;
    }
    if (zeichen == ',' && n < 4) {
      setzeFeld(n, parameter);
      parameter.clear();
      ++n;
    } else {
      parameter.push_back(zeichen);
    }
  }
  setzeFeld(n, parameter);
  if (n < 3) {
    throw Vesk_DatensatzDateiException("Zu wengig Parameter in " + std::string(definition));
  }
}

void Vesk_DatenFeld::setzeFeld(int n, std::string_view text) {
  switch (n) {
    case 0:
      if (text == "m") {
        feldTyp = MUSS;
      } else if (text == "mk") {
        feldTyp = MUSS_KANN;
      } else if (text.empty()) {
        feldTyp = KANN;
      } else {
        throw Vesk_DatensatzDateiException("Nicht erlaubter Feldtyp " + std::string(text) +
                                           "(erlaubt:m,mk)");
      }
      break;
    case 1:
      feldArt = Vesk_FeldartenFabrik::gibFeldart(text);
      if (feldArt == nullptr) {
        throw Vesk_DatensatzDateiException("Unbekannter Datentyp:" + std::string(text));
      }
      art = artVon(*feldArt);
      break;
    case 2:
      setzeAdresse(text);
      break;
    case 3:
      setzeAnzahlBytes(text);
      break;
    case 4:
      setzeWerteMenge(text);
      break;
    default:
      throw Vesk_Exception("Programmierfehler: falsche Feldnummer");
  }
}

void Vesk_DatenFeld::setzeAdresse(std::string_view text) {
  const std::int32_t position = leseZahl(text);
  if (position < 1) {
    throw Vesk_DatensatzDateiException("Ungueltiger Wert " + std::string(text) +
                                       " (Adresse muss mindestens 1 sein)");
  }
  adresse = position - 1;
  if (adresse > SATZLAENGE) {
    throw Vesk_StrukturDateiException("Adresse " + std::to_string(adresse) + " > 256 ");
  }
}

void Vesk_DatenFeld::setzeAnzahlBytes(std::string_view text) {
  anzahlBytes = leseZahl(text);
  const std::int64_t ende = std::int64_t{adresse} + anzahlBytes;
  if (ende > SATZLAENGE) {
    throw Vesk_StrukturDateiException("Adresse + AnzahlBytes = " + std::to_string(ende) + " > 256");
  }
}

void Vesk_DatenFeld::setzeWerteMenge(std::string_view text) {
  werteMenge = werteMengen->gib(text);
  if (werteMenge == nullptr) {
    eigeneWerteMenge = Vesk_WertemengenFabrik::createWerteMenge("", text);
    werteMenge = eigeneWerteMenge.get();
  }
}

Vesk_DatenFeldFehler* Vesk_DatenFeld::pruefe(std::span<const unsigned char> bytes,
                                             std::size_t offset, Vesk_FehlerListe& liste) const {
  const std::size_t start = offset + static_cast<std::size_t>(adresse);
  const int status = untersuche(bytes, start).status;
  const bool muss = feldTyp == MUSS;
  switch (status) {
    case Vesk_Feldart::INITIALWERT:
      if (muss) {
        return &liste.hinzufuegenFehler(
            std::make_unique<Vesk_DatenFeldFehler>(Vesk_DatenFeldFehler::MUSS_FEHLER));
      }
      return nullptr;
    case Vesk_Feldart::UNGUELTIG:
      return &liste.hinzufuegenFehler(
          std::make_unique<Vesk_DatenFeldFehler>(Vesk_DatenFeldFehler::FORMAT_FEHLER));
    case Vesk_Feldart::INITIALWERT_NICHT_IM_WERTEBEREICH:
      if (!muss) {
        return nullptr;
      }
      [[fallthrough]];
    case Vesk_Feldart::NICHT_IM_WERTEBEREICH: {
      std::string text = "'" + werteMenge->gibBezeichner() +
                         "' :" + feldArt->gibWert(bytes, start, anzahlBytes).alsUtf8();
      return &liste.hinzufuegenFehler(std::make_unique<Vesk_DatenFeldFehler>(
          Vesk_DatenFeldFehler::WERTEBEREICH_FEHLER, std::move(text)));
    }
    default:
      return nullptr;
  }
}

Vesk_Feldart::Befund Vesk_DatenFeld::untersuche(std::span<const unsigned char> bytes,
                                                std::size_t start) const {
  // The kinds are final classes: named here, their checks are called without a virtual call
  // and can be inlined into the field walk.
  switch (art) {
    case Art::numerisch:
      return static_cast<const Vesk_FeldartNumerisch&>(*feldArt).untersuche(
          bytes, start, anzahlBytes, werteMenge);
    case Art::alphanumerisch:
      return static_cast<const Vesk_FeldartAlphaNumerisch&>(*feldArt).untersuche(
          bytes, start, anzahlBytes, werteMenge);
    case Art::datum:
      return static_cast<const Vesk_FeldartDatum&>(*feldArt).untersuche(bytes, start, anzahlBytes,
                                                                        werteMenge);
    case Art::uhrzeit:
      return static_cast<const Vesk_FeldartUhrzeit&>(*feldArt).untersuche(bytes, start, anzahlBytes,
                                                                          werteMenge);
    case Art::andere:
      break;
  }
  return feldArt->untersuche(bytes, start, anzahlBytes, werteMenge);
}

vesk::MeldungsText Vesk_DatenFeld::gibWert(std::span<const unsigned char> bytes,
                                           std::size_t offset) const {
  return feldArt->gibWert(bytes, offset + static_cast<std::size_t>(adresse), anzahlBytes);
}
