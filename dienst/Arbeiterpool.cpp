#include "dienst/Arbeiterpool.h"

#include <algorithm>
#include <utility>

#ifndef _WIN32
#include <csignal>
#include <pthread.h>
#endif

namespace vesk::dienst {

OhneSignale::OhneSignale() {
#ifndef _WIN32
  sigset_t menge;
  sigemptyset(&menge);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    sigaddset(&menge, signal);
  }
  pthread_sigmask(SIG_BLOCK, &menge, &vorher);
#endif
}

OhneSignale::~OhneSignale() {
#ifndef _WIN32
  pthread_sigmask(SIG_SETMASK, &vorher, nullptr);
#endif
}

Arbeiterpool::Arbeiterpool(unsigned anzahl, std::size_t warteschlange)
    : kapazitaet(std::max(anzahl, 1U) + warteschlange) {
  anzahl = std::max(anzahl, 1U);
  const OhneSignale gesperrt;  // the threads keep the mask they start with
  faeden.reserve(anzahl);
  for (unsigned i = 0; i < anzahl; ++i) {
    faeden.emplace_back([this] { arbeite(); });
  }
}

Arbeiterpool::~Arbeiterpool() {
  std::deque<Aufgabe> verworfen;
  {
    const std::lock_guard<std::mutex> gesperrt(sperre);
    endet = true;
    verworfen.swap(schlange);
  }
  neueAufgabe.notify_all();
  for (std::thread& faden : faeden) {
    faden.join();
  }
}

bool Arbeiterpool::versuche(Aufgabe& aufgabe) {
  {
    const std::lock_guard<std::mutex> gesperrt(sperre);
    if (beschaeftigt >= kapazitaet) {
      return false;
    }
    schlange.push_back(std::move(aufgabe));
    ++beschaeftigt;
  }
  neueAufgabe.notify_one();
  return true;
}

void Arbeiterpool::arbeite() {
  for (;;) {
    Aufgabe aufgabe;
    {
      std::unique_lock<std::mutex> gesperrt(sperre);
      neueAufgabe.wait(gesperrt, [this] { return endet || !schlange.empty(); });
      if (schlange.empty()) {
        return;
      }
      aufgabe = std::move(schlange.front());
      schlange.pop_front();
    }
    Fortsetzung fortsetzung = aufgabe();
    aufgabe = nullptr;  // what it holds goes before it counts as done
    {
      const std::lock_guard<std::mutex> gesperrt(sperre);
      --beschaeftigt;
    }
    if (fortsetzung) {
      fortsetzung();
    }
  }
}

}  // namespace vesk::dienst
