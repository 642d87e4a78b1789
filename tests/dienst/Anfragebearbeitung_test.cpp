#include "dienst/Anfragebearbeitung.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/Hauptprogramm.h"
#include "tests/support/Dienstumgebung.h"
#include "tests/support/TestDateien.h"

namespace {

namespace fs = std::filesystem;
namespace http = boost::beast::http;
using vesk::dienst::Anfragebearbeitung;
using vesk::dienst::Antwort;
using vesk::dienst::Grenzen;
using vesk::test::anfrage;

Grenzen kleineGrenzen() {
  Grenzen grenzen;
  grenzen.maxBytes = 1000;
  grenzen.maxKopf = 1024;
  return grenzen;
}

class Bearbeitung : public ::testing::Test {
 protected:
  vesk::test::Dienstumgebung umgebung{kleineGrenzen()};
  Anfragebearbeitung bearbeitung{*umgebung.konfigurationen, umgebung.metriken, umgebung.grenzen};

  std::vector<Antwort> roh(std::string_view bytes) { return bearbeitung.beantworteRoh(bytes); }
  Antwort eine(std::string_view bytes) {
    auto antworten = roh(bytes);
    EXPECT_EQ(antworten.size(), 1U);
    return antworten.empty() ? Antwort{} : antworten.front();
  }
};

struct Fall {
  std::string name;
  std::string anfrage;
  unsigned status;
  std::string typ;
  std::string titel;    // of a problem answer
  std::string erlaubt;  // the Allow header
};

TEST_F(Bearbeitung, AnswersEachKindOfRequestWithItsStatusAndType) {
  const std::string kopfZuGross = "X-Lang: " + std::string(2000, 'a') + "\r\n";
  const std::vector<Fall> faelle = {
      {"gesund", anfrage("GET", "/gesund"), 200, "application/json", "", ""},
      {"bereit", anfrage("GET", "/bereit"), 200, "application/json", "", ""},
      {"version", anfrage("GET", "/version"), 200, "application/json", "", ""},
      {"metriken", anfrage("GET", "/metriken"), 200, "text/plain; version=0.0.4; charset=utf-8", "",
       ""},
      {"seite", anfrage("GET", "/"), 200, "text/html; charset=utf-8", "", ""},
      {"unbekannt", anfrage("GET", "/nichts"), 404, "application/problem+json", "Nicht gefunden",
       ""},
      {"query am pfad", anfrage("GET", "/gesund?x=1"), 200, "application/json", "", ""},
      {"get auf pruefen", anfrage("GET", "/pruefen"), 405, "application/problem+json",
       "Methode nicht erlaubt", "POST"},
      {"post auf gesund", anfrage("POST", "/gesund"), 405, "application/problem+json",
       "Methode nicht erlaubt", "GET, HEAD"},
      {"http 2", "GET /gesund HTTP/2.0\r\nHost: x\r\n\r\n", 400, "application/problem+json",
       "Ungueltige Anfrage", ""},
      {"http 1.2", "GET /gesund HTTP/1.2\r\nHost: x\r\n\r\n", 400, "application/problem+json",
       "Ungueltige Anfrage", ""},
      {"ohne laenge", anfrage("POST", "/pruefen", "", "", false), 411, "application/problem+json",
       "Laenge erforderlich", ""},
      {"zu gross", anfrage("POST", "/pruefen", std::string(1001, 'x')), 413,
       "application/problem+json", "Nachricht zu gross", ""},
      {"zu gross ohne rumpf", "POST /pruefen HTTP/1.1\r\nContent-Length: 1001\r\n\r\n", 413,
       "application/problem+json", "Nachricht zu gross", ""},
      {"chunked zu gross",
       "POST /pruefen HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n3e8\r\n" +
           std::string(1000, 'x') + "\r\n1\r\nx\r\n0\r\n\r\n",
       413, "application/problem+json", "Nachricht zu gross", ""},
      {"kopf zu gross", anfrage("GET", "/gesund", "", kopfZuGross), 431, "application/problem+json",
       "Kopfzeilen zu gross", ""},
      {"kein http", "\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03 garbage\r\n\r\n", 400,
       "application/problem+json", "Ungueltige Anfrage", ""},
      {"kaputter name", anfrage("POST", "/pruefen?name=%zz", "x"), 400, "application/problem+json",
       "Ungueltige Anfrage", ""},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.name);
    const Antwort antwort = eine(fall.anfrage);
    EXPECT_EQ(antwort.result_int(), fall.status);
    EXPECT_EQ(antwort[http::field::content_type], fall.typ);
    EXPECT_EQ(antwort[http::field::allow], fall.erlaubt);
    EXPECT_FALSE(antwort["X-Request-Id"].empty());
    if (!fall.titel.empty()) {
      const auto problem = nlohmann::json::parse(antwort.body());
      EXPECT_EQ(problem["title"], fall.titel);
      EXPECT_EQ(problem["status"], fall.status);
      EXPECT_EQ(problem["type"], "about:blank");
    }
  }
}

TEST_F(Bearbeitung, HeadHasTheHeadOfGetAndNoBody) {
  for (const char* pfad : {"/gesund", "/metriken", "/", "/nichts"}) {
    SCOPED_TRACE(pfad);
    const Antwort get = eine(anfrage("GET", pfad));
    const Antwort head = eine(anfrage("HEAD", pfad));
    EXPECT_EQ(head.result_int(), get.result_int());
    EXPECT_EQ(head[http::field::content_type], get[http::field::content_type]);
    EXPECT_EQ(head[http::field::content_length], std::to_string(get.body().size()));
    EXPECT_TRUE(head.body().empty());
  }
}

TEST_F(Bearbeitung, PageForbidsEveryResourceFromElsewhere) {
  for (const char* pfad : {"/", "/seite.css", "/seite.js"}) {
    SCOPED_TRACE(pfad);
    const Antwort antwort = eine(anfrage("GET", pfad));
    EXPECT_EQ(antwort.result_int(), 200U);
    EXPECT_FALSE(antwort.body().empty());
    const std::string regeln(antwort["Content-Security-Policy"]);
    EXPECT_NE(regeln.find("default-src 'none'"), std::string::npos);
    EXPECT_EQ(regeln.find("unsafe"), std::string::npos);
    EXPECT_EQ(antwort["X-Content-Type-Options"], "nosniff");
  }
}

// What `vesk <befehl> --json plausi.ini <nachricht>` prints, run in this process.
std::string kommandozeile(const std::string& befehl, const std::string& nachricht) {
  std::ostringstream aus;
  std::ostringstream fehler;
  const std::vector<std::string> argumente{befehl, "--json", "plausi.ini", nachricht};
  static_cast<void>(vesk::cli::hauptprogramm(argumente, aus, fehler));
  return aus.str();
}

TEST_F(Bearbeitung, AnswersEqualTheCommandLineForEveryExample) {
  std::vector<std::string> nachrichten;
  for (const auto& eintrag : fs::directory_iterator("nachrichten")) {
    if (eintrag.path().extension() == ".dat") {
      nachrichten.push_back("nachrichten/" + eintrag.path().filename().string());
    }
  }
  ASSERT_GE(nachrichten.size(), 6U);
  Grenzen gross;
  Anfragebearbeitung ohneGrenze{*umgebung.konfigurationen, umgebung.metriken, gross};
  for (const std::string& nachricht : nachrichten) {
    SCOPED_TRACE(nachricht);
    const std::string bytes = vesk::test::leseDatei(nachricht);
    for (const std::string befehl : {"pruefen", "zeigen"}) {
      const auto antworten =
          ohneGrenze.beantworteRoh(anfrage("POST", "/" + befehl + "?name=" + nachricht, bytes));
      ASSERT_EQ(antworten.size(), 1U);
      EXPECT_EQ(antworten[0].result_int(), 200U);
      EXPECT_EQ(antworten[0].body(), kommandozeile(befehl, nachricht));
    }
  }
}

TEST_F(Bearbeitung, MessageThatEndsTheCheckIsAnAnswerWithAbbruch) {
  std::string bytes = vesk::test::leseDatei("nachrichten/schadenmeldung_ok.dat");
  bytes.replace(0, bytes.size(), bytes.size(), 'Z');  // no header, no Sendeart
  const Antwort antwort = eine(anfrage("POST", "/pruefen?name=m", bytes.substr(0, 600)));
  EXPECT_EQ(antwort.result_int(), 200U);
  const auto json = nlohmann::json::parse(antwort.body());
  EXPECT_NE(json["ergebnis"], "ok");
  EXPECT_EQ(json["nachricht"], "m");
}

TEST_F(Bearbeitung, NameIsDecodedAndKeepsBytesThatAreNoUtf8) {
  const struct {
    std::string abfrage;
    std::string name;
  } faelle[] = {
      {"", ""},
      {"?name=a%20b+c.dat", "a b c.dat"},
      {"?x=1&name=n%C3%A4chste.dat&y",
       "n\xC3\xA4"
       "chste.dat"},
      {"?name=", ""},
  };
  for (const auto& fall : faelle) {
    SCOPED_TRACE(fall.abfrage);
    const Antwort antwort = eine(anfrage("POST", "/pruefen" + fall.abfrage, "x"));
    EXPECT_EQ(nlohmann::json::parse(antwort.body())["nachricht"], fall.name);
  }
  const Antwort latin1 = eine(anfrage("POST", "/pruefen?name=%E4.dat", "x"));
  const auto json = nlohmann::json::parse(latin1.body());
  EXPECT_EQ(json["nachricht_base64"], "5C5kYXQ=");
}

TEST_F(Bearbeitung, RequestIdIsTheClientsWhenItIsPrintableAndShort) {
  const struct {
    std::string kopf;
    bool uebernommen;
  } faelle[] = {
      {"X-Request-Id: abc-123\r\n", true},
      {"X-Request-Id: " + std::string(128, 'a') + "\r\n", true},
      {"X-Request-Id: " + std::string(129, 'a') + "\r\n", false},
      {"X-Request-Id: a b\r\n", false},
      {"X-Request-Id: \xC3\xA4\r\n", false},
      {"", false},
  };
  for (const auto& fall : faelle) {
    SCOPED_TRACE(fall.kopf);
    const Antwort antwort = eine(anfrage("GET", "/gesund", "", fall.kopf));
    const std::string id(antwort["X-Request-Id"]);
    EXPECT_FALSE(id.empty());
    EXPECT_EQ(fall.kopf.find(" " + id + "\r\n") != std::string::npos, fall.uebernommen);
  }
  EXPECT_NE(eine(anfrage("GET", "/gesund"))["X-Request-Id"],
            eine(anfrage("GET", "/gesund"))["X-Request-Id"]);
}

TEST_F(Bearbeitung, PipelinedRequestsAreAnsweredInOrderUntilOneCloses) {
  const auto antworten =
      roh(anfrage("GET", "/gesund") + anfrage("GET", "/nichts") +
          anfrage("GET", "/version", "", "Connection: close\r\n") + anfrage("GET", "/gesund"));
  ASSERT_EQ(antworten.size(), 3U);
  EXPECT_EQ(antworten[0].result_int(), 200U);
  EXPECT_EQ(antworten[1].result_int(), 404U);
  EXPECT_EQ(antworten[2].result_int(), 200U);
  EXPECT_FALSE(antworten[2].keep_alive());
}

TEST_F(Bearbeitung, RequestCutShortGetsNoAnswerAndHttp10Closes) {
  EXPECT_TRUE(roh("POST /pruefen HTTP/1.1\r\nContent-Length: 10\r\n\r\nabc").empty());
  EXPECT_TRUE(roh("GET /gesund HTTP/1.1\r\nHost").empty());
  const auto alt = roh("GET /gesund HTTP/1.0\r\n\r\nGET /gesund HTTP/1.0\r\n\r\n");
  ASSERT_EQ(alt.size(), 1U);
  EXPECT_EQ(alt[0].version(), 10U);
  EXPECT_FALSE(alt[0].keep_alive());
}

TEST(Metriken, CountVerdictsBytesAndACumulativeHistogram) {
  vesk::dienst::Metriken metriken;
  for (const double ms : {0.3, 0.7, 20000.0}) {
    vesk::dienst::Anfragebericht bericht;
    bericht.status = 200;
    bericht.bytes = 100;
    bericht.millisekunden = ms;
    bericht.ergebnis = vesk::NachrichtenErgebnis::Art::fehler;
    metriken.zaehle(bericht);
  }
  vesk::dienst::Anfragebericht abgewiesen;
  abgewiesen.status = 413;
  abgewiesen.abweisung = vesk::dienst::Abweisung::nachrichtZuGross;
  metriken.zaehle(abgewiesen);
  const std::string text = metriken.alsText();
  for (const char* zeile : {
           "vesk_nachrichten_total{ergebnis=\"fehler\"} 3\n",
           "vesk_nachrichten_total{ergebnis=\"ok\"} 0\n",
           "vesk_geprueft_bytes_total 300\n",
           "vesk_anfragen_total{status=\"200\"} 3\n",
           "vesk_anfragen_total{status=\"413\"} 1\n",
           "vesk_anfrage_dauer_sekunden_bucket{le=\"0.0005\"} 2\n",
           "vesk_anfrage_dauer_sekunden_bucket{le=\"0.001\"} 3\n",
           "vesk_anfrage_dauer_sekunden_bucket{le=\"10\"} 3\n",
           "vesk_anfrage_dauer_sekunden_bucket{le=\"+Inf\"} 4\n",
           "vesk_anfrage_dauer_sekunden_count 4\n",
           "vesk_abgewiesen_total{grund=\"nachricht_zu_gross\"} 1\n",
       }) {
    EXPECT_NE(text.find(zeile), std::string::npos) << zeile;
  }
}

}  // namespace
