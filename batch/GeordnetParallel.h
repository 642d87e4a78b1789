#pragma once
#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vesk {

// Computes `arbeit(i)` for every i in [0, anzahl) on `faeden` threads and hands each result to
// `ausgabe(i, result)` on the calling thread, in the order of i, as soon as it and all results
// before it are there; so the output is the same for any number of threads. The threads take the
// tasks in runs and the calling thread takes every result that is ready at once, so that a task of
// a few microseconds (a small message) is not outweighed by the handing over. At most a window of
// results waits for its turn, which bounds the memory when the output is slower than the work.
// With one thread (or one task) nothing is started. The first exception of `arbeit` ends the run
// and is rethrown here once the threads have stopped.
template <class T, class Arbeit, class Ausgabe>
void fuehreGeordnetAus(std::size_t anzahl, unsigned faeden, Arbeit&& arbeit, Ausgabe&& ausgabe) {
  if (faeden <= 1 || anzahl <= 1) {
    for (std::size_t i = 0; i < anzahl; ++i) {
      T ergebnis = arbeit(i);
      ausgabe(i, ergebnis);
    }
    return;
  }
  const std::size_t lauf = std::clamp<std::size_t>(anzahl / (std::size_t{16} * faeden), 1, 64);
  const std::size_t fenster = std::size_t{8} * lauf * faeden;
  std::vector<std::optional<T>> ergebnisse(anzahl);
  std::mutex sperre;
  std::condition_variable fertig;  // the result the output waits for arrived, or the run failed
  std::condition_variable weiter;  // the output moved on, or the run failed
  std::size_t naechste = 0;        // the first task no thread has taken yet
  std::size_t ausgegeben = 0;      // results handed to `ausgabe` so far
  std::exception_ptr fehler;

  const auto arbeite = [&] {
    std::vector<std::optional<T>> fertige;
    for (;;) {
      std::size_t anfang = 0;
      std::size_t ende = 0;
      {
        std::unique_lock lock(sperre);
        weiter.wait(
            lock, [&] { return fehler || naechste >= anzahl || naechste < ausgegeben + fenster; });
        if (fehler || naechste >= anzahl) {
          return;
        }
        anfang = naechste;
        ende = std::min(anzahl, anfang + lauf);
        naechste = ende;
      }
      fertige.clear();
      try {
        for (std::size_t i = anfang; i < ende; ++i) {
          fertige.emplace_back(arbeit(i));
        }
      } catch (...) {
        const std::lock_guard lock(sperre);
        fehler = fehler ? fehler : std::current_exception();
        weiter.notify_all();
        fertig.notify_one();
        return;
      }
      bool erwartet = false;
      {
        const std::lock_guard lock(sperre);
        for (std::size_t i = anfang; i < ende; ++i) {
          ergebnisse[i] = std::move(fertige[i - anfang]);
        }
        erwartet = anfang <= ausgegeben && ausgegeben < ende;
      }
      if (erwartet) {
        fertig.notify_one();
      }
    }
  };

  {
    // Stops the threads however this function is left (`ausgabe` may throw): no new task starts,
    // and the threads are joined before the state they share goes away.
    struct Ende {
      std::mutex& sperre;
      std::condition_variable& weiter;
      std::size_t& naechste;
      std::size_t anzahl;
      std::vector<std::jthread> threads;
      ~Ende() {
        {
          const std::lock_guard lock(sperre);
          naechste = anzahl;
        }
        weiter.notify_all();
        threads.clear();
      }
    } ende{sperre, weiter, naechste, anzahl, {}};
    const std::size_t anzahlFaeden = std::min<std::size_t>(faeden, anzahl);
    ende.threads.reserve(anzahlFaeden);
    for (std::size_t f = 0; f < anzahlFaeden; ++f) {
      ende.threads.emplace_back(arbeite);
    }
    std::vector<T> bereit;
    while (ausgegeben < anzahl) {
      bereit.clear();
      std::size_t erster = 0;
      {
        std::unique_lock lock(sperre);
        fertig.wait(lock, [&] { return fehler || ergebnisse[ausgegeben].has_value(); });
        if (fehler) {
          break;
        }
        erster = ausgegeben;
        while (ausgegeben < anzahl && ergebnisse[ausgegeben].has_value()) {
          bereit.push_back(std::move(*ergebnisse[ausgegeben]));
          ergebnisse[ausgegeben].reset();
          ++ausgegeben;
        }
      }
      weiter.notify_all();
      for (std::size_t k = 0; k < bereit.size(); ++k) {
        ausgabe(erster + k, bereit[k]);
      }
    }
  }
  if (fehler) {
    std::rethrow_exception(fehler);
  }
}

}  // namespace vesk
