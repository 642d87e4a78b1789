#include "errors/Vesk_FehlerListe.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "config/Vesk_Exception.h"
#include "errors/Vesk_DatenFeldFehler.h"
#include "errors/Vesk_MussKannFehler.h"
#include "errors/Vesk_StrukturFehler.h"
#include "tests/support/TestDateien.h"

namespace {

// An error record of a class the protocol file does not know.
class FremderFehler : public Vesk_Fehler {
 public:
  FremderFehler() : Vesk_Fehler(99, std::nullopt, 0, std::nullopt) {}
  [[nodiscard]] std::string gibBeschreibung() const override { return "fremd"; }
  [[nodiscard]] std::string_view gibFehlerText() const override { return "Fremder Fehler"; }
  [[nodiscard]] std::unique_ptr<Vesk_Fehler> kopiere() const override {
    return std::make_unique<FremderFehler>(*this);
  }
};

template <class F, class... Argumente>
F& fuegeAn(Vesk_FehlerListe& liste, Argumente&&... argumente) {
  return liste.hinzufuegenFehler(std::make_unique<F>(std::forward<Argumente>(argumente)...));
}

Vesk_DatenFeldFehler& fuegeFeldFehlerAn(Vesk_FehlerListe& liste, std::int32_t nummer,
                                        const char* satzart, std::int32_t feld) {
  auto& fehler = fuegeAn<Vesk_DatenFeldFehler>(liste, nummer);
  fehler.setzeSatzart(satzart);
  fehler.setzeFeldNummer(feld);
  return fehler;
}

// One entry of every kind the protocol file distinguishes, with the line each one gives.
void fuelle(Vesk_FehlerListe& liste, std::string& erwartet) {
  fuegeAn<Vesk_StrukturFehler>(liste, 30, "4001").setzeDatensatzNummer(0);
  erwartet += "Struktur ,30,4001,Vorsatz fehlt\r\n";
  fuegeAn<Vesk_StrukturFehler>(liste, 27).setzeErklaerendenText(
      "Nachrichtenl\xC3\xA4nge < 512 Byte");
  erwartet +=
      "Struktur ,27,    ,Nachrichtenlaenge unstimmig,Nachrichtenl\xC3\xA4nge < 512 Byte\r\n";
  fuegeAn<Vesk_StrukturFehler>(liste, 24, "", "a,b").setzeDatensatzNummer(5);
  erwartet += "Struktur ,24,,Satzart nicht erlaubt,a,b\r\n";
  fuegeFeldFehlerAn(liste, 10, "4001", 2);
  erwartet += "Muss     ,10,4001,2,Muss-Feld nicht gefuellt\r\n";
  fuegeFeldFehlerAn(liste, 11, "4100.1", 0);
  erwartet += "Technisch,11,4100.1,0,Falsches Format\r\n";
  fuegeFeldFehlerAn(liste, 12, "4200", 14).setzeErklaerendenText("'' :A\xC3\xA4");
  erwartet += "Technisch,12,4200,14,Nicht in Wertemenge: ,'' :A\xC3\xA4\r\n";
  fuegeAn<Vesk_DatenFeldFehler>(liste, 11, "");
  erwartet += "Technisch,11,    ,0,Falsches Format,\r\n";
  fuegeAn<Vesk_MussKannFehler>(liste, 51);
  erwartet += "MussKann ,51,    ,Weder VU-Nummer noch Amtl. Kennzeichen gefuellt\r\n";
  fuegeAn<Vesk_MussKannFehler>(liste, 50, "x\ny").setzeSatzart("4001");
  erwartet += "MussKann ,50,4001,Versicherung ist nicht zu ermitteln,x\\x0Ay\r\n";
  fuegeAn<FremderFehler>(liste);
  erwartet += "Unbekannt,99,    ,Fremder Fehler\r\n";
}

TEST(FehlerListe, WritesOneProtocolLinePerEntryInListOrder) {
  const vesk::test::TestOrdner ordner;
  Vesk_FehlerListe liste;
  liste.setzeNachrichtenTyp("Schadenmeldung");
  std::string erwartet;
  fuelle(liste, erwartet);
  std::string alt;  // an earlier protocol, longer than the new one
  for (int i = 0; i < 50; ++i) {
    alt += "Technisch,11,4200,0,Falsches Format\r\n";
  }
  const std::string pfad = ordner.schreibe("protokoll.txt", alt);
  liste.schreibeProtokollDatei(pfad);
  EXPECT_EQ(vesk::test::leseDatei(pfad), erwartet);
}

TEST(FehlerListe, EmptyListGivesAnEmptyProtocolFile) {
  const vesk::test::TestOrdner ordner;
  const std::string pfad = ordner.schreibe("protokoll.txt", "Struktur ,30,4001,Vorsatz fehlt\r\n");
  Vesk_FehlerListe().schreibeProtokollDatei(pfad);
  EXPECT_TRUE(std::filesystem::is_regular_file(pfad));
  EXPECT_EQ(vesk::test::leseDatei(pfad), "");
}

TEST(FehlerListe, ProtocolFileThatCannotBeOpenedIsAnException) {
  const vesk::test::TestOrdner ordner;
  Vesk_FehlerListe liste;
  fuegeAn<Vesk_StrukturFehler>(liste, 30, "4001");
  for (const std::string& pfad : {ordner.pfad("fehlt/protokoll.txt"), ordner.pfad("")}) {
    SCOPED_TRACE(pfad);
    try {
      liste.schreibeProtokollDatei(pfad);
      ADD_FAILURE() << "no exception";
    } catch (const Vesk_Exception& e) {
      EXPECT_EQ(e.toString(), "Konnte Protokolldatei " + pfad + " nicht oeffnen");
    }
  }
}

TEST(FehlerListe, PrintsEachDescriptionOnALineOfItsOwn) {
  Vesk_FehlerListe liste;
  std::ostringstream leer;
  liste.ausgeben(leer);
  EXPECT_EQ(leer.str(), "");
  fuegeAn<Vesk_StrukturFehler>(liste, 30, "4001");
  fuegeFeldFehlerAn(liste, 10, "4001", 2);
  fuegeAn<Vesk_MussKannFehler>(liste, 51, "");
  std::ostringstream aus;
  liste.ausgeben(aus);
  EXPECT_EQ(aus.str(),
            "Strukturfehler: Datensatz: 0 Satzart: 4001; Vorsatz fehlt\n"
            "Technischer Fehler: Satzart: 4001 Feldnummer: 3; Muss-Feld nicht gefuellt\n"
            "Muss-Kann Fehler: Weder VU-Nummer noch Amtl. Kennzeichen gefuellt  \n");
}

TEST(FehlerListe, AppendsCopiesOfAnotherListAndLeavesItUnchanged) {
  Vesk_FehlerListe ziel;
  ziel.setzeNachrichtenTyp("Reparaturfreigabe");
  fuegeAn<Vesk_MussKannFehler>(ziel, 50);
  Vesk_FehlerListe quelle;
  quelle.setzeNachrichtenTyp("Schadenmeldung");
  std::string zeilen;
  fuelle(quelle, zeilen);
  quelle.gibLetztenFehler().setzeDatensatzNummer(7);

  ziel.hinzufuegenFehlerListe(quelle);

  ASSERT_EQ(ziel.gibGroesse(), quelle.gibGroesse() + 1);
  EXPECT_EQ(ziel.gibNachrichtenTyp(), "Reparaturfreigabe");
  EXPECT_EQ(quelle.gibNachrichtenTyp(), "Schadenmeldung");
  EXPECT_EQ(ziel.gibFehler(0).gibFehlerNummer(), 50);
  for (std::size_t i = 0; i < quelle.gibGroesse(); ++i) {
    SCOPED_TRACE(i);
    const Vesk_Fehler& kopie = ziel.gibFehler(i + 1);
    const Vesk_Fehler& original = quelle.gibFehler(i);
    EXPECT_NE(&kopie, &original);
    EXPECT_EQ(Vesk_FehlerListe::protokollZeile(kopie), Vesk_FehlerListe::protokollZeile(original));
    EXPECT_EQ(kopie.gibBeschreibung(), original.gibBeschreibung());
    EXPECT_EQ(kopie.gibDatensatzNummer(), original.gibDatensatzNummer());
  }
  // Completing an entry of one list leaves the other alone.
  ziel.gibLetztenFehler().setzeSatzart("4999");
  EXPECT_FALSE(quelle.gibLetztenFehler().gibSatzart().has_value());
}

TEST(FehlerListe, AppendingAListToItselfDoublesIt) {
  Vesk_FehlerListe liste;
  fuegeAn<Vesk_StrukturFehler>(liste, 30, "4001");
  fuegeAn<Vesk_MussKannFehler>(liste, 51);
  liste.hinzufuegenFehlerListe(liste);
  ASSERT_EQ(liste.gibGroesse(), 4U);
  EXPECT_EQ(liste.gibFehler(2).gibFehlerNummer(), 30);
  EXPECT_EQ(liste.gibFehler(3).gibFehlerNummer(), 51);
}

}  // namespace
