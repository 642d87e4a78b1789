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
// before it are there; so the output is the same for any number of threads. At most a window of
// results waits for its turn, which bounds the memory when the output is slower than the work.
// With one thread (or one task) nothing is started. The first exception of `arbeit` ends the
// run and is rethrown here once the threads have stopped.
template <class T, class Arbeit, class Ausgabe>
void fuehreGeordnetAus(std::size_t anzahl, unsigned faeden, Arbeit&& arbeit, Ausgabe&& ausgabe) {
  if (faeden <= 1 || anzahl <= 1) {
    for (std::size_t i = 0; i < anzahl; ++i) {
      T ergebnis = arbeit(i);
      ausgabe(i, ergebnis);
    }
    return;
  }
  const std::size_t fenster = std::size_t{64} * faeden;
  std::vector<std::optional<T>> ergebnisse(anzahl);
  std::mutex sperre;
  std::condition_variable fertig;  // a result arrived, or the run failed
  std::condition_variable weiter;  // the output moved on, or the run failed
  std::size_t naechste = 0;        // the next index to hand to a thread
  std::size_t ausgegeben = 0;      // results handed to `ausgabe` so far
  std::exception_ptr fehler;

  const auto arbeite = [&] {
    for (;;) {
      std::size_t i = 0;
      {
        std::unique_lock lock(sperre);
        weiter.wait(
            lock, [&] { return fehler || naechste >= anzahl || naechste < ausgegeben + fenster; });
        if (fehler || naechste >= anzahl) {
          return;
        }
        i = naechste++;
      }
      try {
        T ergebnis = arbeit(i);
        const std::lock_guard lock(sperre);
        ergebnisse[i].emplace(std::move(ergebnis));
      } catch (...) {
        const std::lock_guard lock(sperre);
        fehler = fehler ? fehler : std::current_exception();
        weiter.notify_all();
      }
      fertig.notify_one();
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
    for (std::size_t i = 0; i < anzahl; ++i) {
      std::optional<T> ergebnis;
      {
        std::unique_lock lock(sperre);
        fertig.wait(lock, [&] { return fehler || ergebnisse[i].has_value(); });
        if (fehler) {
          break;
        }
        ergebnis.swap(ergebnisse[i]);
        ausgegeben = i + 1;
      }
      weiter.notify_all();
      ausgabe(i, *ergebnis);
    }
  }
  if (fehler) {
    std::rethrow_exception(fehler);
  }
}

}  // namespace vesk
