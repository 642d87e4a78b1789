#include "dienst/Dienst.h"

#include <boost/asio/ip/address.hpp>
#include <boost/asio/post.hpp>
#include <csignal>
#include <ctime>
#include <exception>
#include <nlohmann/json.hpp>
#include <utility>

#ifndef _WIN32
#include <pthread.h>
#endif

#include "dienst/Dienstprotokoll.h"
#include "dienst/KonfigurationsHalter.h"
#include "dienst/Metriken.h"

namespace vesk::dienst {

namespace {

namespace asio = boost::asio;
using boost::system::error_code;
using tcp = asio::ip::tcp;

constexpr std::chrono::milliseconds ANNAHME_PAUSE{50};  // after a failed accept (no descriptor)

}  // namespace

Dienst::Dienst(const Grenzen& limits, KonfigurationsHalter& halter, Metriken& zaehler,
               Dienstprotokoll& log)
    : grenzen(limits),
      konfigurationen(halter),
      metriken(zaehler),
      protokoll(log),
      bearbeitung(halter, zaehler, grenzen),
      umgebung{io,      grenzen, bearbeitung, arbeiter,
               zaehler, log,     stoppt,      [this](bool auf) { melde(auf); }},
      arbeiter(limits.threads, limits.warteschlange) {
  metriken.setzeKonfigurationsstand(konfigurationen.aktuell()->stand);
}

Dienst::~Dienst() {
  signaleEnden = true;
  if (signalFaden.joinable()) {
    signalFaden.join();
  }
  if (ladeFaden.joinable()) {
    ladeFaden.join();
  }
  aufgeloest = true;
}

unsigned short Dienst::binde(const std::string& adresse, unsigned short port) {
  const tcp::endpoint ort(asio::ip::make_address(adresse), port);
  annahme.open(ort.protocol());
  annahme.set_option(tcp::acceptor::reuse_address(true));
  annahme.bind(ort);
  annahme.listen(asio::socket_base::max_listen_connections);
  return annahme.local_endpoint().port();
}

#ifdef _WIN32
void Dienst::fangeSignale() {
  signale.emplace(io, SIGINT, SIGTERM);
  warteAufSignal();
}

void Dienst::warteAufSignal() {
  signale->async_wait([this](const error_code& fehler, int signal) {
    if (!fehler) {
      nimmSignal(signal);
    }
  });
}
#else
void Dienst::fangeSignale() {
  // The signals are blocked in this thread and every thread it starts from now on, and taken
  // by one thread that waits for them: none can arrive while a thread is somewhere a handler
  // could not act, and none is handled by its default action.
  sigset_t menge;
  sigemptyset(&menge);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    sigaddset(&menge, signal);
  }
  pthread_sigmask(SIG_BLOCK, &menge, nullptr);
  signalFaden = std::thread([this, menge] {
    constexpr timespec PAUSE{0, 200'000'000};  // how soon the thread sees the service end
    while (!signaleEnden.load()) {
      const int signal = sigtimedwait(&menge, nullptr, &PAUSE);
      if (signal > 0) {
        asio::post(io, [this, signal] { nimmSignal(signal); });
      }
    }
  });
}
#endif

void Dienst::nimmSignal(int signal) {
#ifdef SIGHUP
  if (signal == SIGHUP) {
    ladeNeu();
    return;
  }
#endif
  protokoll.ereignis("stoppt", {{"signal", signal}});
  beginneStop();
}

void Dienst::laufe() {
  nimmAn();
  for (;;) {
    try {
      io.run();
      return;
    } catch (const std::exception& e) {
      // A fault of one connection's step (no memory, say) ends that connection, whose handler
      // held it, never the service.
      protokoll.ereignis("interner Fehler", {{"grund", e.what()}});
    }
  }
}

void Dienst::stoppe() {
  asio::post(io, [this] { beginneStop(); });
}

void Dienst::nimmAn() {
  annahme.async_accept([this](const error_code& fehler, tcp::socket socket) {
    if (stoppt) {
      return;
    }
    if (fehler) {
      // Out of descriptors, say: the connections waiting in the backlog get their turn later.
      annahmePause.expires_after(ANNAHME_PAUSE);
      annahmePause.async_wait([this](const error_code& abgebrochen) {
        if (!abgebrochen) {
          nimmAn();
        }
      });
      return;
    }
    error_code egal;
    socket.set_option(tcp::no_delay(true), egal);
    auto verbindung = std::make_shared<Verbindung>(std::move(socket), umgebung);
    if (verbindungen.size() > 2 * offen + 64) {
      std::erase_if(verbindungen, [](const std::weak_ptr<Verbindung>& v) { return v.expired(); });
    }
    verbindungen.push_back(verbindung);
    if (offen > grenzen.maxVerbindungen) {
      verbindung->weiseAb();
    } else {
      verbindung->beginne();
    }
    nimmAn();
  });
}

void Dienst::beginneStop() {
  if (stoppt) {
    return;
  }
  stoppt = true;
  error_code egal;
  annahme.close(egal);
  annahmePause.cancel();
  if (signale) {
    signale->cancel(egal);  // still caught, and dropped, until the service ends
  }
  for (const std::weak_ptr<Verbindung>& schwach : verbindungen) {
    if (const auto verbindung = schwach.lock()) {
      verbindung->beendeWennUntaetig();
    }
  }
  verbindungen.clear();
  stopUhr.expires_after(grenzen.stopfrist);
  stopUhr.async_wait([this](const error_code& abgebrochen) {
    if (!abgebrochen) {
      protokoll.ereignis("stopfrist abgelaufen", {{"verbindungen", offen}});
      io.stop();
    }
  });
  if (offen == 0) {
    stopUhr.cancel();
  }
}

void Dienst::melde(bool auf) {
  if (auf) {
    ++offen;
    return;
  }
  --offen;
  if (stoppt && offen == 0 && !aufgeloest) {
    stopUhr.cancel();
  }
}

void Dienst::ladeNeu() {
  if (laedt.exchange(true)) {
    protokoll.ereignis("neu laden laeuft schon");
    return;
  }
  if (ladeFaden.joinable()) {
    ladeFaden.join();
  }
  const OhneSignale gesperrt;
  ladeFaden = std::thread([this] {
    if (const auto grund = konfigurationen.ladeNeu()) {
      protokoll.ereignis("neu laden fehlgeschlagen", {{"grund", *grund}});
    } else {
      const std::uint64_t stand = konfigurationen.aktuell()->stand;
      metriken.setzeKonfigurationsstand(stand);
      protokoll.ereignis("neu geladen", {{"stand", stand}});
    }
    laedt = false;
  });
}

}  // namespace vesk::dienst
