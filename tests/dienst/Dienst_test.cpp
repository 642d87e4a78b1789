#include <chrono>
#include <future>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "dienst/Arbeiterpool.h"
#include "tests/support/Dienstumgebung.h"
#include "tests/support/TestDateien.h"

namespace {

namespace http = boost::beast::http;
using namespace std::chrono_literals;
using vesk::dienst::Grenzen;
using vesk::test::anfrage;
using vesk::test::Dienstumgebung;
using vesk::test::LaufenderDienst;
using vesk::test::TestClient;

Grenzen testGrenzen() {
  Grenzen grenzen;
  grenzen.maxBytes = 64 * 1024;
  grenzen.maxKopf = 2048;
  grenzen.lesefrist = 400ms;
  grenzen.leerlauf = 300ms;
  grenzen.stopfrist = 3s;
  grenzen.maxVerbindungen = 4;
  grenzen.warteschlange = 0;
  grenzen.threads = 1;
  grenzen.sofortBis = 0;  // every check goes to the workers
  return grenzen;
}

// Takes the only worker of a pool with a task that waits until it is freed, at the latest when
// the object ends.
class BlockierterArbeiter {
 public:
  explicit BlockierterArbeiter(vesk::dienst::Arbeiterpool& pool) {
    vesk::dienst::Arbeiterpool::Aufgabe warten = [warte = frei.get_future().share()] {
      warte.wait();
      return vesk::dienst::Arbeiterpool::Fortsetzung();
    };
    EXPECT_TRUE(pool.versuche(warten));
  }
  ~BlockierterArbeiter() { gibFrei(); }
  void gibFrei() {
    if (!freigegeben) {
      frei.set_value();
      freigegeben = true;
    }
  }

 private:
  std::promise<void> frei;
  bool freigegeben = false;
};

class Server : public ::testing::Test {
 protected:
  Dienstumgebung umgebung{testGrenzen()};
  LaufenderDienst server{umgebung};
  std::string ok = vesk::test::leseDatei("nachrichten/schadenmeldung_ok.dat");

  std::string ergebnis(const vesk::dienst::Antwort& antwort) {
    return nlohmann::json::parse(antwort.body())["ergebnis"];
  }
};

TEST_F(Server, KeepsAConnectionForManyRequestsAndLogsEach) {
  TestClient client(server.port());
  for (int i = 0; i < 5; ++i) {
    client.sende(anfrage("POST", "/pruefen?name=ok.dat", ok,
                         "X-Request-Id: r" + std::to_string(i) + "\r\n"));
    const auto antwort = client.lies();
    ASSERT_TRUE(antwort);
    EXPECT_EQ(antwort->result_int(), 200U);
    EXPECT_EQ(ergebnis(*antwort), "ok");
    EXPECT_EQ((*antwort)["X-Request-Id"], "r" + std::to_string(i));
  }
  server.stoppeUndWarte();
  const std::string log = umgebung.log.str();
  EXPECT_NE(log.find("\"id\":\"r4\",\"methode\":\"POST\",\"pfad\":\"/pruefen\",\"status\":200,"
                     "\"bytes\":" +
                     std::to_string(ok.size())),
            std::string::npos)
      << log;
  EXPECT_EQ(log.find("ok.dat"), std::string::npos);  // no query in the log
  EXPECT_NE(umgebung.metriken.alsText().find("vesk_nachrichten_total{ergebnis=\"ok\"} 5"),
            std::string::npos);
}

TEST_F(Server, RefusesABodyOverTheLimitBeforeReadingIt) {
  TestClient client(server.port());
  client.sende("POST /pruefen HTTP/1.1\r\nHost: x\r\nContent-Length: 65537\r\n\r\n");
  const auto antwort = client.lies(2s);  // nothing of the body was sent
  ASSERT_TRUE(antwort);
  EXPECT_EQ(antwort->result_int(), 413U);
  EXPECT_FALSE(antwort->keep_alive());
  EXPECT_TRUE(client.wirdGeschlossen(3s));
}

TEST_F(Server, AcceptsABodyOfExactlyTheLimit) {
  TestClient client(server.port());
  client.sende(anfrage("POST", "/pruefen", std::string(64 * 1024, '0')));
  const auto antwort = client.lies();
  ASSERT_TRUE(antwort);
  EXPECT_EQ(antwort->result_int(), 200U);
}

TEST_F(Server, RefusesAChunkedBodyThatGrowsOverTheLimit) {
  TestClient client(server.port());
  client.sende("POST /pruefen HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n");
  const std::string stueck = "8000\r\n" + std::string(0x8000, 'x') + "\r\n";
  client.sende(stueck);
  client.sende(stueck);
  client.sende("1\r\nx\r\n");
  const auto antwort = client.lies(3s);
  ASSERT_TRUE(antwort);
  EXPECT_EQ(antwort->result_int(), 413U);
  EXPECT_TRUE(client.wirdGeschlossen(3s));
}

TEST_F(Server, AnswersHeaderOverLimitAndGarbageAndCloses) {
  const struct {
    std::string bytes;
    unsigned status;
  } faelle[] = {
      {anfrage("GET", "/gesund", "", "X-Gross: " + std::string(3000, 'a') + "\r\n"), 431},
      {std::string("\x00\x01\x02\xff garbage\r\n\r\n", 16), 400},
      {"GET /gesund HTTP/1.1\r\nContent-Length: -1\r\n\r\n", 400},
  };
  for (const auto& fall : faelle) {
    SCOPED_TRACE(fall.status);
    TestClient client(server.port());
    client.sende(fall.bytes);
    const auto antwort = client.lies(3s);
    ASSERT_TRUE(antwort);
    EXPECT_EQ(antwort->result_int(), fall.status);
    EXPECT_EQ((*antwort)[http::field::content_type], "application/problem+json");
    EXPECT_TRUE(client.wirdGeschlossen(3s));
  }
}

TEST_F(Server, CutsOffAClientThatSendsTooSlowlyAtTheDeadline) {
  TestClient client(server.port());
  const std::string bytes = anfrage("POST", "/pruefen", ok);
  const auto beginn = std::chrono::steady_clock::now();
  std::optional<vesk::dienst::Antwort> antwort;
  for (std::size_t i = 0; i < bytes.size() && !antwort; ++i) {
    client.sende(bytes.substr(i, 1));
    antwort = client.lies(100ms);  // one byte every 100 ms
  }
  const auto dauer = std::chrono::steady_clock::now() - beginn;
  ASSERT_TRUE(antwort);
  EXPECT_EQ(antwort->result_int(), 408U);
  EXPECT_GE(dauer, 400ms);
  EXPECT_LT(dauer, 3s);
  EXPECT_TRUE(client.wirdGeschlossen(3s));
  EXPECT_NE(
      umgebung.metriken.alsText().find("vesk_abgewiesen_total{grund=\"zeitueberschreitung\"} 1"),
      std::string::npos);
}

TEST_F(Server, ClosesAnIdleConnectionAfterItsDeadlineSilently) {
  TestClient still(server.port());  // never sends anything
  TestClient fertig(server.port());
  fertig.sende(anfrage("GET", "/gesund"));
  ASSERT_TRUE(fertig.lies());
  const auto beginn = std::chrono::steady_clock::now();
  EXPECT_TRUE(still.wirdGeschlossen(3s));
  EXPECT_TRUE(fertig.wirdGeschlossen(3s));
  EXPECT_LT(std::chrono::steady_clock::now() - beginn, 2s);
}

TEST_F(Server, RefusesAConnectionOverTheLimitWhileTheOthersWork) {
  std::vector<std::unique_ptr<TestClient>> offen;
  for (int i = 0; i < 4; ++i) {
    offen.push_back(std::make_unique<TestClient>(server.port()));
    offen.back()->sende("G");  // starts a request, so the first deadline is the read deadline
  }
  TestClient zuViel(server.port());
  const auto abgewiesen = zuViel.lies(2s);
  ASSERT_TRUE(abgewiesen);
  EXPECT_EQ(abgewiesen->result_int(), 503U);
  EXPECT_EQ((*abgewiesen)[http::field::retry_after], "1");
  EXPECT_TRUE(zuViel.wirdGeschlossen(3s));
  for (auto& client : offen) {
    client->sende("ET /gesund HTTP/1.1\r\nHost: x\r\n\r\n");
    const auto antwort = client->lies(2s);
    ASSERT_TRUE(antwort);
    EXPECT_EQ(antwort->result_int(), 200U);
  }
}

TEST_F(Server, AnswersBusyWhenEveryWorkerAndTheQueueAreTaken) {
  BlockierterArbeiter blockiert(server.dienst().arbeiterpoolFuerTests());
  TestClient client(server.port());
  client.sende(anfrage("POST", "/pruefen", ok));
  const auto besetzt = client.lies(2s);
  ASSERT_TRUE(besetzt);
  EXPECT_EQ(besetzt->result_int(), 503U);
  EXPECT_EQ((*besetzt)[http::field::retry_after], "1");
  EXPECT_TRUE(besetzt->keep_alive());
  blockiert.gibFrei();
  // The worker is free a moment after the blocking task returned; a request's own answer
  // comes only once its worker is free, so the requests after it are taken at once.
  std::optional<vesk::dienst::Antwort> antwort;
  for (int versuch = 0; versuch < 200 && (!antwort || antwort->result_int() == 503); ++versuch) {
    std::this_thread::sleep_for(5ms);
    client.sende(anfrage("POST", "/pruefen", ok));
    antwort = client.lies(2s);
  }
  ASSERT_TRUE(antwort);
  EXPECT_EQ(antwort->result_int(), 200U);
  for (int i = 0; i < 20; ++i) {
    client.sende(anfrage("POST", "/pruefen", ok));
    const auto naechste = client.lies(2s);
    ASSERT_TRUE(naechste);
    EXPECT_EQ(naechste->result_int(), 200U);
  }
}

TEST(ServerSofort, AnswersASmallMessageAtOnceWhileTheWorkersAreBusy) {
  Grenzen grenzen = testGrenzen();
  grenzen.sofortBis = 4096;
  Dienstumgebung umgebung{grenzen};
  LaufenderDienst server{umgebung};
  const std::string ok = vesk::test::leseDatei("nachrichten/schadenmeldung_ok.dat");
  BlockierterArbeiter blockiert(server.dienst().arbeiterpoolFuerTests());
  TestClient client(server.port());
  client.sende(anfrage("POST", "/pruefen", ok));
  const auto klein = client.lies(2s);
  ASSERT_TRUE(klein);
  EXPECT_EQ(klein->result_int(), 200U);
  client.sende(anfrage("POST", "/pruefen", ok + std::string(4096, ' ')));
  const auto gross = client.lies(2s);
  ASSERT_TRUE(gross);
  EXPECT_EQ(gross->result_int(), 503U);
}

TEST_F(Server, AnswersHeadWithoutABodyAndKeepsTheConnectionInStep) {
  TestClient client(server.port());
  client.sende(anfrage("HEAD", "/gesund") + anfrage("HEAD", "/nichts") + anfrage("GET", "/gesund"));
  for (const unsigned status : {200U, 404U}) {
    const auto kopf = client.lies(2s, true);
    ASSERT_TRUE(kopf);
    EXPECT_EQ(kopf->result_int(), status);
    EXPECT_NE((*kopf)[http::field::content_length], "0");
  }
  const auto antwort = client.lies(2s);
  ASSERT_TRUE(antwort);
  EXPECT_EQ(antwort->body(), "{\"status\":\"gesund\"}\n");
}

TEST_F(Server, SendsNoContinueToAnHttp10Client) {
  TestClient client(server.port());
  client.sende("POST /pruefen HTTP/1.0\r\nExpect: 100-continue\r\nContent-Length: " +
               std::to_string(ok.size()) + "\r\n\r\n");
  EXPECT_FALSE(client.lies(300ms));
  client.sende(ok);
  const auto antwort = client.lies(2s);
  ASSERT_TRUE(antwort);
  EXPECT_EQ(antwort->result_int(), 200U);
  EXPECT_EQ(antwort->version(), 10U);
}

TEST_F(Server, SendsContinueBeforeTheBodyWhenAsked) {
  TestClient client(server.port());
  client.sende("POST /pruefen HTTP/1.1\r\nHost: x\r\nExpect: 100-continue\r\nContent-Length: " +
               std::to_string(ok.size()) + "\r\n\r\n");
  const auto weiter = client.lies(2s);
  ASSERT_TRUE(weiter);
  EXPECT_EQ(weiter->result_int(), 100U);
  client.sende(ok);
  const auto antwort = client.lies(2s);
  ASSERT_TRUE(antwort);
  EXPECT_EQ(antwort->result_int(), 200U);
}

TEST_F(Server, StopFinishesTheRequestInFlightAndClosesIdleConnections) {
  TestClient idle(server.port());
  idle.sende(anfrage("GET", "/gesund"));
  ASSERT_TRUE(idle.lies());
  TestClient mitten(server.port());
  const std::string bytes = anfrage("POST", "/pruefen", ok);
  mitten.sende(bytes.substr(0, 100));
  std::this_thread::sleep_for(50ms);
  server.dienst().stoppe();
  EXPECT_TRUE(idle.wirdGeschlossen(2s));
  mitten.sende(bytes.substr(100));
  const auto antwort = mitten.lies(2s);
  ASSERT_TRUE(antwort);
  EXPECT_EQ(antwort->result_int(), 200U);
  EXPECT_FALSE(antwort->keep_alive());
  server.stoppeUndWarte();
  EXPECT_THROW(TestClient spaet(server.port()), boost::system::system_error);
}

TEST(ServerGross, ReadsALargeBodyInPiecesAndTheRequestBehindIt) {
  Grenzen grenzen = testGrenzen();
  grenzen.maxBytes = 4 << 20;
  Dienstumgebung umgebung{grenzen};
  LaufenderDienst server{umgebung};
  const std::string ok = vesk::test::leseDatei("nachrichten/schadenmeldung_ok.dat");
  std::string gross;
  while (gross.size() < (1U << 20)) {
    gross += std::string(256, static_cast<char>('a' + gross.size() / 256 % 26));
  }
  const std::string bytes = anfrage("POST", "/zeigen", gross) + anfrage("POST", "/pruefen", ok);
  TestClient client(server.port());
  for (std::size_t teil = 0; teil < bytes.size(); teil += 100'000) {
    client.sende(bytes.substr(teil, 100'000));
  }
  const auto erste = client.lies(5s);
  ASSERT_TRUE(erste);
  EXPECT_EQ(erste->result_int(), 200U);
  // Every byte arrived, in order: the answer is that of the same request without a socket.
  const vesk::dienst::Anfragebearbeitung ohneSocket{*umgebung.konfigurationen, umgebung.metriken,
                                                    grenzen};
  EXPECT_EQ(erste->body(), ohneSocket.beantworteRoh(anfrage("POST", "/zeigen", gross))[0].body());
  const auto zweite = client.lies(5s);
  ASSERT_TRUE(zweite);
  EXPECT_EQ(zweite->result_int(), 200U);
  EXPECT_EQ(nlohmann::json::parse(zweite->body())["ergebnis"], "ok");
}

TEST(ServerGross, BodiesPastTheAdvanceForAllGrowAsTheyArriveAndAreAnsweredAlike) {
  Grenzen grenzen = testGrenzen();
  grenzen.maxBytes = 256 * 1024;  // four such bodies are given their length in advance
  grenzen.maxVerbindungen = 16;
  grenzen.warteschlange = 8;  // all six may be checked at the same moment
  Dienstumgebung umgebung{grenzen};
  LaufenderDienst server{umgebung};
  const vesk::dienst::Anfragebearbeitung ohneSocket{*umgebung.konfigurationen, umgebung.metriken,
                                                    grenzen};
  std::vector<std::unique_ptr<TestClient>> clients;
  std::vector<std::string> ruempfe;
  for (int i = 0; i < 6; ++i) {
    ruempfe.push_back(
        std::string(200'000 + static_cast<std::size_t>(i), static_cast<char>('a' + i)));
    clients.push_back(std::make_unique<TestClient>(server.port()));
    const std::string bytes = anfrage("POST", "/zeigen", ruempfe.back());
    clients.back()->sende(bytes.substr(0, bytes.size() - ruempfe.back().size()));
  }
  std::this_thread::sleep_for(100ms);  // every header read before any body comes
  for (int i = 0; i < 6; ++i) {
    clients[static_cast<std::size_t>(i)]->sende(ruempfe[static_cast<std::size_t>(i)]);
  }
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const auto antwort = clients[static_cast<std::size_t>(i)]->lies(5s);
    ASSERT_TRUE(antwort);
    EXPECT_EQ(antwort->result_int(), 200U);
    EXPECT_EQ(antwort->body(), ohneSocket
                                   .beantworteRoh(anfrage("POST", "/zeigen",
                                                          ruempfe[static_cast<std::size_t>(i)]))[0]
                                   .body());
  }
}

TEST(ServerGross, CutsOffALargeBodyThatStopsComing) {
  Grenzen grenzen = testGrenzen();
  grenzen.maxBytes = 4 << 20;
  Dienstumgebung umgebung{grenzen};
  LaufenderDienst server{umgebung};
  TestClient client(server.port());
  client.sende("POST /pruefen HTTP/1.1\r\nContent-Length: 1000000\r\n\r\n" +
               std::string(200'000, 'x'));
  const auto antwort = client.lies(3s);
  ASSERT_TRUE(antwort);
  EXPECT_EQ(antwort->result_int(), 408U);
  EXPECT_TRUE(client.wirdGeschlossen(3s));
}

TEST(ServerStop, EndsAtTheStopDeadlineWithARequestStillComingIn) {
  Grenzen grenzen = testGrenzen();
  grenzen.lesefrist = 10s;
  grenzen.stopfrist = 200ms;
  Dienstumgebung umgebung{grenzen};
  auto server = std::make_unique<LaufenderDienst>(umgebung);
  TestClient langsam(server->port());
  langsam.sende("POST /pruefen HTTP/1.1\r\nContent-Length: 100\r\n\r\nabc");
  std::this_thread::sleep_for(50ms);
  const auto beginn = std::chrono::steady_clock::now();
  server->stoppeUndWarte();
  EXPECT_LT(std::chrono::steady_clock::now() - beginn, 2s);
  server.reset();  // the connection still open ends with the server, which must not outlive it
  EXPECT_NE(umgebung.log.str().find("\"ereignis\":\"stopfrist abgelaufen\""), std::string::npos);
  EXPECT_EQ(umgebung.metriken.offeneVerbindungen(), 0);
}

TEST(Arbeiterpool, RunsEveryTaskItTookAndRefusesBeyondThreadsAndQueue) {
  std::atomic<int> erledigt{0};
  std::promise<void> frei;
  std::shared_future<void> warte = frei.get_future().share();
  int angenommen = 0;
  vesk::dienst::Arbeiterpool pool(2, 3);
  for (int i = 0; i < 8; ++i) {
    vesk::dienst::Arbeiterpool::Aufgabe aufgabe = [&erledigt, warte] {
      warte.wait();
      ++erledigt;
      return vesk::dienst::Arbeiterpool::Fortsetzung();
    };
    angenommen += pool.versuche(aufgabe) ? 1 : 0;
  }
  EXPECT_EQ(angenommen, 5);
  frei.set_value();
  for (int i = 0; i < 400 && erledigt.load() < 5; ++i) {
    std::this_thread::sleep_for(5ms);
  }
  EXPECT_EQ(erledigt.load(), 5);
}

TEST(Arbeiterpool, EndsWithoutTheTasksStillWaiting) {
  std::atomic<int> begonnen{0};
  std::atomic<int> verworfen{0};
  std::promise<void> frei;
  std::shared_future<void> warte = frei.get_future().share();
  std::thread spaeter;  // frees the running task while the pool ends
  {
    vesk::dienst::Arbeiterpool pool(1, 3);
    for (int i = 0; i < 4; ++i) {
      // What a dropped task held is released: the counter goes up when its capture ends.
      auto zaehltEnde = std::shared_ptr<void>(nullptr, [&verworfen](void*) { ++verworfen; });
      vesk::dienst::Arbeiterpool::Aufgabe aufgabe = [&begonnen, warte, zaehltEnde] {
        ++begonnen;
        warte.wait();
        return vesk::dienst::Arbeiterpool::Fortsetzung();
      };
      ASSERT_TRUE(pool.versuche(aufgabe));
    }
    while (begonnen.load() == 0) {
      std::this_thread::sleep_for(1ms);
    }
    spaeter = std::thread([&frei] {
      std::this_thread::sleep_for(50ms);
      frei.set_value();
    });
  }
  spaeter.join();
  EXPECT_EQ(begonnen.load(), 1);
  EXPECT_EQ(verworfen.load(), 4);
}

}  // namespace
